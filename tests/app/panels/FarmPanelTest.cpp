// The farm panel: the readout rule over made-up snapshots, and the view's bar, percentage and
// states drawn offscreen.

#include "app/panels/FarmOverlayView.h"
#include "app/panels/FarmViewModel.h"
#include "app/panels/HudPanel.h"
#include "app/panels/HudStyle.h"
#include "app/panels/HudText.h"

#include "Await.h"
#include "PanelTestSupport.h"
#include "NoGame.h"

#include <gtest/gtest.h>

#include <functional>

namespace tolvane {
namespace {

using Readout = FarmViewModel::Readout;
using test::Snapshot;

// Six minions every 30 s from 30 s on, no cannons: 20 waves, 120 minions by 600 s.
FarmBenchmark schedule()
{
    FarmBenchmark bench;
    bench.targetPatch = QStringLiteral("15.12");
    bench.firstWaveSpawn = 30;
    bench.waveInterval = 30;
    bench.regularPerWave = 6;
    return bench;
}

Snapshot laner(QString position = QStringLiteral("MIDDLE"), std::optional<int64_t> cs = 75, double t = 600)
{
    Snapshot s;
    s.activeName = QStringLiteral("me");
    s.gameTime = t;
    s.players = {{QStringLiteral("Ahri"), QStringLiteral("ORDER"), std::move(position), {}, cs, QStringLiteral("me")},
        {QStringLiteral("Zed"), QStringLiteral("CHAOS"), QStringLiteral("MIDDLE"), {}, 99}};
    return s;
}

struct ComputeCase {
    const char* name;
    std::function<void(Snapshot&)> change;
    std::optional<Readout> expected;
    FarmBenchmark bench = schedule();
};

class FarmCompute : public ::testing::TestWithParam<ComputeCase> { };

TEST_P(FarmCompute, Readout)
{
    Snapshot s = laner();
    GetParam().change(s);
    EXPECT_EQ(FarmViewModel::compute(s.decoded(), GetParam().bench), GetParam().expected);
}

const QString mid = QStringLiteral("MIDDLE");

INSTANTIATE_TEST_SUITE_P(Farm, FarmCompute,
    ::testing::Values(ComputeCase {"midLaneAtTenMinutes", [](Snapshot&) {}, Readout {75, 7.5, 120, mid}},
        ComputeCase {"justBeforeAMinute",
            [](Snapshot& s) {
                s.gameTime = 59.9;
                s.players[0].creepScore = 7;
            },
            Readout {7, std::nullopt, 6, mid}},
        ComputeCase {"atOneMinute",
            [](Snapshot& s) {
                s.gameTime = 60;
                s.players[0].creepScore = 7;
            },
            Readout {7, 7.0, 12, mid}},
        ComputeCase {"noScores", [](Snapshot& s) { s.players[0].creepScore.reset(); }, Readout {0, 0.0, 120, mid}},
        ComputeCase {"jungle", [](Snapshot& s) { s.players[0].position = QStringLiteral("JUNGLE"); },
            Readout {75, 7.5, std::nullopt, QStringLiteral("JUNGLE")}},
        ComputeCase {"noPosition", [](Snapshot& s) { s.players[0].position.reset(); },
            Readout {75, 7.5, std::nullopt, std::nullopt}},
        ComputeCase {"lowerCaseLane", [](Snapshot& s) { s.players[0].position = QStringLiteral("middle"); },
            Readout {75, 7.5, 120, QStringLiteral("middle")}},
        ComputeCase {"bottomOnAram",
            [](Snapshot& s) {
                s.players[0].position = QStringLiteral("BOTTOM");
                s.mapNumber = 12;
            },
            Readout {75, 7.5, std::nullopt, QStringLiteral("BOTTOM")}},
        ComputeCase {"bottomWithoutMap",
            [](Snapshot& s) {
                s.players[0].position = QStringLiteral("BOTTOM");
                s.mapNumber.reset();
            },
            Readout {75, 7.5, 120, QStringLiteral("BOTTOM")}},
        ComputeCase {
            "beforeTheFirstWave", [](Snapshot& s) { s.gameTime = 20; }, Readout {75, std::nullopt, std::nullopt, mid}},
        ComputeCase {"noSchedule", [](Snapshot&) {}, Readout {75, 7.5, std::nullopt, mid}, FarmBenchmark::empty()},
        ComputeCase {
            "localPlayerNotFound", [](Snapshot& s) { s.activeName = QStringLiteral("spectator"); }, std::nullopt},
        ComputeCase {"mirrorTakesOwnTeamsEntry",
            [](Snapshot& s) {
                // The same champion on the other team, listed first, is not the local player.
                s.players.insert(s.players.begin(), {QStringLiteral("Ahri"), QStringLiteral("CHAOS"), mid, {}, 300});
            },
            Readout {75, 7.5, 120, mid}}),
    [](const auto& info) { return std::string(info.param.name); });

struct CaughtCase {
    int64_t cs;
    int64_t available;
    const char* text;
    QColor color;
};

class FarmCaught : public ::testing::TestWithParam<CaughtCase> { };

TEST_P(FarmCaught, PercentageAndColour)
{
    const CaughtCase& c = GetParam();
    EXPECT_EQ(FarmOverlayView::caughtText(c.cs, c.available), QString::fromUtf8(c.text));
    EXPECT_EQ(FarmOverlayView::caughtColor(FarmOverlayView::caughtShare(c.cs, c.available)), c.color);
}

INSTANTIATE_TEST_SUITE_P(Farm, FarmCaught,
    ::testing::Values(CaughtCase {150, 120, "100% of 120 lane CS spawned", HUD::ahead()},
        CaughtCase {70, 100, "70% of 100 lane CS spawned", HUD::ahead()},
        CaughtCase {69, 100, "69% of 100 lane CS spawned", HUD::amber()},
        CaughtCase {50, 100, "50% of 100 lane CS spawned", HUD::amber()},
        CaughtCase {1, 8, "13% of 8 lane CS spawned", HUD::behind()},
        CaughtCase {-5, 120, "0% of 120 lane CS spawned", HUD::behind()}));

TEST(FarmParts, BarLabelsAndFigures)
{
    EXPECT_DOUBLE_EQ(FarmOverlayView::caughtFillWidth(200, 0), 4);
    EXPECT_DOUBLE_EQ(FarmOverlayView::caughtFillWidth(200, 0.5), 100);
    EXPECT_EQ(FarmOverlayView::csPerMinText(std::nullopt), QStringLiteral("\u2014"));
    EXPECT_EQ(FarmOverlayView::csPerMinText(7.46), QStringLiteral("7.5"));
    // The header's lane word, shared with the gold panel.
    EXPECT_EQ(hudLaneLabel(QStringLiteral("middle")), QStringLiteral("mid"));
    EXPECT_EQ(hudLaneLabel(QStringLiteral("UTILITY")), QStringLiteral("support"));
    EXPECT_EQ(hudLaneLabel(QStringLiteral("NONE")), std::nullopt);
    EXPECT_EQ(hudLaneLabel(std::nullopt), std::nullopt);
}

// --- the view drawn ---

class FarmView : public ::testing::Test {
protected:
    FarmViewModel vm {test::noGameClient(), [] { return schedule(); }};
    FarmOverlayView view {&vm};

    QImage render(const QString& name)
    {
        const QImage image = test::renderContent(view, 2.0);
        test::savePanelPng(image, QStringLiteral("farm-") + name);
        return image;
    }
};

TEST_F(FarmView, StatesDrawAndMeasure)
{
    const QImage notInGame = render(QStringLiteral("not-in-game"));
    const QSizeF outer = view.naturalSize();
    EXPECT_DOUBLE_EQ(outer.width(), 200 + 26 + HudPanel::shadowMargins.left() + HudPanel::shadowMargins.right());

    vm.setReadout(Readout {80, 8.0, 120, mid});
    const QImage withBar = render(QStringLiteral("mid-amber"));
    EXPECT_GT(view.naturalSize().height(), outer.height());
    // The bar's fill in amber, two thirds along the content's width.
    const QRect amber = test::inkOf(withBar, HUD::amber(), 25);
    ASSERT_FALSE(amber.isEmpty());
    const HudPanel panel = hudPanel(HUD::ahead(), 200, 1.0);
    const QRectF content = panel.contentRect(0);
    EXPECT_NEAR(amber.left() / 2.0, content.left(), 1.5);
    EXPECT_NEAR(amber.width() / 2.0, 200 * 80.0 / 120.0, 2);

    vm.setReadout(Readout {0, std::nullopt, 120, QStringLiteral("TOP")});
    const QImage sliver = render(QStringLiteral("top-none-yet"));
    const QRect red = test::inkOf(sliver, HUD::behind(), 25);
    ASSERT_FALSE(red.isEmpty());
    EXPECT_LE(red.width(), 4 * 2 + 1);

    vm.setReadout(Readout {150, 9.2, 120, QStringLiteral("BOTTOM")});
    render(QStringLiteral("bot-full"));
    vm.setReadout(Readout {40, 4.0, std::nullopt, QStringLiteral("UTILITY")});
    const QImage support = render(QStringLiteral("support-no-benchmark"));
    EXPECT_TRUE(test::inkOf(support, HUD::amber(), 25).isEmpty());
    EXPECT_TRUE(test::inkOf(support, HUD::behind(), 25).isEmpty());
}

} // namespace
} // namespace tolvane
