#include "core/overlay/HudZones.h"

namespace tolvane::HUDLayout {

namespace {

HUDZone zone(const char* label, QRectF rect, double red, double green, double blue, double opacity)
{
    return {QUuid::createUuid(), QString::fromUtf8(label), rect, {red, green, blue, opacity}};
}

QList<HUDZone> srZones()
{
    return {
        zone("Objectives · Timers", {0.408, 0.0, 0.185, 0.06}, 0.39, 0.63, 1.0, 0.65),
        zone("Score · KDA · Timer", {0.823, 0.0, 0.177, 0.025}, 0.78, 0.86, 1.0, 0.5),
        zone("Kill notification", {0.43, 0.06, 0.14, 0.07}, 1.0, 0.59, 0.24, 0.55),
        zone("Kill feed", {0.8, 0.025, 0.19, 0.16}, 1.0, 0.31, 0.31, 0.5),
        zone("Scoreboard header", {0.204, 0.159, 0.595, 0.061}, 0.78, 0.78, 1.0, 0.6),
        zone("Scoreboard body", {0.204, 0.221, 0.595, 0.422}, 0.78, 0.78, 1.0, 0.6),
        zone("P-key Shop", {0.219, 0.199, 0.562, 0.596}, 1.0, 0.84, 0.0, 0.45),
        zone("Bottom HUD", {0.295, 0.917, 0.355, 0.083}, 0.63, 0.47, 1.0, 0.65),
        zone("Minimap", {0.846, 0.76, 0.154, 0.24}, 0.31, 0.75, 0.31, 0.6),
    };
}

} // namespace

const QList<HUDZone>& zones(RepositionMode mode)
{
    static const QList<HUDZone> summonersRift = srZones();
    static const QList<HUDZone> none;
    return mode == RepositionMode::summonersRift ? summonersRift : none;
}

} // namespace tolvane::HUDLayout
