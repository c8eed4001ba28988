#include "app/panels/HudSymbols.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

namespace tolvane {

QSizeF hudSymbolSize(HudSymbol symbol, double fontSize)
{
    switch (symbol) {
    case HudSymbol::cubeFill:
        return {fontSize * 0.95, fontSize};
    case HudSymbol::chevronCompactRight:
        return {fontSize * 0.45, fontSize};
    case HudSymbol::equalCircleFill:
        return {fontSize, fontSize};
    case HudSymbol::arrowtriangleUpFill:
    case HudSymbol::arrowtriangleDownFill:
        return {fontSize * 0.85, fontSize * 0.8};
    }
    return {fontSize, fontSize};
}

void drawHudSymbol(QPainter& painter, HudSymbol symbol, const QRectF& box, const QColor& colour)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    const double w = box.width();
    const double h = box.height();
    const QPointF o = box.topLeft();
    switch (symbol) {
    case HudSymbol::cubeFill: {
        // An isometric box: top, left and right faces, the top a little lighter.
        const QPointF top(o.x() + w / 2, o.y());
        const QPointF centre(o.x() + w / 2, o.y() + h * 0.45);
        const QPointF leftUp(o.x(), o.y() + h * 0.22);
        const QPointF rightUp(o.x() + w, o.y() + h * 0.22);
        const QPointF leftDown(o.x(), o.y() + h * 0.78);
        const QPointF rightDown(o.x() + w, o.y() + h * 0.78);
        const QPointF bottom(o.x() + w / 2, o.y() + h);
        const double gap = h * 0.04;
        painter.drawPolygon(QPolygonF({top, rightUp, centre, leftUp}));
        painter.drawPolygon(
            QPolygonF({leftUp + QPointF(0, gap), centre + QPointF(-gap, gap), bottom + QPointF(-gap, 0), leftDown}));
        painter.drawPolygon(
            QPolygonF({rightUp + QPointF(0, gap), rightDown, bottom + QPointF(gap, 0), centre + QPointF(gap, gap)}));
        break;
    }
    case HudSymbol::chevronCompactRight: {
        QPen pen(colour, std::max(1.0, w * 0.32), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        painter.drawPolyline(QPolygonF({QPointF(o.x() + w * 0.2, o.y() + h * 0.22),
            QPointF(o.x() + w * 0.8, o.y() + h * 0.5), QPointF(o.x() + w * 0.2, o.y() + h * 0.78)}));
        break;
    }
    case HudSymbol::equalCircleFill: {
        // A filled disc with the two bars cut out of it.
        QPainterPath disc;
        disc.addEllipse(box);
        QPainterPath bars;
        const double barW = w * 0.5;
        const double barH = h * 0.1;
        bars.addRect(QRectF(o.x() + (w - barW) / 2, o.y() + h * 0.36, barW, barH));
        bars.addRect(QRectF(o.x() + (w - barW) / 2, o.y() + h * 0.54, barW, barH));
        painter.drawPath(disc.subtracted(bars));
        break;
    }
    case HudSymbol::arrowtriangleUpFill:
        painter.drawPolygon(
            QPolygonF({QPointF(o.x() + w / 2, o.y()), QPointF(o.x() + w, o.y() + h), QPointF(o.x(), o.y() + h)}));
        break;
    case HudSymbol::arrowtriangleDownFill:
        painter.drawPolygon(
            QPolygonF({QPointF(o.x(), o.y()), QPointF(o.x() + w, o.y()), QPointF(o.x() + w / 2, o.y() + h)}));
        break;
    }
    painter.restore();
}

} // namespace tolvane
