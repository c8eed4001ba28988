#pragma once
// Ready-made choices of panels for players of different experience. The farm panel belongs to
// none of them, so applying a preset leaves it as the user set it.

#include <array>

namespace tolvane {

enum class SkillModePreset { beginner, pro, smurf };

namespace SkillModePresets {

// The order presets are shown and matched in.
inline constexpr std::array<SkillModePreset, 3> allCases {
    SkillModePreset::beginner, SkillModePreset::pro, SkillModePreset::smurf};

constexpr bool showPopular(SkillModePreset preset)
{
    return preset == SkillModePreset::pro;
}
constexpr bool showMatchup(SkillModePreset preset)
{
    return preset != SkillModePreset::smurf;
}
constexpr bool showGold(SkillModePreset)
{
    return true;
}
constexpr bool showCooldowns(SkillModePreset preset)
{
    return preset != SkillModePreset::beginner;
}
constexpr bool showCombos(SkillModePreset preset)
{
    return preset != SkillModePreset::smurf;
}

} // namespace SkillModePresets

} // namespace tolvane
