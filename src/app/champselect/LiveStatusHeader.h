#pragma once
// The status line that opens every presentation of the Live tab: a coloured dot with a halo, a
// title and one line of explanation. Texts follow the window text scale; the dot does not.

#include "app/champselect/LiveStack.h"

#include <QColor>
#include <QString>

namespace tolvane {

struct LiveStatusHeader {
    QColor dot;
    QString title;
    QString subtitle;
    double s = 1.0;
    // The column's width: the subtitle wraps within it (0: one line).
    double width = 0;

    static constexpr double dotSize = 9;
    static constexpr double rowSpacing = 8;
    static constexpr double stackSpacing = 4;
    static constexpr double haloScale = 1.4;
    static constexpr double haloWidth = 3;

    HudTextStyle titleStyle() const;
    HudTextStyle subtitleStyle() const;
    double titleRowHeight() const;
    QSizeF size() const;
    // The dot's frame and the title's left edge, from the header's top-left corner.
    QRectF dotRect() const;
    double titleX() const { return dotSize + rowSpacing; }
    void paint(QPainter& painter, QPointF topLeft) const;
    LiveEntry entry() const;
};

} // namespace tolvane
