#pragma once
// The frame every overlay panel draws its whole content in: padding, a dark gradient card with a
// thin gold border, an accent bar along the leading edge and a soft shadow below. The content
// is laid out width x s wide; the frame's own corner, border and bar sizes do not scale.

#include "app/panels/WindowFontScale.h"

#include <QColor>
#include <QMarginsF>
#include <QPainterPath>
#include <QRectF>
#include <QSizeF>

class QPainter;

namespace tolvane {

struct HudPanel {
    QColor accent;
    double width = 0; // the content's width before the text scale
    double bgOpacity = 1;
    double s = defaultWindowFontScale;

    static constexpr double cornerRadius = 11;
    static constexpr double borderWidth = 1;
    static constexpr double accentBarWidth = 3;
    static constexpr double accentBarRadius = 3;
    static constexpr double accentBarInsetVertical = 7;
    static constexpr double accentBarInsetLeading = 4;
    // Room left around the card for its shadow (black at 0.5, 9 blur, 4 down), so a panel window
    // sized after the content does not cut it off.
    static constexpr QMarginsF shadowMargins {9, 5, 9, 13};

    double contentWidth() const { return width * s; }
    QMarginsF padding() const { return {14 * s, 9 * s, 12 * s, 9 * s}; }
    // The card itself: (width + 26) x s wide.
    QSizeF frameSize(double contentHeight) const;
    // The card with its shadow room: what a panel reports as its natural size.
    QSizeF outerSize(double contentHeight) const;
    QRectF frameRect(double contentHeight) const;
    QRectF contentRect(double contentHeight) const;
    QRectF accentBarRect(double contentHeight) const;
    QColor backgroundTop() const;
    QColor backgroundBottom() const;

    // The card's rounded outline in a panel of that outer size (card and shadow room).
    static QPainterPath cardOutline(QSizeF outerSize);

    // Shadow, background, border and accent bar; the content is drawn afterwards into contentRect.
    void paint(QPainter& painter, double contentHeight) const;
};

inline HudPanel hudPanel(QColor accent, double width, double bgOpacity, double s = defaultWindowFontScale)
{
    return HudPanel {std::move(accent), width, bgOpacity, s};
}

} // namespace tolvane
