#pragma once
// What advice is asked for: the lane role, the build or combo query, and which kind of advice a
// running game or lobby maps to. The statistics-service providers turn these into the service's
// "position" and "game_mode" arguments.

#include <QString>

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace tolvane {

enum class MetaRole { top, jungle, mid, adc, support, unknown };

inline constexpr std::array<MetaRole, 6> allMetaRoles
    = {MetaRole::top, MetaRole::jungle, MetaRole::mid, MetaRole::adc, MetaRole::support, MetaRole::unknown};

// "top", "jungle", "mid", "adc", "support", "unknown".
QString metaRoleRawValue(MetaRole role);
// Exactly the six raw values, case-sensitive; nothing for any other text.
std::optional<MetaRole> metaRoleFromRawValue(const QString& raw);
// The game's position names ("TOP", "JUNGLE", "MIDDLE", "BOTTOM", "UTILITY") in any case.
MetaRole metaRoleFromLivePosition(const std::optional<QString>& position);
// A guess from a champion's class tags, for when no position is known.
MetaRole metaRoleInferredFromTags(const std::vector<QString>& tags);
// The service's position argument: the raw value.
QString metrionPosition(MetaRole role);

// Summoner's Rift in a lane, or ARAM (no lanes).
class MetaQuery {
public:
    static MetaQuery summonersRift(MetaRole role, bool roleInferred) { return MetaQuery(false, role, roleInferred); }
    static MetaQuery aram() { return MetaQuery(true, MetaRole::unknown, false); }

    bool isAram() const { return aram_; }
    bool isSummonersRift() const { return !aram_; }
    // Meaningful for Summoner's Rift only.
    MetaRole role() const { return role_; }
    bool roleInferred() const { return roleInferred_; }

    QString metrionGameMode() const; // "ranked" or "aram"
    QString metrionPosition() const; // the role's position, "mid" for ARAM

    bool operator==(const MetaQuery&) const = default;

private:
    MetaQuery(bool aram, MetaRole role, bool roleInferred)
        : aram_(aram)
        , role_(role)
        , roleInferred_(roleInferred)
    {
    }
    bool aram_;
    MetaRole role_;
    bool roleInferred_;
};

// Which kind of advice a game maps to; unsupported carries what was not recognised.
struct MetaModeRoute {
    enum class Kind { summonersRift, aram, arena, unsupported };
    Kind kind = Kind::summonersRift;
    QString unsupportedWhat;

    static MetaModeRoute summonersRift() { return {Kind::summonersRift, {}}; }
    static MetaModeRoute aram() { return {Kind::aram, {}}; }
    static MetaModeRoute arena() { return {Kind::arena, {}}; }
    static MetaModeRoute unsupported(QString what) { return {Kind::unsupported, std::move(what)}; }

    bool operator==(const MetaModeRoute&) const = default;
};

// In champion select only the map is known.
MetaModeRoute resolveMetaMode(std::optional<int64_t> mapNumber);
// During a match the Live Client Data gives both.
MetaModeRoute resolveMetaMode(const std::optional<QString>& gameMode, std::optional<int64_t> mapNumber);

} // namespace tolvane
