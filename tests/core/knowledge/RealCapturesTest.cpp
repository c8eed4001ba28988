// The whole per-snapshot analysis over every real capture, with the real 15.4.1 catalogs and the
// shipped tables: nothing fails, and the results are the ones a player would call right.

#include "core/knowledge/CDTimeFormat.h"
#include "core/knowledge/ChampionCatalog.h"
#include "core/knowledge/CounterBuildEngine.h"
#include "core/knowledge/EnemyAbilityHaste.h"
#include "core/knowledge/FarmBenchmark.h"
#include "core/knowledge/GoldSpentTracker.h"
#include "core/knowledge/ItemCatalog.h"
#include "core/knowledge/ResolvedSelf.h"
#include "core/knowledge/SummonerCooldowns.h"

#include "Await.h"

#include <gtest/gtest.h>

#include <QDir>

#include <cmath>
#include <set>

using namespace tolvane;
using namespace tolvane::test;

namespace {

struct Knowledge {
    ItemCatalog items = *ItemCatalog::decode(realData("ddragon/15.4.1/data/en_US/item.json")).value;
    ChampionCatalog champions
        = *ChampionCatalog::decode(realData("ddragon/15.4.1/data/en_US/champion.json"), "15.4.1").value;
    CounterRules rules = CounterRulesLoader().load();
    SummonerCooldowns cooldowns = SummonerCooldownsLoader().load();
    FarmBenchmark farm = FarmBenchmarkLoader().load();
};

const Knowledge& knowledge()
{
    static const Knowledge k;
    return k;
}

AllGameData capture(const QString& name)
{
    auto decoded = AllGameData::decode(realData("allgamedata/" + name));
    if (!decoded)
        ADD_FAILURE() << name.toStdString() << ": " << decoded.error.toStdString();
    return decoded.value.value_or(AllGameData {});
}

QStringList allCaptures()
{
    return QDir(realDataPath(QStringLiteral("allgamedata"))).entryList({"*.json"}, QDir::Files, QDir::Name);
}

} // namespace

class EveryCapture : public ::testing::TestWithParam<QString> { };

TEST_P(EveryCapture, AnalysisHoldsTogether)
{
    const Knowledge& k = knowledge();
    const AllGameData game = capture(GetParam());
    const auto self = ResolvedSelf::resolve(game);
    const GoldSpentTracker tracker = GoldSpentTracker::fromCatalog(k.items);

    const auto summary = tracker.summarize(game.allPlayers);
    ASSERT_EQ(summary.perPlayer.size(), game.allPlayers.size());
    int64_t order = 0, chaos = 0;
    for (const auto& entry : summary.perPlayer) {
        EXPECT_GE(entry.gold, 0);
        (entry.team == "ORDER" ? order : chaos) += entry.gold;
    }
    EXPECT_EQ(summary.orderTotal, order);
    EXPECT_EQ(summary.chaosTotal, chaos);

    const CounterBuildAdvice advice
        = CounterBuildEngine().recommend(game.allPlayers, self, k.champions, k.rules, game.gameData.gameMode);
    EXPECT_EQ(advice.threat.has_value(), self.has_value());
    if (advice.threat) {
        const ThreatProfile& t = *advice.threat;
        int64_t enemies = 0;
        for (const LivePlayer& p : game.allPlayers)
            enemies += p.team != self->team ? 1 : 0;
        EXPECT_EQ(t.adCount + t.apCount + t.mixedCount + t.unknownCount, enemies);
    }
    if (advice.shortlist.isItems()) {
        const auto& items = std::get<Shortlist::Items>(advice.shortlist.value).items;
        EXPECT_LE(items.size(), 5u);
        std::set<int64_t> seen;
        for (const RankedItem& item : items) {
            EXPECT_TRUE(seen.insert(item.id).second) << item.id;
            EXPECT_TRUE(k.items.goldCost(item.id)) << item.id;
            EXPECT_EQ(item.owned, self->ownedItemIDs.contains(item.id));
            EXPECT_FALSE(item.reason.isEmpty());
        }
    }

    // Enemy cooldown cells: every spell the table knows gets a finite, positive cooldown.
    const bool aram = game.gameData.mapNumber == 12;
    const auto mode = EnemyAbilityHaste::mode(game.gameData.gameMode, game.gameData.mapNumber);
    for (const LivePlayer& p : game.allPlayers) {
        if (!p.summonerSpells)
            continue;
        for (const LiveSummonerSpell* spell :
            {&p.summonerSpells->summonerSpellOne, &p.summonerSpells->summonerSpellTwo}) {
            const auto key = spell->spellKey();
            if (!key)
                continue;
            const auto cd = k.cooldowns.effectiveCD(*key, p.items, game.gameData.gameTime, p.level, aram);
            if (cd) {
                EXPECT_TRUE(std::isfinite(*cd) && *cd > 0) << key->toStdString();
                EXPECT_FALSE(CDTimeFormat(CDTimeFormat::minutesSeconds).string(*cd).isEmpty());
            }
        }
        std::vector<int64_t> ids;
        for (const LiveItem& item : p.items)
            ids.push_back(item.itemID);
        EXPECT_GE(EnemyAbilityHaste::assumed(p.championName, ids, mode), EnemyAbilityHaste::defaultRuneHaste);
    }
    EXPECT_GE(k.farm.laneCSAvailable(game.gameData.gameTime), 0);
}

INSTANTIATE_TEST_SUITE_P(Real, EveryCapture, ::testing::ValuesIn(allCaptures().toVector()), [](const auto& info) {
    return QString(info.param).remove(".json").replace(QLatin1Char('.'), QLatin1Char('_')).toStdString();
});
// Without the real documents there is nothing to list; the spot checks below report the skip.
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(EveryCapture);

// Spot checks, worked out by hand from the documents.
TEST(RealCaptures, RankedGameFromTheSupportsSeat)
{
    const Knowledge& k = knowledge();
    const AllGameData game = capture("sr_ranked_11.21_local_player.json");
    const auto self = ResolvedSelf::resolve(game);
    ASSERT_TRUE(self);
    EXPECT_EQ(self->championName, "Zyra");
    EXPECT_EQ(self->team, "ORDER");
    EXPECT_TRUE(self->ownedItemIDs.contains(3157));

    const auto matchup = GoldSpentTracker::fromCatalog(k.items).laneMatchup(*self, game.allPlayers);
    EXPECT_EQ(matchup.position, "UTILITY");
    EXPECT_EQ(matchup.lanerChampion, "Lux");
    // Catalog prices where 15.4.1 knows the item, the snapshot's price where it does not.
    EXPECT_EQ(matchup.youGold, 6250);
    EXPECT_EQ(matchup.lanerGold, 8775);
    EXPECT_EQ(matchup.delta(), -2525);
    const auto summary = GoldSpentTracker::fromCatalog(k.items).summarize(game.allPlayers);
    EXPECT_EQ(summary.lead, GoldSpentTracker::Lead::order(54265 - 47025));

    // Four physical threats, Lux, three hard crowd-control effects, Viego an assassin.
    const auto advice = CounterBuildEngine().recommend(game.allPlayers, self, k.champions, k.rules, "CLASSIC");
    EXPECT_EQ(*advice.threat, (ThreatProfile {4, 1, 0, 0, CCCoverage::exact(3), true}));
    EXPECT_FALSE(advice.stale);
    ASSERT_TRUE(advice.shortlist.isItems());
    const auto& items = std::get<Shortlist::Items>(advice.shortlist.value).items;
    const std::vector<RankedItem> expected {{3047, "Plated Steelcaps", "vs AD", false},
        {3143, "Randuin's Omen", "vs AD", false}, {3110, "Frozen Heart", "vs AD", false},
        {3102, "Banshee's Veil", "3 CC", false}, {3190, "Locket of the Iron Solari", "vs assassin dive", false}};
    EXPECT_EQ(items, expected); // Zhonya's scores highest but is owned, so it does not come back
}

TEST(RealCaptures, OtherSeatsAndSpectators)
{
    const Knowledge& k = knowledge();
    const GoldSpentTracker tracker = GoldSpentTracker::fromCatalog(k.items);

    const AllGameData brand = capture("sr_2022_local_player.json");
    const auto brandSelf = ResolvedSelf::resolve(brand);
    ASSERT_TRUE(brandSelf);
    EXPECT_EQ(brandSelf->championName, "Brand");
    EXPECT_EQ(tracker.laneMatchup(*brandSelf, brand.allPlayers).lanerChampion, "Lux");

    // Versus bots without positions: the player is found, no lane opponent is guessed.
    const AllGameData ashe = capture("sr_vs_bot_2021_local_player.json");
    const auto asheSelf = ResolvedSelf::resolve(ashe);
    ASSERT_TRUE(asheSelf);
    EXPECT_EQ(asheSelf->championName, "Ashe");
    EXPECT_FALSE(tracker.laneMatchup(*asheSelf, ashe.allPlayers).hasLaner());

    // Practice tool: the threat readout only.
    const AllGameData practice = capture("practicetool_11.21_b_vs_bot.json");
    const auto advice = CounterBuildEngine().recommend(
        practice.allPlayers, ResolvedSelf::resolve(practice), k.champions, k.rules, practice.gameData.gameMode);
    EXPECT_EQ(advice.shortlist, Shortlist::readoutOnly());
    EXPECT_EQ(advice.threat->apCount, 1); // Karthus

    // Spectator documents have no local player; the 2020 capture names one who is not in the list.
    for (const char* name : {"sr_ranked_11.21_spectator.json", "aram_2020_spectator.json", "sr_2020_spectator.json",
             "sr_spectator_2025_zh_CN_localized.json", "sr_2020_local_player.json"})
        EXPECT_FALSE(ResolvedSelf::resolve(capture(name))) << name;
}

TEST(RealCaptures, AramCooldownsCarryTheAura)
{
    const Knowledge& k = knowledge();
    const AllGameData game = capture("aram_2020_spectator.json");
    ASSERT_EQ(game.gameData.mapNumber, 12);
    const LivePlayer& kaisa = game.allPlayers.front();
    ASSERT_TRUE(kaisa.summonerSpells);
    const auto key = kaisa.summonerSpells->summonerSpellOne.spellKey();
    ASSERT_TRUE(key);
    const double base = k.cooldowns.spells.at(*key);
    EXPECT_DOUBLE_EQ(*k.cooldowns.effectiveCD(*key, kaisa.items, game.gameData.gameTime, kaisa.level, true),
        base * 100 / (100 + *k.cooldowns.aramAuraSSH));
}
