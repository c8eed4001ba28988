#pragma once
// Summoner-spell base cooldowns and haste values from the shipped table, and the effective
// cooldown of one enemy's spell at one moment (item haste, ARAM aura, Teleport's level scaling).

#include "core/gameclient/AllGameData.h"
#include "core/support/Json.h"
#include "core/support/ResourceBundle.h"

#include <QByteArrayView>
#include <QHash> // std::hash<QString>
#include <QString>

#include <cstdint>
#include <optional>
#include <unordered_map>
#include <vector>

namespace tolvane {

struct SummonerCooldowns {
    struct TeleportScaling {
        double unleashedAt = 0; // game time from which the cooldown follows the level
        double maxCD = 0; // at level 1
        double minCD = 0; // at level 18 and above

        double cd(std::optional<int64_t> level) const;
        bool operator==(const TeleportScaling&) const = default;
    };

    SummonerCooldowns() = default;
    SummonerCooldowns(QString targetPatch, double ionianSSH, std::unordered_map<QString, double> spells,
        std::optional<double> aramAuraSSH, std::optional<TeleportScaling> teleport);

    QString targetPatch;
    double ionianSSH = 0;
    std::optional<double> aramAuraSSH;
    std::optional<TeleportScaling> teleport;
    std::unordered_map<QString, double> spells;

    static const SummonerCooldowns& empty();

    // The table key of a raw spell name; every Smite and Teleport variant shares one key.
    static std::optional<QString> spellKey(const QString& fromRaw) { return spellKeyFromRaw(fromRaw); }

    // Seconds of cooldown for key; absent when the table does not know the spell.
    std::optional<double> effectiveCD(const QString& key, const std::vector<LiveItem>& items, double gameTime,
        std::optional<int64_t> level, bool aram) const;

    static json::Decoded<SummonerCooldowns> decode(QByteArrayView bytes);
    bool operator==(const SummonerCooldowns&) const = default;
};

struct SummonerCooldownsLoader {
    // Reads "summoner-cooldowns.json"; a missing or bad file is logged and gives the empty table.
    SummonerCooldowns load(const ResourceBundle& bundle = tolvaneCoreBundle()) const;
};

} // namespace tolvane
