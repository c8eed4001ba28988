#pragma once
// The cooldown format the player chose in the game itself, read from the game's own configuration
// file, and the launch's choice of a format for the enemy-cooldown panel when the user never
// picked one.

#include "core/knowledge/CDTimeFormat.h"

#include <QString>

#include <optional>

namespace tolvane {

class OverlaySettingsStore;

namespace LeagueGameSettings {

// Where the game keeps its settings when it runs under Wine: the default prefix of the common
// Linux installer, in the user's home folder. Other prefixes are not searched.
QString configFilePath();

// Larger than any settings file of the game; a bigger file is not its settings file.
inline constexpr qint64 maximumFileSize = 4 * 1024 * 1024;

// The format of the first "NumericCooldownFormat" line holding an integer; none when the file is
// missing, unreadable, not UTF-8 or without such a line. Reads the file on every call.
std::optional<CDTimeFormat> cooldownFormat(const QString& path = configFilePath());

// The format of the game's configuration text (the reading above without the file).
std::optional<CDTimeFormat> cooldownFormatFromText(const QString& text);

} // namespace LeagueGameSettings

// The stored choice, else the game's own setting, else seconds.
CDTimeFormat resolveCDFormat(
    const OverlaySettingsStore& settings, const QString& gameConfigPath = LeagueGameSettings::configFilePath());

// At launch: stores the resolved format when none is stored, so the game's file is read only
// until a format is kept; gives the stored format.
CDTimeFormat settleCDFormat(
    OverlaySettingsStore& settings, const QString& gameConfigPath = LeagueGameSettings::configFilePath());

} // namespace tolvane
