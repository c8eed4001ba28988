#pragma once
// The hand-curated counter-item table: per item the threats it answers and the classes it suits,
// per champion corrections to the damage class and its crowd-control count.

#include "core/knowledge/CounterBuildTypes.h"
#include "core/support/Json.h"
#include "core/support/ResourceBundle.h"

#include <QByteArrayView>
#include <QHash> // std::hash<QString>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>
#include <unordered_map>
#include <vector>

namespace tolvane {

struct CounterRules {
    struct ChampOverride {
        std::optional<DamageType> damageType;
        std::optional<int64_t> cc; // absent: unknown, which makes the team's total partial

        bool operator==(const ChampOverride&) const = default;
    };

    struct ItemRule {
        int64_t id = 0;
        QString name;
        QStringList counters; // "ad", "ap", "cc", "assassin"
        QStringList classFit; // empty: suits every champion
        int64_t priority = 0; // lower first
        bool generic = false; // may fill a short list
        std::optional<QString> group; // members are alternatives: at most one is offered

        bool operator==(const ItemRule&) const = default;
    };

    QString targetPatch;
    std::unordered_map<QString, ChampOverride> champOverrides; // by champion display name
    std::vector<ItemRule> items;

    static const CounterRules& empty();
    // Every rule's id in file order, duplicates kept (checked against the item catalog at start).
    std::vector<int64_t> allItemIDs() const;

    static json::Decoded<CounterRules> decode(QByteArrayView bytes);
    bool operator==(const CounterRules&) const = default;
};

struct CounterRulesLoader {
    // Reads "counter-rules.json"; a missing or bad file is logged and gives the empty table.
    CounterRules load(const ResourceBundle& bundle = tolvaneCoreBundle()) const;
};

} // namespace tolvane
