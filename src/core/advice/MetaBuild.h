#pragma once
// The values in which the statistics-service providers hand a popular build to the rest of the
// app, and the build order: the rows the player sees, marked owned, with the row to buy next.

#include "core/advice/MetaQuery.h"
#include "core/knowledge/ItemCatalog.h"

#include <QString>

#include <cstdint>
#include <optional>
#include <set>
#include <variant>
#include <vector>

namespace tolvane {

struct MetaItem {
    int64_t id = 0;
    QString name;

    bool operator==(const MetaItem&) const = default;
};

// A champion the build's champion does well against in lane.
struct CounterEntry {
    int64_t championId = 0;
    QString championName;
    std::optional<double> winRate; // strictly between 0 and 1

    bool operator==(const CounterEntry&) const = default;
};

struct MetaRunePage {
    QString primaryPageName;
    std::vector<int64_t> primaryRuneIds;
    std::vector<QString> primaryRuneNames;
    QString secondaryPageName;
    std::vector<int64_t> secondaryRuneIds;
    std::vector<QString> secondaryRuneNames;
    std::vector<int64_t> statModIds;
    std::optional<double> pickRate; // in (0, 1]
    std::optional<double> winRate; // in (0, 1)

    bool operator==(const MetaRunePage&) const = default;
};

struct BuildSlot;

struct MetaBuild {
    std::vector<MetaItem> starterItems;
    std::optional<MetaItem> boots;
    std::vector<MetaItem> coreItems; // in the service's order, the order shown
    std::vector<std::vector<MetaItem>> situationalSlots; // one list of candidates per later slot
    std::optional<QString> primaryRune;
    MetaRole role = MetaRole::unknown;
    bool roleInferred = false;
    bool aram = false;
    std::optional<MetaRunePage> runePage;
    std::vector<CounterEntry> weakCounters;

    // Counted as boots whatever the item data says.
    static const std::set<int64_t>& knownBootIDs();

    // The rows the player sees, against the items held now: starters, at most one boots row,
    // core items, one row per situational slot; the first unowned core or situational row is next.
    std::vector<BuildSlot> buildOrder(const ItemIDSet& owned, const ItemCatalog& catalog) const;

    bool operator==(const MetaBuild&) const = default;
};

// Why there is no advice, worded for the player.
struct Unavailable {
    QString reason;

    bool operator==(const Unavailable&) const = default;
};

using MetaBuildResult = std::variant<MetaBuild, Unavailable>;

struct MetaFreshness {
    enum class Kind { stale, fresh, unverified };
    Kind kind = Kind::unverified;
    QString staleReason; // only for stale

    static MetaFreshness stale(QString reason) { return {Kind::stale, std::move(reason)}; }
    static MetaFreshness fresh() { return {Kind::fresh, {}}; }
    static MetaFreshness unverified() { return {Kind::unverified, {}}; }

    bool operator==(const MetaFreshness&) const = default;
};

struct MetaBuildAdvice {
    MetaBuildResult result;
    MetaFreshness freshness;
    QString provenance;

    static QString metrionProvenance() { return QStringLiteral("Metrion popular — not recommended"); }
    static MetaBuildAdvice unavailable(QString reason);

    bool operator==(const MetaBuildAdvice&) const = default;
};

// One recommended summoner spell.
struct SpellRec {
    int64_t id = 0;
    QString name;

    bool operator==(const SpellRec&) const = default;
};

struct BuildSlot {
    enum class Kind { starter, boots, core, situational };

    Kind kind = Kind::core;
    MetaItem item;
    bool owned = false;
    bool isNext = false;
    std::vector<MetaItem> alternatives; // other candidates of a situational row

    static QString rawValue(Kind kind); // "starter", "boots", "core", "situational"

    bool operator==(const BuildSlot&) const = default;
};

// Names of the stat-shard runes.
namespace StatShardLabel {
std::optional<QString> label(int64_t runeId);
}

} // namespace tolvane
