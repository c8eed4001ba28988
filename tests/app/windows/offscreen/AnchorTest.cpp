// Default anchors and the 8 pt margin, with the figures the placement is meant to produce, on
// real windows (offscreen) so that align's own steps are what is checked.
#include "../TestContent.h"

#include "app/windows/CooldownPanel.h"
#include "app/windows/OverlayWindow.h"
#include "platform/KeyState.h"
#include "platform/OverlayWindowNative.h"

#include <gtest/gtest.h>

namespace tolvane {
namespace {

using Position = OverlayWindow::Position;

enum class Kind { overlay, cooldown };

struct AnchorCase {
    const char* name;
    Kind kind;
    Position position;
    QRectF game;
    QSizeF panel;
    RightStackLayout layout;
    QPointF expected; // the window's origin after align
};

const QRectF hd(0, 0, 1920, 1080);

class AnchorTest : public ::testing::TestWithParam<AnchorCase> {
protected:
    FakeKeyState keys;
    FakeOverlayWindowNative native;
    OverlayScale scale {1.0};
};

TEST_P(AnchorTest, AlignPlacesTheWindowWhereTheAnchorAndMarginSay)
{
    const AnchorCase& c = GetParam();
    auto* content = new test::TestContent(c.panel);
    std::unique_ptr<PanelWindow> window;
    if (c.kind == Kind::overlay) {
        auto overlay = std::make_unique<OverlayWindow>(content, scale, PanelPlatform {keys, native});
        overlay->layout = c.layout;
        window = std::move(overlay);
    } else {
        window = std::make_unique<CooldownPanel>(content, scale, PanelPlatform {keys, native});
    }
    ASSERT_EQ(window->frame().size(), c.panel);

    window->align(c.game, c.position);
    EXPECT_NEAR(window->frame().x(), c.expected.x(), 1e-9);
    EXPECT_NEAR(window->frame().y(), c.expected.y(), 1e-9);
    EXPECT_EQ(window->frame().size(), c.panel);
}

INSTANTIATE_TEST_SUITE_P(Anchors, AnchorTest,
    ::testing::Values(
        // The right-hand stack with the standard layout on 1920 x 1080: left edge 1492, seam
        // 693.6, the upper panel's origin at 705.6 and the lower panel's top edge at 681.6.
        AnchorCase {"rightUpperStandard", Kind::overlay, Position::rightUpper, hd, {230, 200},
            RightStackLayout::standard(), {1492, 705.6}},
        AnchorCase {"rightLowerStandard", Kind::overlay, Position::rightLower, hd, {248, 200},
            RightStackLayout::standard(), {1492, 481.6}},
        AnchorCase {"rightUpperTuned", Kind::overlay, Position::rightUpper, {0, 0, 1000, 800}, {100, 50},
            {0.2, 0.0, 20.0}, {572, 460}},
        AnchorCase {"rightLowerTuned", Kind::overlay, Position::rightLower, {0, 0, 1000, 800}, {100, 50},
            {0.2, 0.0, 20.0}, {572, 370}},
        AnchorCase {"bottomCenter", Kind::overlay, Position::bottomCenter, {100, 50, 1600, 900}, {234, 120},
            RightStackLayout::standard(), {783, 250}},
        // The anchor's 4 pt above the bottom edge is raised to the 8 pt margin.
        AnchorCase {"hudRightRaisedToTheMargin", Kind::overlay, Position::hudRight, hd, {200, 100},
            RightStackLayout::standard(), {1313.6, 8}},
        AnchorCase {"topLeftByItsTopLeftCorner", Kind::overlay, Position::topLeft, hd, {216, 150},
            RightStackLayout::standard(), {16, 914}},
        AnchorCase {"leftCenter", Kind::cooldown, Position::leftCenter, hd, {124, 200}, {}, {16, 440}},
        AnchorCase {"rightCenter", Kind::overlay, Position::rightCenter, {200, 300, 1000, 600}, {200, 100},
            RightStackLayout::standard(), {984, 550}},
        // The cooldown panel's right-hand anchors ignore the stack layout.
        AnchorCase {"cooldownRightUpper", Kind::cooldown, Position::rightUpper, hd, {124, 200}, {}, {1780, 669.6}},
        AnchorCase {"cooldownRightLower", Kind::cooldown, Position::rightLower, hd, {124, 200}, {}, {1780, 145.6}},
        // Taller than the game window less the margins: the bottom edge sits 8 pt inside.
        AnchorCase {"tallerThanTheGame", Kind::overlay, Position::leftCenter, hd, {200, 1100},
            RightStackLayout::standard(), {16, 8}},
        // A stack pushed past the right edge is pulled back inside it.
        AnchorCase {"stackPastTheRightEdge", Kind::overlay, Position::rightUpper, hd, {248, 200}, {0.0, 0.0, 40.0},
            {1664, 660}}),
    [](const auto& info) { return std::string(info.param.name); });

class AlignMovesTest : public ::testing::Test {
protected:
    FakeKeyState keys;
    FakeOverlayWindowNative native;
    OverlayScale scale {1.0};
    OverlayWindow window {new test::TestContent({234, 120}), scale, PanelPlatform {keys, native}};
};

TEST_F(AlignMovesTest, AnAnchorInsideTheMarginsMovesTheWindowOnce)
{
    int moves = 0;
    QObject::connect(&window, &PanelWindow::moved, &window, [&] { ++moves; });
    window.align({100, 50, 1600, 900}, Position::bottomCenter);
    EXPECT_EQ(moves, 1);
    EXPECT_EQ(window.frame().topLeft(), QPointF(783, 250));

    // Placing it again where it already is moves nothing.
    window.align({100, 50, 1600, 900}, Position::bottomCenter);
    EXPECT_EQ(moves, 1);
}

TEST_F(AlignMovesTest, AnAnchorOutsideTheMarginsIsKeptInsideInOneMove)
{
    int moves = 0;
    QObject::connect(&window, &PanelWindow::moved, &window, [&] { ++moves; });
    window.align({0, 0, 1920, 1080}, Position::hudRight);
    EXPECT_EQ(moves, 1);
    EXPECT_EQ(window.frame().topLeft(), QPointF(1313.6, 8));

    // Re-placed on every tick: never out to the anchor and back.
    window.align({0, 0, 1920, 1080}, Position::hudRight);
    EXPECT_EQ(moves, 1);
}

TEST(OverlayWindowPosition, RawValuesAreTheCaseNamesMatchedExactly)
{
    QStringList names;
    for (OverlayWindowPosition position : allOverlayWindowPositions) {
        names << rawValue(position);
        EXPECT_EQ(overlayWindowPositionFromRawValue(rawValue(position)), position);
    }
    EXPECT_EQ(
        names.join(u','), QStringLiteral("topLeft,bottomCenter,hudRight,rightCenter,leftCenter,rightUpper,rightLower"));
    EXPECT_EQ(overlayWindowPositionFromRawValue(QStringLiteral("RightUpper")), std::nullopt);
    EXPECT_EQ(overlayWindowPositionFromRawValue(QString()), std::nullopt);
}

} // namespace
} // namespace tolvane
