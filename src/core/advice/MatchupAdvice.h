#pragma once
// What the lane-matchup provider answers: a build plus who the lane favours, the keystone, the
// skill order, the summoner spells and two short texts.

#include "core/advice/MetaBuild.h"

#include <QString>

#include <optional>
#include <variant>
#include <vector>

namespace tolvane {

// Seen from the player's side.
enum class MatchupVerdict { favored, even, unfavored };

struct MatchupExtras {
    MatchupVerdict verdict = MatchupVerdict::even;
    std::optional<QString> keystone;
    std::optional<std::vector<QString>> skillOrder; // "Q", "W", "E" in the order to max them
    std::optional<std::vector<QString>> summonerSpells;
    std::optional<QString> playStyle;
    std::optional<QString> opponentTip;
    QString opponent; // as the lookup was asked for it

    bool operator==(const MatchupExtras&) const = default;
};

struct MatchupBuild {
    MetaBuild build;
    MatchupExtras extras;

    bool operator==(const MatchupBuild&) const = default;
};

using MatchupResult = std::variant<MatchupBuild, Unavailable>;

struct MatchupAdvice {
    MatchupResult result;
    MetaFreshness freshness;
    QString provenance;

    static QString metrionProvenance() { return QStringLiteral("Metrion matchup · all ranks"); }
    static MatchupAdvice unavailable(QString reason)
    {
        return {Unavailable {std::move(reason)}, MetaFreshness::unverified(), metrionProvenance()};
    }

    bool operator==(const MatchupAdvice&) const = default;
};

} // namespace tolvane
