#pragma once
// The six overlay panel windows as the main loops see them: the five click-through panels in the
// order the tick handles them, the cooldown panel apart, and which stored position belongs to
// which window. The windows are the application's; this only points at them.

#include "core/overlay/PanelID.h"

#include <array>
#include <optional>

class QObject;

namespace tolvane {

class CooldownPanel;
class OverlayWindow;
class PanelWindow;

struct OverlayPanels {
    OverlayWindow* gold = nullptr;
    OverlayWindow* rune = nullptr; // popular build
    OverlayWindow* counter = nullptr; // matchup
    OverlayWindow* farm = nullptr;
    OverlayWindow* combo = nullptr;
    CooldownPanel* cooldown = nullptr;

    // Gold, popular build, matchup, farm, combos: never the cooldown panel.
    std::array<OverlayWindow*, 5> overlays() const { return {gold, rune, counter, farm, combo}; }
    // All six, the cooldown panel after the matchup panel, as the move tracking watches them.
    std::array<PanelWindow*, 6> all() const;

    // By identity; none for any other window.
    std::optional<PanelID> panelID(const QObject* window) const;
};

} // namespace tolvane
