// Feeds arbitrary bytes to the decoder of the Live Client's in-game snapshot, as the snapshot loop
// receives them, and runs on every decoded snapshot what the in-game panels compute from it with
// the shipped tables: the local player, gold spent, enemy spell cooldowns and ability haste,
// counter items and the farm benchmark. Checks the decoder's all-or-nothing promise, that the
// same body decodes to the same snapshot again, and what each computation promises of its result.

#include "core/gameclient/AllGameData.h"
#include "core/knowledge/ChampionCatalog.h"
#include "core/knowledge/CounterBuildEngine.h"
#include "core/knowledge/CounterRules.h"
#include "core/knowledge/EnemyAbilityHaste.h"
#include "core/knowledge/FarmBenchmark.h"
#include "core/knowledge/GoldSpentTracker.h"
#include "core/knowledge/ResolvedSelf.h"
#include "core/knowledge/SummonerCooldowns.h"

#include "FuzzCheck.h"

#include <QByteArray>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace {

using namespace tolvane;
using fuzz::require;

struct Tables {
    SummonerCooldowns cooldowns = SummonerCooldownsLoader().load();
    CounterRules rules = CounterRulesLoader().load();
    FarmBenchmark farm = FarmBenchmarkLoader().load();
};

const Tables& tables()
{
    static const Tables loaded;
    return loaded;
}

void checkSelf(const AllGameData& snapshot, const std::optional<ResolvedSelf>& self)
{
    const LivePlayer* found = ResolvedSelf::find(snapshot);
    require(self.has_value() == (found != nullptr), "resolve and find agree");
    if (!self)
        return;
    require(self->championName == found->championName && self->team == found->team, "resolved the found player");
    for (const LiveItem& item : found->items)
        require(self->ownedItemIDs.contains(item.itemID), "every carried item is owned");
}

void checkGold(const AllGameData& snapshot, const std::optional<ResolvedSelf>& self)
{
    const GoldSpentTracker tracker;
    const GoldSpentTracker::Summary summary = tracker.summarize(snapshot.allPlayers);
    require(summary.perPlayer.size() == snapshot.allPlayers.size(), "one gold figure per player");
    using Side = GoldSpentTracker::Lead::Side;
    switch (summary.lead.side) {
    case Side::order:
        require(summary.orderTotal > summary.chaosTotal && summary.lead.amount > 0, "order leads by a positive sum");
        break;
    case Side::chaos:
        require(summary.chaosTotal > summary.orderTotal && summary.lead.amount > 0, "chaos leads by a positive sum");
        break;
    case Side::even:
        require(summary.orderTotal == summary.chaosTotal && summary.lead.amount == 0, "even means equal totals");
        break;
    }
    if (self) {
        const auto matchup = tracker.laneMatchup(*self, snapshot.allPlayers);
        require(matchup.lanerChampion.has_value() == matchup.lanerGold.has_value(), "a laner comes with its gold");
        require(matchup.delta().has_value() == matchup.hasLaner(), "a difference exactly with a laner");
    }
}

void checkEnemies(const AllGameData& snapshot, const std::optional<ResolvedSelf>& self)
{
    const auto mode = EnemyAbilityHaste::mode(snapshot.gameData.gameMode, snapshot.gameData.mapNumber);
    for (const LivePlayer& player : snapshot.allPlayers) {
        std::vector<int64_t> ids;
        for (const LiveItem& item : player.items)
            ids.push_back(item.itemID);
        require(std::isfinite(EnemyAbilityHaste::assumed(player.championName, ids, mode)), "assumed haste finite");
        if (!player.summonerSpells)
            continue;
        for (const LiveSummonerSpell* spell :
            {&player.summonerSpells->summonerSpellOne, &player.summonerSpells->summonerSpellTwo}) {
            const auto key = spell->spellKey();
            if (!key)
                continue;
            require(!key->isEmpty(), "spell keys never empty");
            const auto cd = tables().cooldowns.effectiveCD(
                *key, player.items, snapshot.gameData.gameTime, player.level, mode == EnemyAbilityHaste::Mode::aram);
            require(!cd || (std::isfinite(*cd) && *cd > 0), "a known spell's cooldown is a positive time");
        }
    }

    const CounterBuildAdvice advice = CounterBuildEngine().recommend(
        snapshot.allPlayers, self, ChampionCatalog::empty(), tables().rules, snapshot.gameData.gameMode);
    if (const auto* list = std::get_if<Shortlist::Items>(&advice.shortlist.value)) {
        const std::vector<int64_t> known = tables().rules.allItemIDs();
        require(list->items.size() <= 5, "at most five counter items");
        for (const RankedItem& item : list->items)
            require(std::find(known.begin(), known.end(), item.id) != known.end(), "counter items come from the rules");
    }
}

void checkFarm(const AllGameData& snapshot)
{
    const double time = snapshot.gameData.gameTime;
    const FarmBenchmark& farm = tables().farm;
    require(farm.laneCSAvailable(time) >= 0, "spawned minions never negative");
    require(farm.laneCSAvailable(time) <= farm.laneCSAvailable(time + 60), "more minions as time goes on");
    for (const LivePlayer& player : snapshot.allPlayers) {
        if (!player.scores)
            continue;
        const auto rate = FarmBenchmark::csPerMin(player.scores->creepScore, time);
        require(!rate || std::isfinite(*rate), "farm rate finite");
        const LiveScores& scores = *player.scores;
        if (scores.kills >= 0 && scores.assists >= 0)
            require(scores.takedowns() >= std::max(scores.kills, scores.assists), "takedowns saturate");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::silenceLogs();
    const QByteArray body = fuzz::bytes(data, size);
    const auto decoded = AllGameData::decode(body);
    fuzz::requireDecodeOrError(decoded, "snapshot: a value or an error");
    if (!decoded)
        return 0;
    require(AllGameData::decode(body).value == decoded.value, "the same body gives the same snapshot");

    const AllGameData& snapshot = *decoded.value;
    const auto self = ResolvedSelf::resolve(snapshot);
    checkSelf(snapshot, self);
    checkGold(snapshot, self);
    checkEnemies(snapshot, self);
    checkFarm(snapshot);
    return 0;
}
