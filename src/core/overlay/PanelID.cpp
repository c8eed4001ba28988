#include "core/overlay/PanelID.h"

#include "core/advice/MetaQuery.h"

namespace tolvane {

QString rawValue(PanelID panel)
{
    switch (panel) {
    case PanelID::combos:
        return QStringLiteral("combos");
    case PanelID::cooldowns:
        return QStringLiteral("cooldowns");
    case PanelID::popularBuild:
        return QStringLiteral("popularBuild");
    case PanelID::matchup:
        return QStringLiteral("matchup");
    case PanelID::goldTracker:
        return QStringLiteral("goldTracker");
    case PanelID::farmBenchmark:
        return QStringLiteral("farmBenchmark");
    }
    return {};
}

std::optional<PanelID> panelIDFromRawValue(const QString& raw)
{
    for (PanelID panel : allPanelIDs) {
        if (rawValue(panel) == raw)
            return panel;
    }
    return std::nullopt;
}

QString rawValue(RepositionMode mode)
{
    switch (mode) {
    case RepositionMode::summonersRift:
        return QStringLiteral("sr");
    case RepositionMode::aram:
        return QStringLiteral("aram");
    case RepositionMode::arena:
        return QStringLiteral("arena");
    }
    return {};
}

std::optional<RepositionMode> repositionModeFromRawValue(const QString& raw)
{
    for (RepositionMode mode : allRepositionModes) {
        if (rawValue(mode) == raw)
            return mode;
    }
    return std::nullopt;
}

RepositionMode repositionModeFromRoute(const MetaModeRoute& route)
{
    switch (route.kind) {
    case MetaModeRoute::Kind::aram:
        return RepositionMode::aram;
    case MetaModeRoute::Kind::arena:
        return RepositionMode::arena;
    case MetaModeRoute::Kind::summonersRift:
    case MetaModeRoute::Kind::unsupported:
        break;
    }
    return RepositionMode::summonersRift;
}

} // namespace tolvane
