#pragma once
// Where the game draws its own interface, per reposition mode, so the reposition editor can
// outline those places and the user can keep panels clear of them. Rectangles are fractions of
// the game window measured from its top-left corner, y downward; overlaps are expected.

#include "core/overlay/PanelID.h"

#include <QList>
#include <QRectF>
#include <QString>
#include <QUuid>

namespace tolvane {

// An sRGB colour with an opacity, kept as plain numbers so this table needs no GUI library.
struct ZoneColor {
    double red = 0;
    double green = 0;
    double blue = 0;
    double opacity = 1;

    friend bool operator==(const ZoneColor&, const ZoneColor&) = default;
};

struct HUDZone {
    QUuid id;
    QString label;
    QRectF rect;
    ZoneColor color;
};

namespace HUDLayout {

// The zones of a mode; ARAM and Arena have none (an empty list, not a missing entry). Built once;
// each zone keeps its id for the life of the process.
const QList<HUDZone>& zones(RepositionMode mode);

} // namespace HUDLayout

} // namespace tolvane
