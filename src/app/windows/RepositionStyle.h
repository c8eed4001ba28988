#pragma once
// The look of the reposition editor: panel colours and chip labels, the system font at a given
// size in points, and the styles of the mode tabs and toolbar buttons.

#include "core/overlay/PanelID.h"

#include <QColor>
#include <QFont>
#include <QMarginsF>
#include <QString>

class QPaintDevice;

namespace tolvane {

QColor chipColor(PanelID id);
QString chipLabel(PanelID id);

// Inter (else the system sans) at a size in points, where one point is one device-independent
// pixel; fractional sizes (a tab label at 15 × 0.75 pt) are kept.
QFont repositionFont(double points, QFont::Weight weight, const QPaintDevice* device);
// The same for the size badge, in a monospaced face.
QFont repositionMonoFont(double points, QFont::Weight weight, const QPaintDevice* device);

QColor withOpacity(QColor colour, double opacity);

struct ModeTabStyle {
    bool active = false;
    double scale = 1;

    QFont font(const QPaintDevice* device) const { return repositionFont(15 * scale, QFont::Bold, device); }
    QMarginsF padding() const { return {16 * scale, 6 * scale, 16 * scale, 6 * scale}; }
    // Transparent when inactive.
    QColor background() const;
    QColor text() const;
};

struct ToolbarButtonStyle {
    enum class Variant { primary, secondary, toggle, done };
    Variant variant = Variant::secondary;
    double scale = 1;

    static constexpr double cornerRadius = 8;

    QFont font(const QPaintDevice* device) const { return repositionFont(13 * scale, QFont::Bold, device); }
    QMarginsF padding() const { return {10 * scale, 4 * scale, 10 * scale, 4 * scale}; }
    QColor background() const;
    QColor text() const;
    // Transparent for done.
    QColor outline() const;
};

} // namespace tolvane
