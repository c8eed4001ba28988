#pragma once
// The vocabulary of the counter-build advice: damage classes, the enemy team's threat profile,
// the recommended items and what the panel shows.

#include <QString>

#include <cmath>
#include <cstdint>
#include <optional>
#include <variant>
#include <vector>

namespace tolvane {

enum class DamageType { ad, ap, mixed, unknown };

// "ad", "ap", "mixed", "unknown"; anything else is absent.
std::optional<DamageType> damageTypeFromCode(QStringView code);
QString damageTypeCode(DamageType type);

// How many crowd-control effects the enemy team brings; partial when a count was missing.
struct CCCoverage {
    enum class Kind { exact, atLeast };
    Kind kind = Kind::exact;
    int64_t count = 0;

    static CCCoverage exact(int64_t n) { return {Kind::exact, n}; }
    static CCCoverage atLeast(int64_t n) { return {Kind::atLeast, n}; }
    bool isPartial() const { return kind == Kind::atLeast; }
    bool operator==(const CCCoverage&) const = default;
};

struct ThreatProfile {
    int64_t adCount = 0;
    int64_t apCount = 0;
    int64_t mixedCount = 0;
    int64_t unknownCount = 0;
    CCCoverage ccCoverage;
    bool assassinThreat = false;

    double adWeight() const { return double(adCount) + 0.5 * double(mixedCount); }
    double apWeight() const { return double(apCount) + 0.5 * double(mixedCount); }
    bool damageAmbiguous() const { return std::abs(adWeight() - apWeight()) < 1.0; }
    bool operator==(const ThreatProfile&) const = default;
};

struct RankedItem {
    int64_t id = 0;
    QString name;
    QString reason;
    bool owned = false;

    bool operator==(const RankedItem&) const = default;
};

// What the counter-build panel shows under the threat readout.
struct Shortlist {
    struct Items {
        std::vector<RankedItem> items;
        bool operator==(const Items&) const = default;
    };
    struct Unavailable {
        QString text;
        bool operator==(const Unavailable&) const = default;
    };
    struct ReadoutOnly {
        bool operator==(const ReadoutOnly&) const = default;
    };

    std::variant<Items, Unavailable, ReadoutOnly> value;

    static Shortlist items(std::vector<RankedItem> list) { return {Items {std::move(list)}}; }
    static Shortlist unavailable(QString text) { return {Unavailable {std::move(text)}}; }
    static Shortlist readoutOnly() { return {ReadoutOnly {}}; }
    bool isItems() const { return std::holds_alternative<Items>(value); }
    bool operator==(const Shortlist&) const = default;
};

struct CounterBuildAdvice {
    std::optional<ThreatProfile> threat;
    Shortlist shortlist;
    bool stale = false;

    bool operator==(const CounterBuildAdvice&) const = default;
};

} // namespace tolvane
