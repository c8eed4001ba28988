#include "core/knowledge/ItemCatalog.h"

#include "core/support/Log.h"

#include <algorithm>
#include <limits>

TOLVANE_LOG_CATEGORY(lcItemCatalog, "itemcatalog")

namespace tolvane {

namespace {

// Recipe walks stop here so that cyclic or absurdly deep data cannot run away.
constexpr int64_t recipeDepthLimit = 7;
constexpr int64_t remainingDepthLimit = 8;
constexpr int specialRecipeLinkLimit = 8;

// Gold sums saturate: a hostile file with huge costs must not overflow.
int64_t addSaturating(int64_t a, int64_t b)
{
    int64_t out = 0;
    if (__builtin_add_overflow(a, b, &out))
        return b > 0 ? std::numeric_limits<int64_t>::max() : std::numeric_limits<int64_t>::min();
    return out;
}

int64_t subtractSaturating(int64_t a, int64_t b)
{
    int64_t out = 0;
    if (__builtin_sub_overflow(a, b, &out))
        return b < 0 ? std::numeric_limits<int64_t>::max() : std::numeric_limits<int64_t>::min();
    return out;
}

} // namespace

ItemCatalog::ItemCatalog(std::unordered_map<int64_t, int64_t> totalCostByID,
    std::unordered_map<int64_t, std::vector<int64_t>> componentsByID,
    std::unordered_map<int64_t, int64_t> specialRecipeByID)
    : totalCostByID(std::move(totalCostByID))
    , componentsByID(std::move(componentsByID))
    , specialRecipeByID(std::move(specialRecipeByID))
{
}

const ItemCatalog& ItemCatalog::empty()
{
    static const ItemCatalog value;
    return value;
}

std::optional<int64_t> ItemCatalog::goldCost(int64_t id) const
{
    const auto it = totalCostByID.find(id);
    if (it == totalCostByID.end() || it->second <= 0)
        return std::nullopt;
    return it->second;
}

std::vector<int64_t> ItemCatalog::components(int64_t id) const
{
    const auto it = componentsByID.find(id);
    return it == componentsByID.end() ? std::vector<int64_t> {} : it->second;
}

std::vector<int64_t> ItemCatalog::buildPath(int64_t id) const
{
    std::vector<int64_t> path = components(id);
    auto cost = [this](int64_t c) {
        const auto it = totalCostByID.find(c);
        return it == totalCostByID.end() ? int64_t(0) : it->second;
    };
    std::stable_sort(path.begin(), path.end(), [&](int64_t a, int64_t b) { return cost(a) > cost(b); });
    return path;
}

bool ItemCatalog::recipeTreeContains(int64_t id, int64_t target, int64_t depth) const
{
    if (depth > recipeDepthLimit)
        return false;
    if (const auto it = componentsByID.find(id); it != componentsByID.end()) {
        for (int64_t c : it->second) {
            if (c == target || recipeTreeContains(c, target, depth + 1))
                return true;
        }
    }
    const auto special = specialRecipeByID.find(id);
    if (special == specialRecipeByID.end())
        return false;
    return special->second == target || recipeTreeContains(special->second, target, depth + 1);
}

bool ItemCatalog::isBootsLine(int64_t id) const
{
    return recipeTreeContains(id, 1001, 0);
}

std::optional<int64_t> ItemCatalog::remainingCost(int64_t id, const ItemIDSet& owned) const
{
    const auto it = totalCostByID.find(id);
    if (it == totalCostByID.end() || it->second < 1)
        return std::nullopt;
    return remaining(id, it->second, owned, 0);
}

int64_t ItemCatalog::remaining(int64_t id, int64_t total, const ItemIDSet& owned, int64_t depth) const
{
    if (owned.contains(id))
        return 0;
    const auto comps = componentsByID.find(id);
    if (comps == componentsByID.end() || comps->second.empty() || depth >= remainingDepthLimit)
        return total;
    int64_t sumComp = 0;
    for (int64_t c : comps->second) {
        if (const auto cost = totalCostByID.find(c); cost != totalCostByID.end())
            sumComp = addSaturating(sumComp, cost->second);
    }
    int64_t out = std::max<int64_t>(0, subtractSaturating(total, sumComp));
    for (int64_t c : comps->second) {
        const auto cost = totalCostByID.find(c);
        out = addSaturating(out, remaining(c, cost == totalCostByID.end() ? 0 : cost->second, owned, depth + 1));
    }
    return out;
}

bool ItemCatalog::isAcquired(int64_t id, const ItemIDSet& owned) const
{
    if (owned.contains(id))
        return true;
    auto link = specialRecipeByID.find(id);
    for (int i = 0; i < specialRecipeLinkLimit && link != specialRecipeByID.end(); ++i) {
        if (owned.contains(link->second))
            return true;
        link = specialRecipeByID.find(link->second);
    }
    return std::any_of(owned.begin(), owned.end(), [&](int64_t o) { return recipeTreeContains(o, id, 0); });
}

std::vector<int64_t> ItemCatalog::unknownItemIDs(std::span<const int64_t> ids) const
{
    std::vector<int64_t> out;
    if (totalCostByID.empty())
        return out;
    for (int64_t id : ids) {
        if (!totalCostByID.contains(id))
            out.push_back(id);
    }
    return out;
}

json::Decoded<ItemCatalog> ItemCatalog::decode(QByteArrayView bytes)
{
    return json::decode<ItemCatalog>(bytes, [](json::Value root) {
        ItemCatalog catalog;
        root.toObject().required("data", [&](json::Value data) {
            data.toObject().forEach([&](std::string_view key, json::Value entryValue) {
                const json::Object entry = entryValue.toObject();
                // Decoded before the key is judged: a malformed entry fails the file either way.
                const int64_t total = entry.required("gold", [](json::Value g) { return g.toObject().int64("total"); });
                // Present and non-empty "from": its numeric elements, which may leave an empty list.
                auto from = entry.optional("from", [](json::Value f) {
                    std::optional<std::vector<int64_t>> ids;
                    const json::Array list = f.toArray();
                    if (list.size() == 0)
                        return ids;
                    ids.emplace();
                    list.forEach([&](json::Value c) {
                        if (auto id = parseDecimalInt64(c.toStringView()))
                            ids->push_back(*id);
                    });
                    return ids;
                });
                const auto special = entry.optInt64("specialRecipe");
                const auto id = parseDecimalInt64(key);
                if (!id)
                    return;
                catalog.totalCostByID[*id] = total;
                if (from && *from)
                    catalog.componentsByID[*id] = std::move(**from);
                if (special && *special != 0)
                    catalog.specialRecipeByID[*id] = *special;
            });
            return 0;
        });
        return catalog;
    });
}

ItemCatalogLoader::ItemCatalogLoader(QString base, HttpTimeouts timeouts)
    : session_(std::make_shared<HttpSession>(HttpPeer::dataDragon, timeouts))
    , base_(std::move(base))
{
}

namespace {

QCoro::Task<ItemCatalog> loadItems(std::shared_ptr<HttpSession> session, QString base)
{
    const auto file = co_await fetchDDragonFile(session, base, QStringLiteral("data/en_US/item.json"));
    if (!file) {
        log::error(lcItemCatalog(),
            QStringLiteral("Item catalog load failed; falling back to Live Client prices: %1").arg(file.error));
        co_return ItemCatalog::empty();
    }
    auto decoded = ItemCatalog::decode(file.value->body);
    if (!decoded) {
        log::error(lcItemCatalog(),
            QStringLiteral("Item catalog load failed; falling back to Live Client prices: %1").arg(decoded.error));
        co_return ItemCatalog::empty();
    }
    log::info(lcItemCatalog(),
        QStringLiteral("Loaded item catalog: %1 items at patch %2")
            .arg(decoded.value->totalCostByID.size())
            .arg(file.value->version));
    co_return std::move(*decoded.value);
}

} // namespace

QCoro::Task<ItemCatalog> ItemCatalogLoader::load() const
{
    return loadItems(session_, base_);
}

} // namespace tolvane
