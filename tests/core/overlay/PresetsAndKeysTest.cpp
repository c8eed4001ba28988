#include "core/overlay/ComboEdgeDetector.h"
#include "core/overlay/KeyCodes.h"
#include "core/overlay/ShopLatch.h"
#include "core/overlay/SkillModePreset.h"
#include "core/overlay/VisibilityTriggers.h"

#include <gtest/gtest.h>

using namespace tolvane;

namespace {

using Flags = std::array<bool, 5>;

Flags flags(SkillModePreset preset)
{
    using namespace SkillModePresets;
    return {showPopular(preset), showMatchup(preset), showGold(preset), showCooldowns(preset), showCombos(preset)};
}

TEST(SkillModePresetTest, FlagsFollowTheTable)
{
    EXPECT_EQ(flags(SkillModePreset::beginner), (Flags {false, true, true, false, true}));
    EXPECT_EQ(flags(SkillModePreset::pro), (Flags {true, true, true, true, true}));
    EXPECT_EQ(flags(SkillModePreset::smurf), (Flags {false, false, true, true, false}));
}

// Bits this version does not know are kept (a newer version may have written them) but never
// count as one of the known triggers.
TEST(VisibilityTriggersTest, UnknownBitsAreKeptButMatchNothing)
{
    const VisibilityTriggers unknown(8);
    EXPECT_FALSE(unknown.contains(VisibilityTriggers::tab()));
    EXPECT_FALSE(unknown.contains(VisibilityTriggers::always()));
    EXPECT_FALSE(unknown.isEmpty());

    VisibilityTriggers set {VisibilityTriggers::tab(), VisibilityTriggers::shop()};
    EXPECT_EQ((set | unknown).rawValue, 11);
    EXPECT_EQ((set - VisibilityTriggers::tab()).rawValue, 2);
    EXPECT_FALSE(set.insert(VisibilityTriggers::tab()));
    EXPECT_EQ(set.remove(VisibilityTriggers::shop()), VisibilityTriggers::shop());
    EXPECT_FALSE(set.remove(VisibilityTriggers::shop()).has_value());
}

struct ShowCase {
    qint64 triggers;
    bool tabHeld;
    bool shopLatched;
    bool expected;
};

class ShouldShowTest : public ::testing::TestWithParam<ShowCase> { };

TEST_P(ShouldShowTest, FollowsTheTriggers)
{
    const ShowCase& c = GetParam();
    const VisibilityTriggers triggers(c.triggers);
    EXPECT_EQ(OverlayVisibility::shouldShow(true, true, triggers, c.tabHeld, c.shopLatched), c.expected);
    // Nothing shows while the overlay is switched off or no match runs.
    EXPECT_FALSE(OverlayVisibility::shouldShow(false, true, triggers, c.tabHeld, c.shopLatched));
    EXPECT_FALSE(OverlayVisibility::shouldShow(true, false, triggers, c.tabHeld, c.shopLatched));
}

INSTANTIATE_TEST_SUITE_P(Table, ShouldShowTest,
    ::testing::Values(ShowCase {4, false, false, true}, ShowCase {0, true, true, false},
        ShowCase {3, true, false, true}, ShowCase {3, false, true, true}, ShowCase {3, false, false, false},
        ShowCase {1, false, true, false}, ShowCase {2, true, false, false}, ShowCase {8, true, true, false}));

TEST(ShopLatchTest, PressesToggleAndEscClears)
{
    ShopLatch latch;
    EXPECT_FALSE(latch.isLatched());
    latch.shopKeyEdge();
    EXPECT_TRUE(latch.isLatched());
    latch.shopKeyEdge();
    EXPECT_FALSE(latch.isLatched());
    latch.shopKeyEdge();
    latch.escEdge();
    EXPECT_FALSE(latch.isLatched());
    latch.escEdge();
    EXPECT_FALSE(latch.isLatched());
    latch.shopKeyEdge();
    latch.leftGame();
    EXPECT_FALSE(latch.isLatched());
}

TEST(ComboEdgeDetectorTest, HeldKeyReportsOnce)
{
    ComboEdgeDetector detector(3);
    EXPECT_EQ(detector.firedEdges({false, false, false}), QList<int> {});
    EXPECT_EQ(detector.firedEdges({true, false, false}), QList<int> {0});
    EXPECT_EQ(detector.firedEdges({true, false, false}), QList<int> {});
    EXPECT_EQ(detector.firedEdges({false, false, false}), QList<int> {});
    EXPECT_EQ(detector.firedEdges({true, false, false}), QList<int> {0});
}

TEST(ComboEdgeDetectorTest, ShortAndLongSamples)
{
    ComboEdgeDetector detector(3);
    EXPECT_EQ(detector.firedEdges({true, true, false}), (QList<int> {0, 1}));
    EXPECT_EQ(detector.firedEdges({false, true, false}), QList<int> {});
    // One sample: only key 0 is judged; key 1 keeps its held state and does not fire again.
    EXPECT_EQ(detector.firedEdges({true}), QList<int> {0});
    EXPECT_EQ(detector.firedEdges({true, true, false}), QList<int> {});
    // A fourth sample has no key behind it.
    EXPECT_EQ(detector.firedEdges({false, false, false, true}), QList<int> {});
}

TEST(ComboEdgeDetectorTest, EmptyDetectorNeverFires)
{
    ComboEdgeDetector negative(-4);
    EXPECT_EQ(negative.count(), 0);
    EXPECT_EQ(negative.firedEdges({true}), QList<int> {});
}

TEST(ReadableKeysTest, OnlyModifiersEditingAndFunctionKeys)
{
    for (qint64 code : {48, 53, 55, 63, 122})
        EXPECT_TRUE(isReadableWithoutInputMonitoring(code)) << code;
    for (qint64 code : {35, -1, 127, 65536 + 48})
        EXPECT_FALSE(isReadableWithoutInputMonitoring(code)) << code;
    int readable = 0;
    for (qint64 code = -10; code < 70000; ++code)
        readable += isReadableWithoutInputMonitoring(code) ? 1 : 0;
    EXPECT_EQ(readable, 36);
}

} // namespace
