#pragma once
// What Data Dragon's item data says about cost and recipes, and the questions the build
// displays ask of it: build path, gold still needed, whether an item is already had, boots line.

#include "core/knowledge/DDragon.h"
#include "core/support/HttpSession.h"
#include "core/support/Json.h"

#include <QByteArrayView>
#include <QString>

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include <QCoroTask>

namespace tolvane {

using ItemIDSet = std::unordered_set<int64_t>;

class ItemCatalog {
public:
    ItemCatalog() = default;
    ItemCatalog(std::unordered_map<int64_t, int64_t> totalCostByID,
        std::unordered_map<int64_t, std::vector<int64_t>> componentsByID,
        std::unordered_map<int64_t, int64_t> specialRecipeByID);

    static const ItemCatalog& empty();

    std::unordered_map<int64_t, int64_t> totalCostByID;
    std::unordered_map<int64_t, std::vector<int64_t>> componentsByID;
    std::unordered_map<int64_t, int64_t> specialRecipeByID; // item -> the item it transforms from

    // Absent when unknown or not above 0.
    std::optional<int64_t> goldCost(int64_t id) const;
    std::vector<int64_t> components(int64_t id) const;
    // Direct components, dearest first; equal costs keep file order.
    std::vector<int64_t> buildPath(int64_t id) const;
    bool isBootsLine(int64_t id) const;
    // Gold still to spend given what is owned; absent when the item's cost is unknown or not above 0.
    std::optional<int64_t> remainingCost(int64_t id, const ItemIDSet& owned) const;
    // Owned, owned in a transformed form, or already built into an owned item.
    bool isAcquired(int64_t id, const ItemIDSet& owned) const;
    // Ids the catalog does not know, in input order; nothing while the catalog is not loaded.
    std::vector<int64_t> unknownItemIDs(std::span<const int64_t> ids) const;

    // Builds the catalog from the bytes of "item.json"; the error names the failing key path.
    static json::Decoded<ItemCatalog> decode(QByteArrayView bytes);

    bool operator==(const ItemCatalog&) const = default;

private:
    bool recipeTreeContains(int64_t id, int64_t target, int64_t depth) const;
    int64_t remaining(int64_t id, int64_t total, const ItemIDSet& owned, int64_t depth) const;
};

// Loads the item catalog of the newest Data Dragon version; never fails towards the caller.
class ItemCatalogLoader {
public:
    explicit ItemCatalogLoader(
        QString base = ddragonDefaultBase(), HttpTimeouts timeouts = HttpTimeouts::remoteService());

    QCoro::Task<ItemCatalog> load() const;

private:
    std::shared_ptr<HttpSession> session_;
    QString base_;
};

} // namespace tolvane
