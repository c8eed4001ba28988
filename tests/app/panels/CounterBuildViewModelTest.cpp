#include "app/panels/CounterBuildViewModel.h"

#include "Await.h"
#include "BuildPathFixtures.h"
#include "LogCapture.h"
#include "NoGame.h"

#include <gtest/gtest.h>

using namespace tolvane;
using namespace tolvane::test;
using namespace std::chrono_literals;
using Probe = CounterBuildViewModelProbe;

namespace {

const QString kNoOpponent = QStringLiteral("no lane opponent identified");

class CounterBuild : public ::testing::Test {
protected:
    CounterBuild() { Probe::setCatalog(vm, realChampions()); }

    void handle(std::optional<AllGameData> d) { Probe::handle(vm, std::move(d)); }
    QList<LogLine> matchupLog() const { return logs.lines(QStringLiteral("matchup")); }

    LogCapture logs;
    FakeClock clock;
    std::shared_ptr<FakeMatchupProvider> provider = std::make_shared<FakeMatchupProvider>();
    CounterBuildViewModel vm {provider, test::noGameClient(), SharedCatalogs::fixed({}), clock.fn()};
};

// Enemies without positions: no lane opponent can be found.
AllGameData withoutEnemyPositions()
{
    AllGameData d = laneGame();
    for (LivePlayer& p : d.allPlayers)
        if (p.team == u"CHAOS")
            p.position.reset();
    return d;
}

} // namespace

TEST_F(CounterBuild, ASnapshotGivesAdviceThreatsAndOneRequestPerPairing)
{
    provider->answer = matchupBuildAnswer(QStringLiteral("Jinx"));
    handle(laneGame({1055}));
    ASSERT_TRUE(vm.advice());
    ASSERT_TRUE(vm.advice()->threat);
    EXPECT_TRUE(vm.advice()->shortlist.isItems());
    EXPECT_EQ(vm.enemyThreat(), vm.advice()->threat);
    ASSERT_TRUE(vm.allyThreat());
    EXPECT_NE(vm.allyThreat(), vm.enemyThreat());
    EXPECT_EQ(vm.owned(), ItemIDSet({1055}));
    ASSERT_EQ(provider->calls.size(), 1u);
    EXPECT_EQ(provider->calls[0].mine, QStringLiteral("Caitlyn"));
    EXPECT_EQ(provider->calls[0].opponent, QStringLiteral("Jinx"));
    EXPECT_EQ(provider->calls[0].role, MetaRole::adc);
    ASSERT_TRUE(vm.matchupBuild());
    EXPECT_EQ(vm.matchupBuild()->extras.opponent, QStringLiteral("Jinx"));
    EXPECT_FALSE(vm.matchupNote());

    clock.advance(60s);
    handle(laneGame({1055, 3006}));
    EXPECT_EQ(provider->calls.size(), 1u);
    EXPECT_EQ(vm.owned(), ItemIDSet({1055, 3006}));
}

TEST_F(CounterBuild, AnUnavailableAnswerIsShownAndAskedAgainAfterFifteenSeconds)
{
    handle(laneGame());
    EXPECT_FALSE(vm.matchupBuild());
    EXPECT_EQ(vm.matchupNote(), QStringLiteral("Metrion unavailable"));
    clock.advance(14s);
    handle(laneGame({1055}));
    EXPECT_EQ(provider->calls.size(), 1u);
    EXPECT_EQ(vm.owned(), ItemIDSet({1055})); // the rest still follows the snapshot
    clock.advance(1s);
    handle(laneGame());
    EXPECT_EQ(provider->calls.size(), 2u);
}

TEST_F(CounterBuild, ANewPairingWaitsForTheSpacingOfTheLastRequest)
{
    provider->answer = matchupBuildAnswer(QStringLiteral("Jinx"));
    handle(laneGame());
    AllGameData swapped = laneGame();
    playerNamed(swapped, "e4").championName = QStringLiteral("Ezreal");
    clock.advance(5s);
    handle(swapped);
    EXPECT_EQ(provider->calls.size(), 1u);
    EXPECT_TRUE(vm.matchupBuild()); // the old build stays until the new one arrives
    clock.advance(10s);
    handle(swapped);
    ASSERT_EQ(provider->calls.size(), 2u);
    EXPECT_EQ(provider->calls[1].opponent, QStringLiteral("Ezreal"));
}

TEST_F(CounterBuild, ARoleChangeIsANewPairing)
{
    provider->answer = matchupBuildAnswer(QStringLiteral("Jinx"));
    AllGameData mid = laneGame();
    playerNamed(mid, "me").position = QStringLiteral("MIDDLE");
    playerNamed(mid, "e4").position = QStringLiteral("MIDDLE");
    playerNamed(mid, "e3").position = QStringLiteral("BOTTOM");
    handle(mid);
    clock.advance(15s);
    AllGameData bottom = mid;
    playerNamed(bottom, "me").position = QStringLiteral("BOTTOM");
    handle(bottom);
    ASSERT_EQ(provider->calls.size(), 2u);
    EXPECT_EQ(provider->calls[0].role, MetaRole::mid);
    EXPECT_EQ(provider->calls[0].opponent, QStringLiteral("Jinx"));
    EXPECT_EQ(provider->calls[1].role, MetaRole::adc);
    EXPECT_EQ(provider->calls[1].opponent, QStringLiteral("Zed"));
}

TEST_F(CounterBuild, AramReadsTheTeamsWithoutAskingOrLogging)
{
    AllGameData aram = laneGame({}, QStringLiteral("ARAM"), 12);
    for (LivePlayer& p : aram.allPlayers)
        p.position = QString();
    handle(aram);
    ASSERT_TRUE(vm.advice());
    EXPECT_EQ(vm.advice()->shortlist, Shortlist::readoutOnly());
    EXPECT_TRUE(vm.allyThreat());
    EXPECT_TRUE(vm.enemyThreat());
    EXPECT_FALSE(vm.lanerNote());
    EXPECT_TRUE(provider->calls.empty());
    EXPECT_TRUE(matchupLog().empty());
}

TEST_F(CounterBuild, AnUnsupportedModeKeepsTheMatchupState)
{
    handle(withoutEnemyPositions());
    ASSERT_EQ(vm.lanerNote(), kNoOpponent);
    handle(laneGame({}, QStringLiteral("URF"), 11));
    EXPECT_TRUE(vm.advice());
    EXPECT_TRUE(vm.enemyThreat());
    EXPECT_EQ(vm.lanerNote(), kNoOpponent);
    EXPECT_TRUE(provider->calls.empty());
}

TEST_F(CounterBuild, AnUnresolvedPlayerGetsOnlyTheAdvice)
{
    provider->answer = matchupBuildAnswer(QStringLiteral("Jinx"));
    handle(laneGame({1055}));
    const auto threat = vm.enemyThreat();
    AllGameData spectator = laneGame({3006});
    spectator.activePlayer = ActivePlayer {};
    handle(spectator);
    ASSERT_TRUE(vm.advice());
    EXPECT_FALSE(vm.advice()->threat);
    EXPECT_EQ(vm.advice()->shortlist, Shortlist::unavailable(QStringLiteral("champion not identified")));
    EXPECT_EQ(vm.owned(), ItemIDSet({1055}));
    EXPECT_EQ(vm.enemyThreat(), threat);
    EXPECT_TRUE(vm.matchupBuild());
}

TEST_F(CounterBuild, AMissingOpponentIsNotedAndLoggedOncePerGame)
{
    handle(withoutEnemyPositions());
    EXPECT_EQ(vm.lanerNote(), kNoOpponent);
    EXPECT_EQ(vm.matchupNote(), kNoOpponent);
    handle(withoutEnemyPositions());
    const auto lines = matchupLog();
    ASSERT_EQ(lines.size(), 1);
    EXPECT_EQ(lines[0].type, QtInfoMsg);
    EXPECT_EQ(
        lines[0].message, QStringLiteral("no laner resolved (you=BOTTOM): Garen=nil Vi=nil Zed=nil Jinx=nil Lux=nil"));
    EXPECT_TRUE(provider->calls.empty());

    handle(std::nullopt);
    handle(withoutEnemyPositions());
    EXPECT_EQ(matchupLog().size(), 2);
}

TEST_F(CounterBuild, AHeldBuildOutlivesALostOpponentQuietly)
{
    provider->answer = matchupBuildAnswer(QStringLiteral("Jinx"));
    handle(laneGame());
    handle(withoutEnemyPositions());
    EXPECT_TRUE(vm.matchupBuild());
    EXPECT_EQ(vm.lanerNote(), kNoOpponent);
    EXPECT_TRUE(matchupLog().empty());
}

TEST_F(CounterBuild, NoGameClearsEverythingAndTheNextPairingIsAskedAtOnce)
{
    handle(laneGame({1055}));
    handle(std::nullopt);
    EXPECT_FALSE(vm.advice());
    EXPECT_FALSE(vm.matchup());
    EXPECT_TRUE(vm.owned().empty());
    EXPECT_FALSE(vm.allyThreat());
    EXPECT_FALSE(vm.enemyThreat());
    EXPECT_FALSE(vm.lanerNote());
    handle(laneGame());
    EXPECT_EQ(provider->calls.size(), 2u); // no spacing carried over from the last game
}
