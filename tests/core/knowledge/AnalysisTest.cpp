#include "core/knowledge/CounterBuildEngine.h"
#include "core/knowledge/GoldSpentTracker.h"
#include "core/knowledge/ResolvedSelf.h"

#include <algorithm>

#include <gtest/gtest.h>

using namespace tolvane;

namespace {

LivePlayer player(const QString& champion, const QString& team, std::optional<QString> position = std::nullopt,
    std::vector<LiveItem> items = {})
{
    LivePlayer p;
    p.championName = champion;
    p.team = team;
    p.position = std::move(position);
    p.items = std::move(items);
    return p;
}

LivePlayer named(std::optional<QString> summoner, std::optional<QString> riotId, const QString& champion)
{
    LivePlayer p = player(champion, QStringLiteral("ORDER"));
    p.summonerName = std::move(summoner);
    p.riotIdGameName = std::move(riotId);
    return p;
}

} // namespace

// Finding the local player.
TEST(ResolveSelf, MatchesByPlayerInOrder_RiotIdThenSummonerName)
{
    AllGameData game;
    game.allPlayers = {named("Other", std::nullopt, "A"), named("Me", "Nobody", "B"), named("X", "MeRiot", "C")};
    game.activePlayer = ActivePlayer {QStringLiteral("Me"), QStringLiteral("MeRiot")};
    // B matches by summoner name and comes before C, which would match by Riot id.
    EXPECT_EQ(ResolvedSelf::resolve(game)->championName, QStringLiteral("B"));

    game.activePlayer = ActivePlayer {QStringLiteral("Me"), QString()};
    EXPECT_EQ(ResolvedSelf::resolve(game)->championName, QStringLiteral("B"));
    game.activePlayer = ActivePlayer {std::nullopt, QStringLiteral("MeRiot")};
    EXPECT_EQ(ResolvedSelf::resolve(game)->championName, QStringLiteral("C"));
    game.activePlayer = ActivePlayer {QStringLiteral("me"), std::nullopt};
    EXPECT_FALSE(ResolvedSelf::resolve(game));
}

TEST(ResolveSelf, NeedsAnActivePlayerWithAUsableName)
{
    AllGameData game;
    game.allPlayers = {named(QString(), QString(), "A")};
    EXPECT_FALSE(ResolvedSelf::resolve(game));
    game.activePlayer = ActivePlayer {QString(), QString()};
    EXPECT_FALSE(ResolvedSelf::resolve(game));
    game.activePlayer = ActivePlayer {};
    EXPECT_FALSE(ResolvedSelf::resolve(game));
}

TEST(ResolveSelf, CollapsesTheInventoryToASetOfIds)
{
    AllGameData game;
    LivePlayer me = named("Me", std::nullopt, "A");
    me.position = QStringLiteral("TOP");
    me.items = {{1001, 300, 1}, {1001, 300, 1}, {2003, 50, 3}};
    game.allPlayers = {me};
    game.activePlayer = ActivePlayer {QStringLiteral("Me"), std::nullopt};
    const auto self = ResolvedSelf::resolve(game);
    ASSERT_TRUE(self);
    EXPECT_EQ(self->ownedItemIDs, (ItemIDSet {1001, 2003}));
    EXPECT_EQ(self->position, QStringLiteral("TOP"));
    game.allPlayers[0].items.clear();
    EXPECT_TRUE(ResolvedSelf::resolve(game)->ownedItemIDs.empty());
}

// What a view model keeps from poll to poll is what resolving the snapshot anew would give, as
// the player buys, sells, moves or is gone.
TEST(ResolveSelf, RefreshedKeepsWhatResolvingAnewGives)
{
    AllGameData game;
    LivePlayer me = named("Me", std::nullopt, "A");
    me.position = QStringLiteral("TOP");
    me.items = {{1001, 300, 1}};
    game.allPlayers = {named("Other", std::nullopt, "B"), me};
    game.activePlayer = ActivePlayer {QStringLiteral("Me"), std::nullopt};
    std::optional<ResolvedSelf> kept;
    const auto expectSame = [&](const char* step) {
        ResolvedSelf::refresh(kept, game);
        EXPECT_EQ(kept, ResolvedSelf::resolve(game)) << step;
    };
    LivePlayer& mine = game.allPlayers[1];
    expectSame("first poll");
    expectSame("nothing changed");
    mine.items.push_back({2003, 50, 1});
    expectSame("bought one");
    mine.items.push_back({2003, 50, 1});
    expectSame("the same again: one more slot, no new id");
    mine.items = {{2003, 50, 1}, {1001, 300, 1}, {2003, 50, 1}};
    expectSame("reordered");
    mine.items = {{2003, 50, 1}, {2003, 50, 1}, {3006, 1100, 1}};
    expectSame("one sold for another, as many slots as before");
    mine.items.clear();
    expectSame("everything sold");
    mine.position = QStringLiteral("MIDDLE");
    expectSame("moved");
    mine.championName = QStringLiteral("C");
    expectSame("another champion");
    mine.team = QStringLiteral("CHAOS");
    expectSame("another team");
    game.activePlayer = ActivePlayer {QStringLiteral("Nobody"), std::nullopt};
    expectSame("gone");
    game.activePlayer = ActivePlayer {QStringLiteral("Me"), std::nullopt};
    mine.items.assign(40, LiveItem {1001, 300, 1});
    expectSame("back, with more items than a player can carry");
}

// A summary worked out over the last poll's comes out as one worked out afresh.
TEST(GoldSpent, ASummaryKeptFromTheLastPollComesOutAsAFreshOne)
{
    const GoldSpentTracker tracker;
    std::vector<LivePlayer> players {player("A", "ORDER", std::nullopt, {{1001, 300, 1}}),
        player("B", "CHAOS", std::nullopt, {{1001, 300, 2}}), player("C", "ORDER")};
    GoldSpentTracker::Summary kept;
    tracker.summarizeInto(players, kept);
    EXPECT_EQ(kept, tracker.summarize(players));
    players = {player("D", "CHAOS", std::nullopt, {{1001, 300, 1}}), player("A", "ORDER")};
    tracker.summarizeInto(players, kept);
    EXPECT_EQ(kept, tracker.summarize(players));
    EXPECT_EQ(kept.lead, GoldSpentTracker::Lead::chaos(300));
    players.clear();
    tracker.summarizeInto(players, kept);
    EXPECT_EQ(kept, tracker.summarize(players));
}

TEST(ThreatProfileWeights, AmbiguityIsAStrictlyBelowOneDifference)
{
    const ThreatProfile profile {2, 1, 1, 0, CCCoverage::atLeast(0), false};
    EXPECT_DOUBLE_EQ(profile.adWeight(), 2.5);
    EXPECT_DOUBLE_EQ(profile.apWeight(), 1.5);
    EXPECT_FALSE(profile.damageAmbiguous());
    EXPECT_TRUE((ThreatProfile {1, 1, 0, 0, {}, false}).damageAmbiguous());
}

// The counter-build engine.
class CounterEngine : public ::testing::Test {
protected:
    CounterBuildEngine engine;
    ChampionCatalog catalog;
    CounterRules rules;

    void SetUp() override
    {
        catalog.patch = QStringLiteral("14.23.1");
        auto add = [&](const QString& name, QStringList tags, int64_t attack, int64_t magic) {
            catalog.byName[name] = ChampionInfo {name, std::nullopt, std::move(tags), attack, magic};
        };
        add("Bruiser", {"Fighter", "Mage"}, 6, 6);
        add("Carry", {"Fighter"}, 8, 2);
        add("Blade", {"Mage", "Assassin"}, 2, 9);
        add("Wizard", {"Mage"}, 1, 10);
        add("Shooter", {"Marksman"}, 9, 1);
        rules.targetPatch = QStringLiteral("14.23");
    }

    static CounterRules::ItemRule rule(int64_t id, QStringList counters, int64_t priority, bool generic = false,
        std::optional<QString> group = std::nullopt, QStringList classFit = {})
    {
        return {id, QStringLiteral("Item %1").arg(id), std::move(counters), std::move(classFit), priority, generic,
            std::move(group)};
    }
    static std::vector<int64_t> ids(const std::vector<RankedItem>& items)
    {
        std::vector<int64_t> out;
        for (const RankedItem& item : items)
            out.push_back(item.id);
        return out;
    }
};

TEST_F(CounterEngine, HeuristicNeedsAClearRatingLeadAndMatchingTags)
{
    EXPECT_EQ(engine.classify("Bruiser", catalog, rules), DamageType::unknown);
    EXPECT_EQ(engine.classify("Carry", catalog, rules), DamageType::ad);
    EXPECT_EQ(engine.classify("Blade", catalog, rules), DamageType::unknown); // a physical tag blocks ap
    EXPECT_EQ(engine.classify("Wizard", catalog, rules), DamageType::ap);
    EXPECT_EQ(engine.classify("Nobody", catalog, rules), DamageType::unknown);
    rules.champOverrides["Wizard"] = {DamageType::mixed, std::nullopt};
    EXPECT_EQ(engine.classify("Wizard", catalog, rules), DamageType::mixed);
    // Absurd ratings must not overflow the comparison.
    EXPECT_EQ(CounterBuildEngine::heuristic({"X", {}, {"Fighter"}, INT64_MAX, INT64_MIN}), DamageType::ad);
    EXPECT_EQ(CounterBuildEngine::heuristic({"X", {}, {"Mage"}, INT64_MAX, INT64_MIN}), DamageType::unknown);
}

TEST_F(CounterEngine, ThreatCountsClassesCrowdControlAndAssassins)
{
    const std::vector<int64_t> cc {1, 0, 2, 1};
    const QStringList names {"Carry", "Wizard", "Shooter", "Bruiser"};
    std::vector<LivePlayer> enemies;
    for (qsizetype i = 0; i < names.size(); ++i) {
        rules.champOverrides[names[i]] = {std::nullopt, cc[size_t(i)]};
        enemies.push_back(player(names[i], "CHAOS"));
    }
    EXPECT_EQ(engine.computeThreatProfile(enemies, catalog, rules).ccCoverage, CCCoverage::exact(4));
    enemies.push_back(player("Blade", "CHAOS"));
    const ThreatProfile threat = engine.computeThreatProfile(enemies, catalog, rules);
    EXPECT_EQ(threat.ccCoverage, CCCoverage::atLeast(4));
    EXPECT_EQ((std::array {threat.adCount, threat.apCount, threat.mixedCount, threat.unknownCount}),
        (std::array<int64_t, 4> {2, 1, 0, 2}));
    EXPECT_TRUE(threat.assassinThreat);
    EXPECT_EQ(engine.computeThreatProfile({}, catalog, rules).ccCoverage, CCCoverage::exact(0));
    // An assassin missing from the catalog does not count, whatever its override says.
    EXPECT_FALSE(engine.computeThreatProfile({player("Ghost", "CHAOS")}, catalog, rules).assassinThreat);
}

TEST_F(CounterEngine, RecommendsOnlyForAKnownPlayerInClassicGames)
{
    rules.items = {rule(1, {"ad"}, 1)};
    const std::vector<LivePlayer> players {player("Wizard", "ORDER"), player("Carry", "CHAOS")};
    const auto none = engine.recommend(players, std::nullopt, catalog, rules, "CLASSIC");
    EXPECT_EQ(none.threat, std::nullopt);
    EXPECT_EQ(none.shortlist, Shortlist::unavailable("champion not identified"));

    const ResolvedSelf you {"Wizard", "ORDER", {}, "MIDDLE"};
    const auto aram = engine.recommend(players, you, catalog, rules, "ARAM");
    EXPECT_EQ(aram.shortlist, Shortlist::readoutOnly());
    EXPECT_EQ(aram.threat->adCount, 1);
    for (const std::optional<QString>& mode : {std::optional<QString>(), std::optional<QString>("CLASSIC")}) {
        const auto advice = engine.recommend(players, you, catalog, rules, mode);
        ASSERT_TRUE(advice.shortlist.isItems());
        EXPECT_EQ(std::get<Shortlist::Items>(advice.shortlist.value).items,
            (std::vector<RankedItem> {{1, "Item 1", "vs AD", false}}));
    }
}

TEST_F(CounterEngine, StalenessComparesMajorAndMinorOnly)
{
    EXPECT_FALSE(CounterBuildEngine::isStale("14.23.1", "14.23"));
    EXPECT_TRUE(CounterBuildEngine::isStale("14.24.1", "14.23.1"));
    EXPECT_FALSE(CounterBuildEngine::isStale("", "14.23.1"));
    EXPECT_FALSE(CounterBuildEngine::isStale("14.24.1", ""));
    EXPECT_FALSE(CounterBuildEngine::isStale("14..23", "14.23.9"));
    EXPECT_TRUE(CounterBuildEngine::isStale("14.3", "14.03"));
    rules.targetPatch = "14.22.1";
    EXPECT_TRUE(engine.recommend({}, std::nullopt, catalog, rules, std::nullopt).stale);
}

TEST_F(CounterEngine, GroupsOfferOneAlternative)
{
    const ThreatProfile threat {3, 0, 0, 0, {}, false};
    rules.items = {rule(10, {"ad"}, 2, false, "boots"), rule(11, {"ad"}, 1, false, "boots")};
    EXPECT_EQ(ids(CounterBuildEngine::rankItems(threat, {}, {}, rules)), (std::vector<int64_t> {11}));
    // Owning one member makes it the representative (shown after the picks, as owned).
    rules.items.push_back(rule(20, {"ad"}, 3));
    const auto owned = CounterBuildEngine::rankItems(threat, {}, {10}, rules);
    EXPECT_EQ(owned, (std::vector<RankedItem> {{20, "Item 20", "vs AD", false}, {10, "Item 10", "vs AD", true}}));
}

TEST_F(CounterEngine, PicksTopFiveThenFillersThenOwnedItems)
{
    const ThreatProfile threat {3, 1, 0, 0, CCCoverage::exact(1), false};
    for (int64_t id = 1; id <= 6; ++id)
        rules.items.push_back(rule(id, {"ad"}, id));
    EXPECT_EQ(ids(CounterBuildEngine::rankItems(threat, {}, {}, rules)), (std::vector<int64_t> {1, 2, 3, 4, 5}));

    rules.items = {rule(1, {"ad"}, 5), rule(2, {"ap"}, 1), rule(3, {"cc"}, 9, true), rule(4, {}, 2, true),
        rule(5, {"ad"}, 3), rule(6, {"ad"}, 4), rule(7, {"ad"}, 6)};
    // 1 and 2 score; 3 and 4 are generic fillers (lowest priority first); 5, 6 owned and scoring.
    const auto items = CounterBuildEngine::rankItems(threat, {}, {5, 6, 7}, rules);
    EXPECT_EQ(ids(items), (std::vector<int64_t> {1, 2, 4, 5, 6}));
    EXPECT_EQ(items[2].reason, "defensive");
    EXPECT_TRUE(items[3].owned);

    rules.items = {rule(1, {"ad"}, 1)};
    EXPECT_TRUE(CounterBuildEngine::rankItems(threat, {}, {1}, rules).empty());
}

TEST_F(CounterEngine, ClassFitLimitsTheRules)
{
    const ThreatProfile threat {3, 0, 0, 0, {}, false};
    rules.items = {rule(1, {"ad"}, 1, false, std::nullopt, {"Mage"}), rule(2, {"ad"}, 2)};
    EXPECT_EQ(ids(CounterBuildEngine::rankItems(threat, {}, {}, rules)), (std::vector<int64_t> {2}));
    EXPECT_EQ(ids(CounterBuildEngine::rankItems(threat, {"Mage"}, {}, rules)), (std::vector<int64_t> {1, 2}));
}

TEST_F(CounterEngine, ReasonsFollowTheThreat)
{
    rules.items = {rule(1, {"ad", "ap"}, 1)};
    auto reasonAgainst
        = [&](ThreatProfile threat) { return CounterBuildEngine::rankItems(threat, {}, {}, rules).front().reason; };
    EXPECT_EQ(reasonAgainst({3, 1, 0, 0, {}, false}), "vs AD");
    EXPECT_EQ(reasonAgainst({2, 1, 0, 1, {}, false}), "vs AD");
    EXPECT_EQ(reasonAgainst({1, 1, 1, 0, {}, false}), "vs mixed");
    EXPECT_EQ(reasonAgainst({0, 3, 0, 0, {}, false}), "vs AP");
    rules.items = {rule(1, {"cc", "ad"}, 1)};
    EXPECT_EQ(reasonAgainst({3, 0, 0, 0, CCCoverage::atLeast(3), false}), "≥3 CC");
    EXPECT_EQ(reasonAgainst({3, 0, 0, 0, CCCoverage::exact(2), false}), "2 CC");
    rules.items = {rule(1, {"assassin", "ap"}, 1)};
    EXPECT_EQ(reasonAgainst({0, 2, 0, 0, {}, true}), "vs assassin dive");
}

// Gold spent and the lane matchup.
TEST(GoldSpent, PricesFromTheTableElseTheSnapshot)
{
    const LivePlayer p = player("A", "ORDER", std::nullopt, {{1, 100, 1}, {2, 50, 3}});
    EXPECT_EQ(GoldSpentTracker().goldSpent(p), 250);
    EXPECT_EQ(GoldSpentTracker(std::unordered_map<int64_t, int64_t> {{1, 1000}}).goldSpent(p), 1150);
    EXPECT_EQ(GoldSpentTracker().goldSpent(player("A", "ORDER")), 0);
    const LivePlayer hostile = player("A", "ORDER", std::nullopt, {{1, INT64_MAX, 2}, {2, INT64_MAX, 1}});
    EXPECT_EQ(GoldSpentTracker().goldSpent(hostile), INT64_MAX);
}

TEST(GoldSpent, SummarizesTeamsAndTheLead)
{
    const GoldSpentTracker tracker;
    const auto summary = tracker.summarize({player("A", "ORDER", {}, {{1, 900, 1}}),
        player("B", "CHAOS", {}, {{1, 200, 1}}), player("C", "NEUTRAL", {}, {{1, 5000, 1}})});
    EXPECT_EQ(summary.perPlayer.size(), 3u);
    EXPECT_EQ(summary.orderTotal, 900);
    EXPECT_EQ(summary.chaosTotal, 200);
    EXPECT_EQ(summary.lead, GoldSpentTracker::Lead::order(700));
    EXPECT_EQ(tracker.summarize({}).lead, GoldSpentTracker::Lead::even());
    EXPECT_EQ(tracker.summarize({player("B", "CHAOS", {}, {{1, 1, 1}})}).lead, GoldSpentTracker::Lead::chaos(1));
}

class LaneMatchup : public ::testing::Test {
protected:
    GoldSpentTracker tracker;
    ResolvedSelf you {"Me", "ORDER", {}, "MIDDLE"};
    std::vector<LivePlayer> players {player("Me", "ORDER", "MIDDLE", {{1, 400, 1}}), player("Top", "CHAOS", "TOP"),
        player("Jungle", "CHAOS", "JUNGLE"), player("Bottom", "CHAOS", "BOTTOM"), player("Support", "CHAOS", "UTILITY"),
        player("Mid", "CHAOS", std::nullopt, {{1, 450, 1}})};
};

TEST_F(LaneMatchup, FindsTheOpponentByPositionOrByElimination)
{
    auto matchup = tracker.laneMatchup(you, players);
    EXPECT_EQ(matchup.lanerChampion, "Mid");
    EXPECT_EQ(matchup.delta(), -50);
    EXPECT_TRUE(matchup.hasLaner());
    // The enemy holding each other lane is struck off wherever it stands: here after the one left.
    std::vector<LivePlayer> reordered = players;
    std::rotate(reordered.begin() + 1, reordered.begin() + 5, reordered.end());
    EXPECT_EQ(tracker.laneMatchup(you, reordered).lanerChampion, "Mid");
    players[5].position = "MIDDLE";
    EXPECT_EQ(tracker.laneMatchup(you, players).lanerChampion, "Mid");
    players[1].position = "MIDDLE";
    EXPECT_FALSE(tracker.laneMatchup(you, players).hasLaner()); // two claim the lane: no guess
}

TEST_F(LaneMatchup, EliminationNeedsEachOtherLaneHeldByOne)
{
    players[3].position = "TOP";
    EXPECT_FALSE(tracker.laneMatchup(you, players).lanerChampion);
    you.position = "MID";
    players[3].position = "BOTTOM";
    EXPECT_FALSE(tracker.laneMatchup(you, players).lanerChampion);
}

TEST_F(LaneMatchup, NoPositionMeansNoOpponentButGoldStillCounts)
{
    for (const std::optional<QString>& position : {std::optional<QString>(), std::optional<QString>("")}) {
        you.position = position;
        const auto matchup = tracker.laneMatchup(you, players);
        EXPECT_EQ(matchup.position, position);
        EXPECT_EQ(matchup.youGold, 400);
        EXPECT_FALSE(matchup.lanerChampion);
        EXPECT_EQ(matchup.delta(), std::nullopt);
    }
    players.erase(players.begin());
    you.position = "MIDDLE";
    const auto missing = tracker.laneMatchup(you, players);
    EXPECT_EQ(missing.youGold, 0);
    EXPECT_EQ(missing.lanerChampion, "Mid");
}
