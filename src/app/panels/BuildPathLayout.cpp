#include "app/panels/BuildPathLayout.h"

namespace tolvane {

BuildPathLayout BuildPathLayout::make(const MetaBuild& build, const ItemIDSet& owned, const ItemCatalog& catalog)
{
    BuildPathLayout layout;
    std::vector<BuildSlot> path;
    for (BuildSlot& slot : build.buildOrder(owned, catalog)) {
        switch (slot.kind) {
        case BuildSlot::Kind::starter:
            layout.starters.push_back(std::move(slot));
            break;
        case BuildSlot::Kind::boots:
            if (!layout.boots)
                layout.boots = std::move(slot);
            break;
        case BuildSlot::Kind::core:
        case BuildSlot::Kind::situational:
            path.push_back(std::move(slot));
            break;
        }
    }

    for (const BuildSlot& slot : path) {
        if (!slot.isNext)
            continue;
        NextCard card;
        card.slot = slot;
        if (const auto remaining = catalog.remainingCost(slot.item.id, owned); remaining && *remaining >= 1)
            card.costText = QString::number(*remaining) + QLatin1Char('g');
        for (const MetaItem& alternative : slot.alternatives) {
            if (card.alternatives.size() == maxAlternatives)
                break;
            card.alternatives.push_back(alternative);
        }
        for (int64_t id : catalog.buildPath(slot.item.id))
            card.recipe.push_back({id, owned.contains(id)});
        layout.next = std::move(card);
        break;
    }

    if (path.size() > maxPathTiles)
        layout.overflowText = QLatin1Char('+') + QString::number(path.size() - maxPathTiles);
    path.resize(std::min(path.size(), maxPathTiles));
    layout.pathTiles = std::move(path);
    return layout;
}

} // namespace tolvane
