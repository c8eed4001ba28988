// The poll loop against a pretend game client: start and stop, the catalogs, and what each pair
// of answers does to the published state.

#include "ChampSelectFixture.h"

using namespace tolvane;
using namespace tolvane::test;

namespace {

class ChampSelectPoll : public ChampSelectFixture { };

TEST_F(ChampSelectPoll, CatalogsLoadOnceBeforeTheFirstRequestAndStopStartKeepsThem)
{
    auto& vm = model();
    vm.start();
    vm.start(); // a second start makes no second loop
    EXPECT_EQ(vm.phase(), Phase::connecting);
    ASSERT_TRUE(passesDone(1));
    ASSERT_GE(events.size(), 5u);
    EXPECT_EQ(std::vector<QString>(events.begin(), events.begin() + 5),
        (std::vector<QString> {"champions", "runes", "synergy", "spells", champSelectPath}));
    EXPECT_EQ(vm.phase(), Phase::idle); // nothing routed: 404 for both sessions
    EXPECT_EQ(vm.version(), "15.4.1");
    EXPECT_EQ(vm.spellCatalog().byId.size(), 1u);
    spinFor(30ms);
    EXPECT_EQ(count(champSelectPath), 1) << "one loop, waiting in its pause";

    vm.stop();
    EXPECT_EQ(vm.phase(), Phase::idle) << "stop leaves the state as it is";
    vm.start();
    EXPECT_EQ(vm.phase(), Phase::connecting);
    ASSERT_TRUE(passesDone(2));
    EXPECT_EQ(count("champions"), 1);
    EXPECT_EQ(*discoverCalls, 1) << "the cached client is reused";
    EXPECT_EQ(sleeper->count(ChampSelectViewModel::pollPause), 2);
}

TEST_F(ChampSelectPoll, FailedChampionCatalogStillLoadsTheOthersAndIsTriedAgainOnTheNextStart)
{
    championCatalogFails = true;
    auto& vm = model();
    vm.start();
    ASSERT_TRUE(passesDone(1));
    EXPECT_EQ(vm.version(), "");
    EXPECT_EQ(count("runes"), 1);
    EXPECT_EQ(count("spells"), 1);
    vm.stop();
    championCatalogFails = false;
    vm.start();
    ASSERT_TRUE(passesDone(2));
    EXPECT_EQ(count("champions"), 2);
    EXPECT_EQ(vm.version(), "15.4.1");
}

TEST_F(ChampSelectPoll, NoClientIsOfflineAndEveryPassLooksAgain)
{
    *clientRunning = false;
    auto& vm = model();
    vm.start();
    ASSERT_TRUE(passesDone(1));
    EXPECT_EQ(vm.phase(), Phase::clientOffline);
    nextPass();
    ASSERT_TRUE(passesDone(2));
    EXPECT_EQ(*discoverCalls, 2);
    *clientRunning = true;
    nextPass();
    ASSERT_TRUE(passesDone(3));
    EXPECT_EQ(vm.phase(), Phase::idle);
    EXPECT_EQ(count(champSelectPath), 1);
}

struct DispatchCase {
    const char* name;
    std::function<TestResponse()> gameflow;
    ChampSelectViewModel::Phase phase;
    bool clientDropped;
};

void PrintTo(const DispatchCase& c, std::ostream* os)
{
    *os << c.name;
}

class ChampSelectDispatch : public ChampSelectFixture, public ::testing::WithParamInterface<DispatchCase> { };

TEST_P(ChampSelectDispatch, OutsideChampionSelectTheGameflowDecides)
{
    const DispatchCase& c = GetParam();
    route(gameflowPath, c.gameflow());
    auto& vm = model();
    vm.start();
    ASSERT_TRUE(passesDone(1));
    EXPECT_EQ(vm.phase(), c.phase);
    nextPass();
    ASSERT_TRUE(passesDone(2));
    EXPECT_EQ(*discoverCalls, c.clientDropped ? 2 : 1);
}

INSTANTIATE_TEST_SUITE_P(Answers, ChampSelectDispatch,
    ::testing::Values(
        DispatchCase {"realInProgress",
            [] { return TestResponse::json(lcuDoc(QStringLiteral("gameflow/aram_450_InProgress_cn_2024.json"))); },
            ChampSelectViewModel::Phase::loadingScreen, false},
        DispatchCase {"realEndOfGame",
            [] { return TestResponse::json(lcuDoc(QStringLiteral("gameflow/blind_430_EndOfGame_cn_2024.json"))); },
            ChampSelectViewModel::Phase::idle, false},
        DispatchCase {"phaseInOtherCase",
            [] { return TestResponse::json(gameflowDoc(QStringLiteral("gamestart"), 11)); },
            ChampSelectViewModel::Phase::idle, false},
        DispatchCase {"undecodable", [] { return TestResponse::json("{\"phase\": 3}"); },
            ChampSelectViewModel::Phase::idle, false},
        DispatchCase {"unreachable",
            [] {
                TestResponse r;
                r.behaviour = TestResponse::Behaviour::closeWithoutAnswer;
                return r;
            },
            ChampSelectViewModel::Phase::clientOffline, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ChampSelectPoll, IdleKeepsTheLastChampionSelectWhileAnOfflineClientClearsEverything)
{
    builds->answer = MetaBuildAdvice {MetaBuild {}, MetaFreshness::fresh(), MetaBuildAdvice::metrionProvenance()};
    route(champSelectPath, lcuDoc(QStringLiteral("champ-select/draft_finalization_2024.json")));
    route(gameflowPath, gameflowDoc(QStringLiteral("ChampSelect"), 11));
    auto& vm = model();
    vm.start();
    ASSERT_TRUE(passesDone(1));
    ASSERT_EQ(vm.phase(), Phase::inSelect);
    ASSERT_EQ(vm.myChampionName(), "Graves");

    unroute(champSelectPath);
    route(gameflowPath, gameflowDoc(QStringLiteral("EndOfGame"), 11));
    nextPass();
    ASSERT_TRUE(passesDone(2));
    EXPECT_EQ(vm.phase(), Phase::idle);
    EXPECT_EQ(vm.myChampionName(), "Graves");
    EXPECT_TRUE(vm.advice().has_value());
    EXPECT_FALSE(vm.enemyNames().empty());

    TestResponse closed;
    closed.behaviour = TestResponse::Behaviour::closeWithoutAnswer;
    route(champSelectPath, closed);
    nextPass();
    ASSERT_TRUE(passesDone(3));
    EXPECT_EQ(vm.phase(), Phase::clientOffline);
    EXPECT_FALSE(vm.myChampionName().has_value());
    EXPECT_FALSE(vm.advice().has_value());
    EXPECT_TRUE(vm.enemyNames().empty());
    EXPECT_TRUE(vm.spellRecs().empty());
    EXPECT_FALSE(vm.synergyDuo().has_value());
    EXPECT_EQ(vm.assignedRole(), MetaRole::unknown);
}

TEST_F(ChampSelectPoll, DestroyingTheModelEndsItsLoop)
{
    model().start();
    ASSERT_TRUE(passesDone(1));
    vm.reset();
    spinFor(30ms); // the loop wakes from its pause and finds the model gone
    EXPECT_EQ(count(champSelectPath), 1);
    EXPECT_EQ(sleeper->pollPausesBegun, 1);
}

} // namespace
