#include "app/champselect/LiveStatusHeader.h"

#include "app/panels/HudStyle.h"

#include <QPainter>

#include <algorithm>

namespace tolvane {

HudTextStyle LiveStatusHeader::titleStyle() const
{
    return {winStrong(s), HUD::textPrimary()};
}
HudTextStyle LiveStatusHeader::subtitleStyle() const
{
    return {winSmall(s), HUD::textSecondary()};
}

double LiveStatusHeader::titleRowHeight() const
{
    return std::max(dotSize, titleStyle().lineHeight());
}

QSizeF LiveStatusHeader::size() const
{
    double natural = std::max(titleX() + titleStyle().width(title), subtitleStyle().width(subtitle));
    if (width > 0)
        natural = std::min(natural, width);
    return {std::ceil(natural), titleRowHeight() + stackSpacing + wrappedTextHeight(subtitle, subtitleStyle(), width)};
}

QRectF LiveStatusHeader::dotRect() const
{
    return {0, (titleRowHeight() - dotSize) / 2, dotSize, dotSize};
}

void LiveStatusHeader::paint(QPainter& painter, QPointF topLeft) const
{
    painter.save();
    painter.translate(topLeft);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF dotBox = dotRect();
    painter.setPen(Qt::NoPen);
    painter.setBrush(dot);
    painter.drawEllipse(dotBox);
    // The halo is drawn outside the dot's frame: it must never move the title.
    const double haloEdge = dotSize * haloScale;
    const QRectF halo(dotBox.center() - QPointF(haloEdge / 2, haloEdge / 2), QSizeF(haloEdge, haloEdge));
    QColor haloColour = dot;
    haloColour.setAlphaF(dot.alphaF() * 0.4);
    painter.setPen(QPen(haloColour, haloWidth * haloScale));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(halo);
    const HudTextStyle title_ = titleStyle();
    drawHudText(painter, QPointF(titleX(), (titleRowHeight() - title_.lineHeight()) / 2), title, title_);
    const double top = titleRowHeight() + stackSpacing;
    if (width > 0)
        drawWrappedText(painter, QRectF(0, top, width, wrappedTextHeight(subtitle, subtitleStyle(), width)), subtitle,
            subtitleStyle(), Qt::AlignLeft);
    else
        drawHudText(painter, QPointF(0, top), subtitle, subtitleStyle());
    painter.restore();
}

LiveEntry LiveStatusHeader::entry() const
{
    LiveEntry e;
    e.name = QStringLiteral("status");
    e.size = size();
    e.rows = {title, subtitle};
    e.paint = [header = *this](QPainter& painter, QPointF topLeft) { header.paint(painter, topLeft); };
    return e;
}

} // namespace tolvane
