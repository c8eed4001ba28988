#pragma once
// An assumed ability haste for an enemy whose real haste the snapshot does not show: item haste,
// a typical rune haste per champion, and a bonus per game mode.

#include <QHash> // std::hash<QString>
#include <QString>

#include <cstdint>
#include <optional>
#include <span>
#include <unordered_map>

namespace tolvane {

namespace EnemyAbilityHaste {

enum class Mode { standard, aram, arena };

// Map 30 is Arena and map 12 ARAM, whatever the mode says; else "CHERRY" in any case is Arena.
Mode mode(const std::optional<QString>& gameMode, std::optional<int64_t> mapNumber);
double modeBonus(Mode mode);

inline constexpr double defaultRuneHaste = 10.0;
const std::unordered_map<QString, double>& champRuneHaste(); // by Data Dragon champion id
const std::unordered_map<int64_t, double>& itemHaste();

double assumed(const QString& champion, std::span<const int64_t> itemIDs, Mode mode);

} // namespace EnemyAbilityHaste

} // namespace tolvane
