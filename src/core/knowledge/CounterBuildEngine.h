#pragma once
// Reads the enemy team's threat (damage classes, crowd control, assassins) from a snapshot and
// ranks the counter items of the shipped rules against it, each with a short reason.

#include "core/gameclient/AllGameData.h"
#include "core/knowledge/ChampionCatalog.h"
#include "core/knowledge/CounterBuildTypes.h"
#include "core/knowledge/CounterRules.h"
#include "core/knowledge/ResolvedSelf.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace tolvane {

class CounterBuildEngine {
public:
    CounterBuildAdvice recommend(const std::vector<LivePlayer>& allPlayers, const std::optional<ResolvedSelf>& you,
        const ChampionCatalog& catalog, const CounterRules& rules, const std::optional<QString>& gameMode) const;
    ThreatProfile computeThreatProfile(
        const std::vector<LivePlayer>& players, const ChampionCatalog& catalog, const CounterRules& rules) const;
    DamageType classify(const QString& championName, const ChampionCatalog& catalog, const CounterRules& rules) const;

    static DamageType heuristic(const ChampionInfo& info);
    // Whether the rules were written for another major.minor version than the champion data.
    static bool isStale(const QString& catalogPatch, const QString& rulesPatch);
    static std::vector<RankedItem> rankItems(
        const ThreatProfile& threat, const QStringList& yourTags, const ItemIDSet& owned, const CounterRules& rules);

private:
    // The profile of the players not in skipTeam (all of them without one).
    ThreatProfile threatOf(const std::vector<LivePlayer>& players, const QString* skipTeam,
        const ChampionCatalog& catalog, const CounterRules& rules) const;
};

} // namespace tolvane
