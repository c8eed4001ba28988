#include "core/knowledge/GoldSpentTracker.h"

#include "core/knowledge/ItemCatalog.h"

#include <array>
#include <limits>

namespace tolvane {

namespace {

// Gold never comes near 64 bits in a real game; a hostile snapshot saturates instead of
// overflowing.
int64_t add(int64_t a, int64_t b)
{
    int64_t out = 0;
    if (__builtin_add_overflow(a, b, &out))
        return b > 0 ? std::numeric_limits<int64_t>::max() : std::numeric_limits<int64_t>::min();
    return out;
}

int64_t subtract(int64_t a, int64_t b)
{
    int64_t out = 0;
    if (__builtin_sub_overflow(a, b, &out))
        return b < 0 ? std::numeric_limits<int64_t>::max() : std::numeric_limits<int64_t>::min();
    return out;
}

int64_t multiply(int64_t a, int64_t b)
{
    int64_t out = 0;
    if (__builtin_mul_overflow(a, b, &out))
        return (a < 0) == (b < 0) ? std::numeric_limits<int64_t>::max() : std::numeric_limits<int64_t>::min();
    return out;
}

const std::array<QLatin1String, 5> lanes {QLatin1String("TOP"), QLatin1String("JUNGLE"), QLatin1String("MIDDLE"),
    QLatin1String("BOTTOM"), QLatin1String("UTILITY")};

// Index form of the elimination, so the matchup can work on the players it was given.
std::optional<size_t> deduce(const QString& yourPosition, const std::vector<const LivePlayer*>& enemies)
{
    if (std::find(lanes.begin(), lanes.end(), yourPosition) == lanes.end())
        return std::nullopt;
    std::vector<size_t> candidates(enemies.size());
    for (size_t i = 0; i < candidates.size(); ++i)
        candidates[i] = i;
    for (const QLatin1String lane : lanes) {
        if (yourPosition == lane)
            continue;
        std::optional<size_t> only;
        int found = 0;
        for (size_t k = 0; k < candidates.size(); ++k) {
            const LivePlayer* enemy = enemies[candidates[k]];
            if (enemy->position && *enemy->position == lane) {
                ++found;
                only = k;
            }
        }
        if (found == 1)
            candidates.erase(candidates.begin() + std::ptrdiff_t(*only));
    }
    if (candidates.size() != 1)
        return std::nullopt;
    return candidates.front();
}

} // namespace

std::optional<int64_t> GoldSpentTracker::LaneMatchup::delta() const
{
    if (!lanerGold)
        return std::nullopt;
    return subtract(youGold, *lanerGold);
}

GoldSpentTracker GoldSpentTracker::fromCatalog(const ItemCatalog& catalog)
{
    return GoldSpentTracker(catalog.totalCostByID);
}

int64_t GoldSpentTracker::goldSpent(const LivePlayer& player) const
{
    int64_t total = 0;
    for (const LiveItem& item : player.items) {
        int64_t unit = item.price;
        if (!priceTable.empty()) {
            if (const auto it = priceTable.find(item.itemID); it != priceTable.end())
                unit = it->second;
        }
        total = add(total, multiply(unit, item.count));
    }
    return total;
}

GoldSpentTracker::Summary GoldSpentTracker::summarize(const std::vector<LivePlayer>& players) const
{
    Summary summary;
    summarizeInto(players, summary);
    return summary;
}

void GoldSpentTracker::summarizeInto(const std::vector<LivePlayer>& players, Summary& summary) const
{
    summary.perPlayer.resize(players.size());
    summary.orderTotal = 0;
    summary.chaosTotal = 0;
    summary.lead = Lead();
    for (size_t i = 0; i < players.size(); ++i) {
        const LivePlayer& player = players[i];
        PlayerGold& entry = summary.perPlayer[i];
        if (entry.champion != player.championName)
            entry.champion = player.championName;
        if (entry.team != player.team)
            entry.team = player.team;
        entry.gold = goldSpent(player);
        if (entry.team == QLatin1String("ORDER"))
            summary.orderTotal = add(summary.orderTotal, entry.gold);
        else if (entry.team == QLatin1String("CHAOS"))
            summary.chaosTotal = add(summary.chaosTotal, entry.gold);
    }
    if (summary.orderTotal > summary.chaosTotal)
        summary.lead = Lead::order(subtract(summary.orderTotal, summary.chaosTotal));
    else if (summary.chaosTotal > summary.orderTotal)
        summary.lead = Lead::chaos(subtract(summary.chaosTotal, summary.orderTotal));
}

GoldSpentTracker::LaneMatchup GoldSpentTracker::laneMatchup(
    const ResolvedSelf& you, const std::vector<LivePlayer>& players) const
{
    LaneMatchup matchup {you.championName, 0, you.position, std::nullopt, std::nullopt};
    for (const LivePlayer& player : players) {
        if (player.championName == you.championName && player.team == you.team) {
            matchup.youGold = goldSpent(player);
            break;
        }
    }
    if (!you.position || you.position->isEmpty())
        return matchup;

    std::vector<const LivePlayer*> enemies;
    enemies.reserve(players.size());
    const LivePlayer* sameLane = nullptr;
    int sameLaneCount = 0;
    for (const LivePlayer& player : players) {
        if (player.team == you.team)
            continue;
        enemies.push_back(&player);
        if (player.position && *player.position == *you.position) {
            sameLane = &player;
            ++sameLaneCount;
        }
    }
    const LivePlayer* laner = nullptr;
    if (sameLaneCount == 1)
        laner = sameLane;
    else if (sameLaneCount == 0) {
        if (const auto index = deduce(*you.position, enemies))
            laner = enemies[*index];
    }
    if (laner) {
        matchup.lanerChampion = laner->championName;
        matchup.lanerGold = goldSpent(*laner);
    }
    return matchup;
}

std::optional<LivePlayer> GoldSpentTracker::deducedLaner(
    const QString& yourPosition, const std::vector<LivePlayer>& enemies)
{
    std::vector<const LivePlayer*> pointers;
    pointers.reserve(enemies.size());
    for (const LivePlayer& enemy : enemies)
        pointers.push_back(&enemy);
    if (const auto index = deduce(yourPosition, pointers))
        return enemies[*index];
    return std::nullopt;
}

} // namespace tolvane
