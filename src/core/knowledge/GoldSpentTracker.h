#pragma once
// Gold spent, inferred from inventories: per player, per team with the leading side, and the
// local player against their lane opponent.

#include "core/gameclient/AllGameData.h"
#include "core/knowledge/ResolvedSelf.h"

#include <QString>

#include <cstdint>
#include <optional>
#include <unordered_map>
#include <vector>

namespace tolvane {

class ItemCatalog;

class GoldSpentTracker {
public:
    struct PlayerGold {
        QString champion;
        QString team;
        int64_t gold = 0;
        bool operator==(const PlayerGold&) const = default;
    };

    struct Lead {
        enum class Side { order, chaos, even };
        Side side = Side::even;
        int64_t amount = 0; // above 0 unless even

        static Lead order(int64_t n) { return {Side::order, n}; }
        static Lead chaos(int64_t n) { return {Side::chaos, n}; }
        static Lead even() { return {}; }
        bool operator==(const Lead&) const = default;
    };

    struct Summary {
        std::vector<PlayerGold> perPlayer;
        int64_t orderTotal = 0;
        int64_t chaosTotal = 0;
        Lead lead;
        bool operator==(const Summary&) const = default;
    };

    struct LaneMatchup {
        QString youChampion;
        int64_t youGold = 0;
        std::optional<QString> position;
        std::optional<QString> lanerChampion;
        std::optional<int64_t> lanerGold;

        std::optional<int64_t> delta() const;
        bool hasLaner() const { return lanerChampion && lanerGold; }
        bool operator==(const LaneMatchup&) const = default;
    };

    GoldSpentTracker() = default;
    explicit GoldSpentTracker(std::unordered_map<int64_t, int64_t> priceTable)
        : priceTable(std::move(priceTable))
    {
    }
    // Prices every item at its full catalog cost.
    static GoldSpentTracker fromCatalog(const ItemCatalog& catalog);

    std::unordered_map<int64_t, int64_t> priceTable;

    int64_t goldSpent(const LivePlayer& player) const;
    Summary summarize(const std::vector<LivePlayer>& players) const;
    // The same into a summary kept from an earlier poll, whose storage it reuses: a name that
    // has not changed is compared rather than copied again.
    void summarizeInto(const std::vector<LivePlayer>& players, Summary& summary) const;
    LaneMatchup laneMatchup(const ResolvedSelf& you, const std::vector<LivePlayer>& players) const;
    // The one enemy left once every other lane is accounted for by a single enemy.
    static std::optional<LivePlayer> deducedLaner(const QString& yourPosition, const std::vector<LivePlayer>& enemies);
};

} // namespace tolvane
