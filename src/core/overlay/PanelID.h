#pragma once
// The movable overlay panels and the game modes whose panel positions are kept apart (the maps
// differ, so a good place on one is not on another). The raw values are part of the stored keys.

#include <QString>

#include <array>
#include <optional>

namespace tolvane {

struct MetaModeRoute;

// Declared in the order panels are iterated everywhere.
enum class PanelID { combos, cooldowns, popularBuild, matchup, goldTracker, farmBenchmark };

inline constexpr std::array<PanelID, 6> allPanelIDs {PanelID::combos, PanelID::cooldowns, PanelID::popularBuild,
    PanelID::matchup, PanelID::goldTracker, PanelID::farmBenchmark};

QString rawValue(PanelID panel);
// Exact, case-sensitive match of a raw value.
std::optional<PanelID> panelIDFromRawValue(const QString& raw);

enum class RepositionMode { summonersRift, aram, arena };

inline constexpr std::array<RepositionMode, 3> allRepositionModes {
    RepositionMode::summonersRift, RepositionMode::aram, RepositionMode::arena};

QString rawValue(RepositionMode mode);
std::optional<RepositionMode> repositionModeFromRawValue(const QString& raw);
// The mode whose positions a game uses: ARAM and Arena their own, everything else Summoner's Rift.
RepositionMode repositionModeFromRoute(const MetaModeRoute& route);

} // namespace tolvane
