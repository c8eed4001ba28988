#include "core/advice/MetaBuild.h"

#include <algorithm>

namespace tolvane {

std::vector<BuildSlot> MetaBuild::buildOrder(const ItemIDSet& owned, const ItemCatalog& catalog) const
{
    auto bootsLike = [&catalog](int64_t id) { return knownBootIDs().count(id) > 0 || catalog.isBootsLine(id); };
    auto isOwned = [&](int64_t id) { return catalog.isAcquired(id, owned); };

    std::vector<BuildSlot> rows;
    std::set<int64_t> used;

    for (const MetaItem& item : starterItems) {
        rows.push_back({BuildSlot::Kind::starter, item, isOwned(item.id), false, {}});
        used.insert(item.id);
    }

    std::optional<MetaItem> baseBoots = boots;
    if (!baseBoots) {
        auto it = std::find_if(coreItems.begin(), coreItems.end(), [&](const MetaItem& i) { return bootsLike(i.id); });
        if (it != coreItems.end())
            baseBoots = *it;
    }
    for (auto slot = situationalSlots.begin(); !baseBoots && slot != situationalSlots.end(); ++slot) {
        auto it = std::find_if(slot->begin(), slot->end(), [&](const MetaItem& i) { return bootsLike(i.id); });
        if (it != slot->end())
            baseBoots = *it;
    }
    if (baseBoots) {
        // Of several boots held, the lowest id, so the same inputs always give the same rows.
        std::optional<int64_t> ownedBoots;
        for (int64_t id : owned)
            if (bootsLike(id) && (!ownedBoots || id < *ownedBoots))
                ownedBoots = id;
        if (ownedBoots)
            rows.push_back({BuildSlot::Kind::boots, MetaItem {*ownedBoots, QStringLiteral("Boots")}, true, false, {}});
        else
            rows.push_back({BuildSlot::Kind::boots, *baseBoots, false, false, {}});
        used.insert(baseBoots->id);
        if (ownedBoots)
            used.insert(*ownedBoots);
    }

    for (const MetaItem& item : coreItems) {
        if (bootsLike(item.id))
            continue;
        rows.push_back({BuildSlot::Kind::core, item, isOwned(item.id), false, {}});
        used.insert(item.id);
    }

    for (const auto& slot : situationalSlots) {
        std::vector<MetaItem> candidates;
        for (const MetaItem& item : slot)
            if (!used.count(item.id) && !bootsLike(item.id))
                candidates.push_back(item);
        if (candidates.empty())
            continue;
        auto firstOwned
            = std::find_if(candidates.begin(), candidates.end(), [&](const MetaItem& i) { return isOwned(i.id); });
        BuildSlot row {BuildSlot::Kind::situational, candidates.front(), false, false, {}};
        if (firstOwned != candidates.end()) {
            row.item = *firstOwned;
            row.owned = true;
            for (auto it = candidates.begin(); it != candidates.end(); ++it)
                if (it != firstOwned && !isOwned(it->id))
                    row.alternatives.push_back(*it);
        } else {
            row.alternatives.assign(candidates.begin() + 1, candidates.end());
        }
        used.insert(row.item.id);
        rows.push_back(std::move(row));
    }

    for (BuildSlot& row : rows) {
        if ((row.kind == BuildSlot::Kind::core || row.kind == BuildSlot::Kind::situational) && !row.owned) {
            row.isNext = true;
            break;
        }
    }
    return rows;
}

} // namespace tolvane
