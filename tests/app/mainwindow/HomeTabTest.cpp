#include "app/mainwindow/HomeTab.h"

#include "app/mainwindow/BrandWordmark.h"
#include "app/mainwindow/SettingsControls.h"
#include "app/panels/HudStyle.h"

#include "MainWindowViewFixture.h"

namespace tolvane::test {
namespace {

using Phase = ChampSelectViewModel::Phase;

struct StatusCase {
    Phase phase;
    bool inGame;
    QString client;
    QColor clientColour;
    QString now;
};

class HomeStatusTest : public ::testing::TestWithParam<StatusCase> { };

TEST_P(HomeStatusTest, RowsFollowPhaseAndMatch)
{
    const auto& c = GetParam();
    const auto rows = HomeTab::statusRows(c.phase, c.inGame, true);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].label, QStringLiteral("League client"));
    EXPECT_EQ(rows[0].value, c.client);
    EXPECT_EQ(rows[0].colour, c.clientColour);
    EXPECT_EQ(rows[1].value, c.now);
    EXPECT_EQ(rows[1].colour, c.now == QStringLiteral("in client / menus") ? HUD::neutral() : HUD::ahead());
}

INSTANTIATE_TEST_SUITE_P(Cases, HomeStatusTest,
    ::testing::Values(StatusCase {Phase::connecting, false, QStringLiteral("checking\u2026"), HUD::amber(),
                          QStringLiteral("in client / menus")},
        StatusCase {Phase::connecting, true, QStringLiteral("connected"), HUD::ahead(), QStringLiteral("in game")},
        StatusCase {Phase::clientOffline, false, QStringLiteral("not running"), HUD::behind(),
            QStringLiteral("in client / menus")},
        StatusCase {Phase::inSelect, true, QStringLiteral("connected"), HUD::ahead(), QStringLiteral("in game")},
        StatusCase {
            Phase::inSelect, false, QStringLiteral("connected"), HUD::ahead(), QStringLiteral("in champ select")},
        StatusCase {
            Phase::idle, false, QStringLiteral("connected"), HUD::ahead(), QStringLiteral("in client / menus")}));

TEST(HomeOverlayRowTest, OverlaySwitchReadsEnabledOrDisabled)
{
    EXPECT_EQ(HomeTab::statusRows(Phase::idle, false, true)[2].value, QStringLiteral("enabled"));
    const auto off = HomeTab::statusRows(Phase::idle, false, false)[2];
    EXPECT_EQ(off.value, QStringLiteral("disabled"));
    EXPECT_EQ(off.colour, HUD::behind());
}

class HomeTabTest : public MainWindowModels {
protected:
    std::unique_ptr<HomeTab> tab(double s, bool overlay = true)
    {
        return std::make_unique<HomeTab>(
            *champVM, runeVM, overlay, [this] { ++opened; }, s);
    }
    int opened = 0;
};

TEST_F(HomeTabTest, FooterWrapsAtNarrowWidthsInsteadOfBeingCut)
{
    auto home = tab(1.0);
    const auto wide = home->layoutFor(600);
    const auto narrow = home->layoutFor(220);
    EXPECT_GT(narrow.footer.height(), wide.footer.height());
    EXPECT_LE(narrow.footer.width(), 220);
    EXPECT_EQ(home->heightForWidth(220), qCeil(narrow.height));
}

TEST_F(HomeTabTest, HeaderShowsTheWordmarkImageAt36TimesS)
{
    auto home = tab(1.36);
    ASSERT_TRUE(BrandWordmark::image().has_value()); // the build's app bundle has one
    EXPECT_TRUE(home->showsWordmarkImage());
    EXPECT_NEAR(home->layoutFor(400).wordmark.height(), 36 * 1.36, 1e-9);
    EXPECT_NEAR(home->layoutFor(400).logo.width(), 34 * 1.36, 1e-9);
}

TEST_F(HomeTabTest, OpenSettingsButtonCallsBack)
{
    auto home = tab(1.0);
    home->openSettingsButton()->click();
    EXPECT_EQ(opened, 1);
}

} // namespace
} // namespace tolvane::test
