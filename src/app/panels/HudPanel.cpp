#include "app/panels/HudPanel.h"

#include "app/panels/HudStyle.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>

namespace tolvane {

namespace {

QPainterPath roundedPath(const QRectF& rect, double radius)
{
    QPainterPath path;
    path.addRoundedRect(rect, radius, radius);
    return path;
}

} // namespace

QSizeF HudPanel::frameSize(double contentHeight) const
{
    const QMarginsF pad = padding();
    return {contentWidth() + pad.left() + pad.right(), std::max(contentHeight, 0.0) + pad.top() + pad.bottom()};
}

QSizeF HudPanel::outerSize(double contentHeight) const
{
    const QSizeF frame = frameSize(contentHeight);
    return {frame.width() + shadowMargins.left() + shadowMargins.right(),
        frame.height() + shadowMargins.top() + shadowMargins.bottom()};
}

QRectF HudPanel::frameRect(double contentHeight) const
{
    return {QPointF(shadowMargins.left(), shadowMargins.top()), frameSize(contentHeight)};
}

QPainterPath HudPanel::cardOutline(QSizeF outerSize)
{
    const QRectF card = QRectF(QPointF(0, 0), outerSize).marginsRemoved(shadowMargins);
    if (!card.isValid())
        return {};
    return roundedPath(card, cornerRadius);
}

QRectF HudPanel::contentRect(double contentHeight) const
{
    const QRectF frame = frameRect(contentHeight);
    const QMarginsF pad = padding();
    return {frame.left() + pad.left(), frame.top() + pad.top(), contentWidth(), std::max(contentHeight, 0.0)};
}

QRectF HudPanel::accentBarRect(double contentHeight) const
{
    const QRectF frame = frameRect(contentHeight);
    return {frame.left() + accentBarInsetLeading, frame.top() + accentBarInsetVertical, accentBarWidth,
        std::max(frame.height() - 2 * accentBarInsetVertical, 0.0)};
}

QColor HudPanel::backgroundTop() const
{
    return withAlpha(HUD::panelTop(), std::clamp(bgOpacity, 0.0, 1.0) * 0.86);
}

QColor HudPanel::backgroundBottom() const
{
    return withAlpha(HUD::panelBottom(), std::clamp(bgOpacity, 0.0, 1.0) * 0.86);
}

void HudPanel::paint(QPainter& painter, double contentHeight) const
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF frame = frameRect(contentHeight);
    const QPainterPath card = roundedPath(frame, cornerRadius);

    // The shadow as stacked translucent outlines that widen and fade, kept outside the card so a
    // see-through background (the cooldown panel's opacity setting) is not darkened by it.
    {
        QPainterPath outside;
        outside.addRect(QRectF(QPointF(0, 0), outerSize(contentHeight)));
        painter.setClipPath(outside.subtracted(card));
        painter.setPen(Qt::NoPen);
        constexpr int layers = 9;
        for (int i = layers; i >= 1; --i) {
            const QRectF spread = frame.translated(0, 4).adjusted(-i, -i, i, i);
            painter.setBrush(QColor(0, 0, 0, int(255 * 0.5 / layers)));
            painter.drawPath(roundedPath(spread, cornerRadius + i));
        }
        painter.setClipping(false);
    }

    QLinearGradient gradient(frame.topLeft(), frame.bottomLeft());
    gradient.setColorAt(0, backgroundTop());
    gradient.setColorAt(1, backgroundBottom());
    painter.fillPath(card, gradient);

    // Stroked on the inside: the pen's centre half a width in from the edge.
    painter.setPen(QPen(HUD::stroke(), borderWidth));
    painter.setBrush(Qt::NoBrush);
    const double half = borderWidth / 2;
    painter.drawPath(roundedPath(frame.adjusted(half, half, -half, -half), cornerRadius - half));

    painter.setPen(Qt::NoPen);
    painter.fillPath(roundedPath(accentBarRect(contentHeight), accentBarRadius), accent);
    painter.restore();
}

} // namespace tolvane
