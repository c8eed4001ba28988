#include "app/panels/RuneBuildViewModel.h"

#include "Await.h"
#include "core/support/Async.h"
#include "BuildPathFixtures.h"
#include "LogCapture.h"
#include "NoGame.h"

#include <gtest/gtest.h>

using namespace tolvane;
using namespace tolvane::test;
using namespace std::chrono_literals;
using Probe = RuneBuildViewModelProbe;

namespace {

class PopularBuild : public ::testing::Test {
protected:
    PopularBuild() { Probe::setCatalog(vm, realChampions()); }

    void handle(std::optional<AllGameData> d) { Probe::handle(vm, std::move(d)); }
    std::optional<QString> reason() const
    {
        if (!vm.advice())
            return std::nullopt;
        if (const auto* u = std::get_if<Unavailable>(&vm.advice()->result))
            return u->reason;
        return std::nullopt;
    }

    FakeClock clock;
    std::shared_ptr<FakeMetaBuildProvider> provider = std::make_shared<FakeMetaBuildProvider>();
    RuneBuildViewModel vm {provider, test::noGameClient(), SharedCatalogs::fixed({}), clock.fn()};
};

AllGameData withMyChampion(
    const QString& champion, std::optional<QString> mode = QStringLiteral("CLASSIC"), std::optional<int64_t> map = 11)
{
    AllGameData d = laneGame({}, std::move(mode), map);
    playerNamed(d, "me").championName = champion;
    return d;
}

} // namespace

TEST_F(PopularBuild, ABuildAnswerSettlesTheChampionWhileOwnedItemsFollowEverySnapshot)
{
    provider->answer = buildAnswer();
    handle(laneGame({1055}));
    ASSERT_EQ(provider->calls.size(), 1u);
    EXPECT_EQ(provider->calls[0].champion, QStringLiteral("Caitlyn"));
    EXPECT_EQ(provider->calls[0].query, MetaQuery::summonersRift(MetaRole::adc, true));
    EXPECT_TRUE(vm.inGame());
    EXPECT_EQ(vm.advice(), buildAnswer());
    EXPECT_EQ(vm.owned(), ItemIDSet({1055}));

    int changes = 0;
    QObject::connect(&vm, &RuneBuildViewModel::changed, [&changes] { ++changes; });
    provider->answer = MetaBuildAdvice::unavailable(QStringLiteral("would replace the build"));
    clock.advance(60s);
    handle(laneGame({1055, 3006}));
    EXPECT_EQ(provider->calls.size(), 1u);
    EXPECT_EQ(vm.advice(), buildAnswer());
    EXPECT_EQ(vm.owned(), ItemIDSet({1055, 3006}));
    EXPECT_EQ(changes, 1) << "the owned items, once";
}

struct QueryCase {
    const char* champion;
    std::optional<QString> mode;
    std::optional<int64_t> map;
    MetaQuery expected;
};

class PopularBuildQuery : public PopularBuild, public ::testing::WithParamInterface<QueryCase> { };

TEST_P(PopularBuildQuery, ChampionTagsAndModeChooseTheQuery)
{
    const QueryCase& c = GetParam();
    handle(withMyChampion(QString::fromUtf8(c.champion), c.mode, c.map));
    ASSERT_EQ(provider->calls.size(), 1u);
    EXPECT_EQ(provider->calls[0].champion, QString::fromUtf8(c.champion));
    EXPECT_EQ(provider->calls[0].query, c.expected);
}

INSTANTIATE_TEST_SUITE_P(Tags, PopularBuildQuery,
    ::testing::Values(QueryCase {"Caitlyn", "CLASSIC", 11, MetaQuery::summonersRift(MetaRole::adc, true)},
        QueryCase {"Ahri", "CLASSIC", 11, MetaQuery::summonersRift(MetaRole::mid, true)},
        QueryCase {"Garen", "CLASSIC", 11, MetaQuery::summonersRift(MetaRole::top, true)},
        QueryCase {"Leona", std::nullopt, std::nullopt, MetaQuery::summonersRift(MetaRole::support, true)},
        QueryCase {"Nobody Known", "CLASSIC", 11, MetaQuery::summonersRift(MetaRole::unknown, false)},
        QueryCase {"Caitlyn", "ARAM", 12, MetaQuery::aram()}, QueryCase {"Caitlyn", "CLASSIC", 12, MetaQuery::aram()}));

TEST_F(PopularBuild, ArenaSettlesWithoutAskingOrLogging)
{
    LogCapture logs;
    handle(withMyChampion(QStringLiteral("Caitlyn"), QStringLiteral("CHERRY"), 30));
    handle(withMyChampion(QStringLiteral("Caitlyn"), QStringLiteral("CHERRY"), 30));
    EXPECT_TRUE(provider->calls.empty());
    EXPECT_EQ(reason(), QStringLiteral("popular build: Arena not supported"));
    EXPECT_TRUE(logs.lines(QStringLiteral("popularbuild")).empty());
}

struct UnsupportedCase {
    std::optional<int64_t> map;
    const char* logLine;
};

class PopularBuildUnsupported : public PopularBuild, public ::testing::WithParamInterface<UnsupportedCase> { };

TEST_P(PopularBuildUnsupported, LogsOnceAndShowsTheMode)
{
    LogCapture logs;
    handle(withMyChampion(QStringLiteral("Caitlyn"), QStringLiteral("URF"), GetParam().map));
    clock.advance(20s);
    handle(withMyChampion(QStringLiteral("Caitlyn"), QStringLiteral("URF"), GetParam().map));
    EXPECT_TRUE(provider->calls.empty());
    EXPECT_EQ(reason(), QStringLiteral("popular build: URF not supported"));
    const auto lines = logs.lines(QStringLiteral("popularbuild"));
    ASSERT_EQ(lines.size(), 1);
    EXPECT_EQ(lines[0].type, QtCriticalMsg);
    EXPECT_EQ(lines[0].message, QString::fromUtf8(GetParam().logLine));
}

INSTANTIATE_TEST_SUITE_P(Maps, PopularBuildUnsupported,
    ::testing::Values(UnsupportedCase {11, "popular build: unsupported gameMode 'URF' map 11"},
        UnsupportedCase {std::nullopt, "popular build: unsupported gameMode 'URF' map -1"}));

TEST_F(PopularBuild, UnavailableAnswersAreAskedAgainAfterFifteenSeconds)
{
    handle(laneGame());
    EXPECT_EQ(reason(), QStringLiteral("Metrion unavailable"));
    clock.advance(5s);
    handle(laneGame());
    clock.advance(9999ms);
    handle(laneGame());
    EXPECT_EQ(provider->calls.size(), 1u);
    clock.advance(1ms);
    provider->answer = buildAnswer();
    handle(laneGame());
    EXPECT_EQ(provider->calls.size(), 2u);
    EXPECT_EQ(vm.advice(), buildAnswer());
}

TEST_F(PopularBuild, AnotherChampionAsksAgainAndKeepsTheOldAnswerMeanwhile)
{
    provider->answer = buildAnswer();
    handle(laneGame());
    clock.advance(5s);
    handle(withMyChampion(QStringLiteral("Jinx")));
    EXPECT_EQ(provider->calls.size(), 1u); // still inside the spacing of the first request
    EXPECT_EQ(vm.advice(), buildAnswer());
    clock.advance(10s);
    provider->answer = MetaBuildAdvice::unavailable(QStringLiteral("Metrion data not recognized"));
    handle(withMyChampion(QStringLiteral("Jinx")));
    ASSERT_EQ(provider->calls.size(), 2u);
    EXPECT_EQ(provider->calls[1].champion, QStringLiteral("Jinx"));
    EXPECT_EQ(reason(), QStringLiteral("Metrion data not recognized"));
}

TEST_F(PopularBuild, TheEndOfAMatchClearsEverythingAndTheNextAsksAtOnce)
{
    provider->answer = buildAnswer();
    handle(laneGame({1055}));
    handle(std::nullopt);
    EXPECT_FALSE(vm.inGame());
    EXPECT_FALSE(vm.advice());
    EXPECT_TRUE(vm.owned().empty());
    handle(laneGame());
    EXPECT_EQ(provider->calls.size(), 2u); // same champion, no spacing wait
}

TEST_F(PopularBuild, AnUnresolvedPlayerOnlyMarksTheGame)
{
    handle(laneGame({1055}));
    AllGameData spectator = laneGame({3006});
    spectator.activePlayer = ActivePlayer {};
    clock.advance(30s);
    handle(spectator);
    EXPECT_TRUE(vm.inGame());
    EXPECT_EQ(vm.owned(), ItemIDSet({1055}));
    EXPECT_EQ(provider->calls.size(), 1u);
}

// A provider slow to answer: the loop handles nothing else meanwhile, then works through what
// queued up, so the end of the match still clears the late answer.
class SlowMetaBuildProvider final : public MetaBuildProvider {
public:
    int calls = 0;
    QCoro::Task<MetaBuildAdvice> fetch(QString, MetaQuery) override
    {
        ++calls;
        co_await sleepFor(std::chrono::milliseconds(1500));
        co_return buildAnswer();
    }
};

TEST(PopularBuildLoop, SnapshotsWaitingBehindARequestAreHandledAfterIt)
{
    LiveClientPeer game;
    Snapshot snapshot;
    snapshot.players = {{QStringLiteral("Caitlyn"), QStringLiteral("ORDER"), QStringLiteral("BOTTOM")}};
    snapshot.activeName = QStringLiteral("CaitlynPlayer");
    game.serve(snapshot);
    auto provider = std::make_shared<SlowMetaBuildProvider>();
    // No champion catalog: the role stays unknown.
    auto model = std::make_unique<RuneBuildViewModel>(provider, game.client(), SharedCatalogs::fixed({}));
    RuneBuildViewModel& vm = *model;
    bool sawAdvice = false;
    QObject::connect(&vm, &RuneBuildViewModel::changed, [&] { sawAdvice = sawAdvice || vm.advice().has_value(); });
    vm.start();
    ASSERT_TRUE(spinUntil([&] { return provider->calls == 1; }));
    game.noGame();
    ASSERT_TRUE(spinUntil([&] { return sawAdvice && !vm.inGame(); }));
    EXPECT_FALSE(vm.advice());
    EXPECT_EQ(provider->calls, 1);
    model.reset();
    spinFor(300ms); // lets the polling task see its stream go
}
