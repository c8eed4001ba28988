#include "core/advice/MatchupAdvice.h"
#include "core/advice/MetaBuild.h"
#include "core/advice/MetaQuery.h"
#include "core/advice/SpellRecState.h"

#include <gtest/gtest.h>

using namespace tolvane;

namespace {

struct PositionCase {
    std::optional<QString> position;
    MetaRole role;
};

class RoleFromPosition : public ::testing::TestWithParam<PositionCase> { };

TEST_P(RoleFromPosition, IgnoresCase)
{
    EXPECT_EQ(metaRoleFromLivePosition(GetParam().position), GetParam().role);
}

INSTANTIATE_TEST_SUITE_P(Roles, RoleFromPosition,
    ::testing::Values(PositionCase {"TOP", MetaRole::top}, PositionCase {"jungle", MetaRole::jungle},
        PositionCase {"mIdDlE", MetaRole::mid}, PositionCase {"bottom", MetaRole::adc},
        PositionCase {"Utility", MetaRole::support}, PositionCase {"", MetaRole::unknown},
        PositionCase {std::nullopt, MetaRole::unknown}, PositionCase {"MID", MetaRole::unknown},
        PositionCase {" TOP", MetaRole::unknown}));

struct TagsCase {
    std::vector<QString> tags;
    MetaRole role;
};

class RoleFromTags : public ::testing::TestWithParam<TagsCase> { };

TEST_P(RoleFromTags, FirstRuleWins)
{
    EXPECT_EQ(metaRoleInferredFromTags(GetParam().tags), GetParam().role);
}

INSTANTIATE_TEST_SUITE_P(Roles, RoleFromTags,
    ::testing::Values(TagsCase {{"Support", "Marksman"}, MetaRole::adc}, TagsCase {{"Tank", "Mage"}, MetaRole::mid},
        TagsCase {{"Fighter", "Tank"}, MetaRole::top}, TagsCase {{"Tank"}, MetaRole::top},
        TagsCase {{"Assassin"}, MetaRole::mid}, TagsCase {{"Tank", "Support"}, MetaRole::support},
        TagsCase {{"marksman"}, MetaRole::unknown}, TagsCase {{}, MetaRole::unknown}));

TEST(MetaQuery, ServiceArguments)
{
    EXPECT_EQ(MetaQuery::aram().metrionPosition(), u"mid");
    EXPECT_EQ(MetaQuery::aram().metrionGameMode(), u"aram");
    EXPECT_EQ(MetaQuery::summonersRift(MetaRole::unknown, false).metrionPosition(), u"unknown");
    EXPECT_EQ(MetaQuery::summonersRift(MetaRole::support, true).metrionPosition(), u"support");
    EXPECT_EQ(MetaQuery::summonersRift(MetaRole::top, false).metrionGameMode(), u"ranked");
}

struct RouteCase {
    std::optional<QString> gameMode;
    std::optional<int64_t> map;
    MetaModeRoute route;
};

class RouteDuringMatch : public ::testing::TestWithParam<RouteCase> { };

TEST_P(RouteDuringMatch, MapFirstThenMode)
{
    EXPECT_EQ(resolveMetaMode(GetParam().gameMode, GetParam().map), GetParam().route);
}

INSTANTIATE_TEST_SUITE_P(Routes, RouteDuringMatch,
    ::testing::Values(RouteCase {"CLASSIC", 12, MetaModeRoute::aram()}, RouteCase {"ARAM", 11, MetaModeRoute::aram()},
        RouteCase {"aram", std::nullopt, MetaModeRoute::unsupported("aram")},
        RouteCase {std::nullopt, 22, MetaModeRoute::summonersRift()}, RouteCase {"CHERRY", 30, MetaModeRoute::arena()},
        RouteCase {"CHERRY", std::nullopt, MetaModeRoute::unsupported("CHERRY")},
        RouteCase {"URF", 11, MetaModeRoute::unsupported("URF")},
        RouteCase {"CLASSIC", 11, MetaModeRoute::summonersRift()}));

TEST(ResolveMetaMode, FromMapOnly)
{
    EXPECT_EQ(resolveMetaMode(std::optional<int64_t>()), MetaModeRoute::summonersRift());
    EXPECT_EQ(resolveMetaMode(std::optional<int64_t>(12)), MetaModeRoute::aram());
    EXPECT_EQ(resolveMetaMode(std::optional<int64_t>(30)), MetaModeRoute::arena());
    EXPECT_EQ(resolveMetaMode(std::optional<int64_t>(0)), MetaModeRoute::unsupported("map 0"));
    EXPECT_EQ(resolveMetaMode(std::optional<int64_t>(-3)), MetaModeRoute::unsupported("map -3"));
}

TEST(SpellRecState, AsksEachPairingOnce)
{
    SpellRecState state;
    const QString key = SpellRecState::key(QStringLiteral("Ahri"), MetaRole::mid, QStringLiteral("Zed"));
    EXPECT_EQ(key, QStringLiteral("Ahri|mid|Zed"));
    EXPECT_EQ(state.cached(key), std::nullopt);
    EXPECT_TRUE(state.begin(key));
    EXPECT_FALSE(state.begin(key));
    EXPECT_TRUE(state.complete(key, state.generation(), std::nullopt));
    ASSERT_TRUE(state.cached(key).has_value());
    EXPECT_EQ(*state.cached(key), std::nullopt); // answered, nothing usable
    EXPECT_FALSE(state.begin(key));
    state.reset();
    EXPECT_FALSE(state.begin(key));
}

TEST(SpellRecState, LateAnswersAreCachedButReportedStale)
{
    SpellRecState state;
    const QString key = SpellRecState::key(QStringLiteral("Ahri"), MetaRole::mid, QStringLiteral("Zed"));
    ASSERT_TRUE(state.begin(key));
    const int64_t started = state.generation();
    state.reset();
    EXPECT_TRUE(state.begin(key)); // no longer in flight
    const std::vector<SpellRec> spells {{4, "Flash"}, {14, "Ignite"}};
    EXPECT_FALSE(state.complete(key, started, spells));
    EXPECT_EQ(state.cached(key), std::optional<SpellRecState::Entry>(spells));
    state.reset();
    EXPECT_EQ(state.generation(), 2);
    EXPECT_FALSE(state.complete(key, 1, std::vector<SpellRec> {}));
    EXPECT_EQ(state.cached(key), std::optional<SpellRecState::Entry>(std::vector<SpellRec> {}));
}

TEST(SpellRecState, KeysKeepRolesAndNamesApart)
{
    EXPECT_NE(SpellRecState::key("A", MetaRole::mid, "B"), SpellRecState::key("A", MetaRole::unknown, "B"));
    EXPECT_EQ(SpellRecState::key("A|x", MetaRole::top, " B"), QStringLiteral("A|x|top| B"));
}

} // namespace
