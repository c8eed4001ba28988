#pragma once
// What the build path shows of one build against the items held now: the starters, up to six
// tiles of the core and situational path with a count of the rest, the next purchase with its
// gold still to spend, two alternatives and its recipe, and the boots. Worked out afresh for
// every redraw; the drawing lives in BuildPathPainter.

#include "core/advice/MetaBuild.h"
#include "core/knowledge/ItemCatalog.h"

#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

namespace tolvane {

struct BuildPathLayout {
    static constexpr size_t maxPathTiles = 6;
    static constexpr size_t maxAlternatives = 2;

    struct Component {
        int64_t id = 0;
        bool owned = false; // held as such, not merely built into something held
        bool operator==(const Component&) const = default;
    };

    struct NextCard {
        BuildSlot slot;
        std::optional<QString> costText; // "1250g"; absent when unknown or nothing is left to pay
        std::vector<MetaItem> alternatives; // at most two
        std::vector<Component> recipe; // direct components, dearest first
        bool operator==(const NextCard&) const = default;
    };

    std::vector<BuildSlot> starters;
    std::vector<BuildSlot> pathTiles; // the first six core and situational slots
    std::optional<QString> overflowText; // "+3" for nine path slots
    std::optional<NextCard> next; // absent: the build is complete
    std::optional<BuildSlot> boots;

    static BuildPathLayout make(const MetaBuild& build, const ItemIDSet& owned, const ItemCatalog& catalog);

    bool operator==(const BuildPathLayout&) const = default;
};

} // namespace tolvane
