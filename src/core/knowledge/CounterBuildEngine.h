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
    // The profile of the players of one team, without copying them out first (as the advice's
    // threat is the profile of everyone else).
    ThreatProfile teamThreatProfile(const std::vector<LivePlayer>& players, const QString& team,
        const ChampionCatalog& catalog, const CounterRules& rules) const;
    DamageType classify(const QString& championName, const ChampionCatalog& catalog, const CounterRules& rules) const;

    static DamageType heuristic(const ChampionInfo& info);
    // Whether the rules were written for another major.minor version than the champion data.
    static bool isStale(const QString& catalogPatch, const QString& rulesPatch);
    static std::vector<RankedItem> rankItems(
        const ThreatProfile& threat, const QStringList& yourTags, const ItemIDSet& owned, const CounterRules& rules);

private:
    // The profile of the players in team (sameTeam) or not in it; of all of them without a team.
    ThreatProfile threatOf(const std::vector<LivePlayer>& players, const QString* team, bool sameTeam,
        const ChampionCatalog& catalog, const CounterRules& rules) const;
};

} // namespace tolvane
