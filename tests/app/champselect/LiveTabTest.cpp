// The Live tab: the one presentation each state of the two models picks, and what the in-game
// and idle sections hold.

#include "app/champselect/LiveTab.h"
#include "app/champselect/LoadingReviewView.h"
#include "app/panels/RuneBuildOverlayView.h"
#include "app/panels/RuneBuildViewModel.h"

#include "ChampSelectFixture.h"
#include "LiveViewSupport.h"
#include "NoGame.h"

using namespace tolvane;
using namespace tolvane::test;

namespace {

using Names = std::vector<QString>;
using Presentation = LiveTab::Presentation;

struct ChoiceCase {
    const char* name;
    bool inSelect, inGame, atLoadingScreen, listsFilled, championKnown;
    Presentation expected;
};

void PrintTo(const ChoiceCase& c, std::ostream* os)
{
    *os << c.name;
}

class LiveTabChoice : public ::testing::TestWithParam<ChoiceCase> { };

TEST_P(LiveTabChoice, TheFirstConditionThatHoldsWins)
{
    const auto& c = GetParam();
    EXPECT_EQ(LiveTab::choose(c.inSelect, c.inGame, c.atLoadingScreen, c.listsFilled, c.championKnown), c.expected);
}

INSTANTIATE_TEST_SUITE_P(States, LiveTabChoice,
    ::testing::Values(
        ChoiceCase {"champSelectBeatsAStaleMatch", true, true, false, false, true, Presentation::champSelect},
        ChoiceCase {"matchBeatsTheLoadingScreen", false, true, true, true, true, Presentation::inGame},
        ChoiceCase {"loadingScreenWithPlayers", false, false, true, true, true, Presentation::loadingReview},
        ChoiceCase {"emptyLoadingScreenKeepsTheChampion", false, false, true, false, true, Presentation::champSelect},
        ChoiceCase {"emptyLoadingScreenWithoutChampionIsIdle", false, false, true, false, false, Presentation::idle},
        ChoiceCase {"listsOutsideTheLoadingScreenDoNotCount", false, false, false, true, false, Presentation::idle},
        ChoiceCase {
            "aKnownChampionOutlivesChampionSelect", false, false, false, false, true, Presentation::champSelect}),
    [](const auto& info) { return std::string(info.param.name); });

class LiveTabTest : public ChampSelectFixture {
protected:
    RuneBuildViewModel runeVM {builds, test::noGameClient(), SharedCatalogs::fixed({})};
};

TEST_F(LiveTabTest, ConnectingAndOfflineAreIdleWithTheirOwnStatusAndTheSameBullets)
{
    LiveTab tab(model(), runeVM);
    EXPECT_EQ(tab.presentation(), Presentation::idle);
    EXPECT_EQ(tab.entryNames(), (Names {"status", "bullet", "bullet", "bullet"}));
    auto* idle = static_cast<LiveStackView*>(tab.sections().at(0));
    EXPECT_EQ(idle->entry(QStringLiteral("status"))->rows.front(), "Connecting…");
    EXPECT_EQ(idle->entries().back().rows.front(), "Everything here is read-only — Tolvane never changes your client.");
    renderWidget(tab, QStringLiteral("livetab-connecting"), 420);

    *clientRunning = false;
    model().start();
    ASSERT_TRUE(passesDone(1));
    ASSERT_EQ(vm->phase(), Phase::clientOffline);
    idle = static_cast<LiveStackView*>(tab.sections().at(0));
    EXPECT_EQ(idle->entry(QStringLiteral("status"))->rows,
        (Names {"League not running", "Open the League client to see live runes and builds here."}));
    EXPECT_EQ(tab.entryNames().size(), 4u);
    vm->stop();
}

TEST_F(LiveTabTest, InAMatchTheBuildPanelShowsAtTheWindowScale)
{
    LiveTab tab(model(), runeVM);
    tab.setWindowFontScale(1.55);
    RuneBuildViewModelProbe::setInGame(runeVM, true);
    EXPECT_EQ(tab.presentation(), Presentation::inGame);
    EXPECT_EQ(tab.entryNames(), (Names {"status", "build panel", "note"}));
    auto* section = static_cast<LiveStackView*>(tab.sections().at(0));
    RuneBuildOverlayView reference(runeVM);
    reference.setWindowFontScale(1.55);
    EXPECT_EQ(
        section->entry(QStringLiteral("build panel"))->size, reference.panel().frameSize(reference.rows().height()))
        << "the overlay's card, its shadow drawn around it";
    EXPECT_GT(reference.naturalSize().width(), 230 * 1.55) << "framed 230 x s wide";
    EXPECT_EQ(section->entry(QStringLiteral("status"))->rows.front(), "In game");
    renderWidget(tab, QStringLiteral("livetab-ingame-155"));
}

TEST_F(LiveTabTest, TheLobbysRanksStayBelowTheBuildAndChampionSelectWinsOverAStaleMatch)
{
    route(QStringLiteral("/riotclient/region-locale"), lcuDoc(QStringLiteral("riotclient/region-locale_euw_fr.json")));
    auto& vm = loadedModel();
    LiveTab tab(vm, runeVM);
    vm.enterLoadingScreen(
        *GameflowSession::decode(lcuDoc(QStringLiteral("gameflow/aram_450_InProgress_cn_2024.json"))).value, client());
    ASSERT_TRUE(spinUntil([&] { return vm.loadingEnemies().size() == 5; }));
    EXPECT_EQ(tab.presentation(), Presentation::loadingReview);
    EXPECT_EQ(tab.entryNames(), (Names {"status", "Blue side", "Red side"}));

    RuneBuildViewModelProbe::setInGame(runeVM, true);
    EXPECT_EQ(tab.entryNames(), (Names {"status", "build panel", "note", "status", "Blue side", "Red side"}));
    ASSERT_EQ(tab.sections().size(), 2u);
    EXPECT_NE(dynamic_cast<LoadingReviewView*>(tab.sections()[1]), nullptr);
    renderWidget(tab, QStringLiteral("livetab-ingame-with-ranks"));

    route(gameflowPath, gameflowDoc(QStringLiteral("ChampSelect"), 11));
    await(vm.handle(champSelectSession(lcuDoc(QStringLiteral("champ-select/draft_finalization_2024.json"))), client()));
    EXPECT_EQ(tab.presentation(), Presentation::champSelect);
    EXPECT_EQ(tab.entryNames().front(), "status");
    EXPECT_EQ(tab.entryNames().at(1), "champion");
}

} // namespace
