#include "app/startup/OverlayPanels.h"

#include "app/windows/CooldownPanel.h"
#include "app/windows/OverlayWindow.h"

namespace tolvane {

std::array<PanelWindow*, 6> OverlayPanels::all() const
{
    return {gold, rune, counter, cooldown, farm, combo};
}

std::optional<PanelID> OverlayPanels::panelID(const QObject* window) const
{
    if (window == nullptr)
        return std::nullopt;
    if (window == gold)
        return PanelID::goldTracker;
    if (window == rune)
        return PanelID::popularBuild;
    if (window == counter)
        return PanelID::matchup;
    if (window == farm)
        return PanelID::farmBenchmark;
    if (window == combo)
        return PanelID::combos;
    if (window == cooldown)
        return PanelID::cooldowns;
    return std::nullopt;
}

} // namespace tolvane
