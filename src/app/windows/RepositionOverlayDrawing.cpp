#include "app/windows/RepositionOverlayDrawing.h"

#include "app/windows/RepositionStyle.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>

namespace tolvane::RepositionOverlayDrawing {

namespace {

void fillRounded(QPainter& painter, const QRectF& rect, double radius, const QColor& fill)
{
    QPainterPath path;
    path.addRoundedRect(rect, radius, radius);
    painter.fillPath(path, fill);
}

void strokeRounded(QPainter& painter, const QRectF& rect, double radius, const QColor& colour, double width)
{
    if (colour.alpha() == 0)
        return;
    // Half the pen lies outside the path: inset it so the outline stays inside the shape.
    const QRectF inner = rect.adjusted(width / 2, width / 2, -width / 2, -width / 2);
    painter.save();
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(colour, width));
    painter.drawRoundedRect(inner, radius, radius);
    painter.restore();
}

void drawText(QPainter& painter, const QRectF& rect, const QFont& font, const QColor& colour, const QString& text,
    int flags = Qt::AlignCenter)
{
    painter.save();
    painter.setFont(font);
    painter.setPen(colour);
    painter.drawText(rect, flags | Qt::TextDontClip, text);
    painter.restore();
}

ToolbarButtonStyle::Variant variantOf(RepositionOverlayView::Layout::ItemKind kind, const QString& text)
{
    using Kind = RepositionOverlayView::Layout::ItemKind;
    if (kind == Kind::done)
        return ToolbarButtonStyle::Variant::done;
    if (kind == Kind::link && text == QStringLiteral("⚭ 2-build linked"))
        return ToolbarButtonStyle::Variant::toggle;
    return ToolbarButtonStyle::Variant::secondary;
}

} // namespace

void drawHUDOutlines(QPainter& painter, const RepositionOverlayView::Layout& layout)
{
    const QFont font = repositionFont(6.5, QFont::DemiBold, painter.device());
    for (const auto& zone : layout.zones) {
        QPen pen(zone.colour, 1.5, Qt::CustomDashLine, Qt::FlatCap, Qt::MiterJoin);
        pen.setDashPattern({4 / 1.5, 3 / 1.5}); // dash lengths are in pen widths
        pen.setMiterLimit(10);
        painter.save();
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(zone.rect, 2, 2);
        painter.restore();
        drawText(painter, zone.labelRect, font, zone.colour, zone.label);
    }
}

void drawGrid(QPainter& painter, QSizeF size)
{
    const QColor line = withOpacity(Qt::white, 0.065);
    const QColor label = withOpacity(Qt::white, 0.22);
    const QFont font = repositionFont(5.5, QFont::Normal, painter.device());
    const QFontMetricsF metrics(font, painter.device());
    for (double f : {0.25, 0.5, 0.75}) {
        painter.save();
        painter.setPen(QPen(line, 1));
        painter.drawLine(QPointF(f * size.width(), 0), QPointF(f * size.width(), size.height()));
        painter.drawLine(QPointF(0, f * size.height()), QPointF(size.width(), f * size.height()));
        painter.restore();
        const QString text = QStringLiteral("%1%").arg(qRound(f * 100));
        const QSizeF textSize(metrics.horizontalAdvance(text), metrics.height());
        drawText(painter, QRectF(QPointF(f * size.width() - 8, 4), textSize), font, label, text,
            Qt::AlignLeft | Qt::AlignTop);
        drawText(painter, QRectF(QPointF(2, f * size.height() - 8), textSize), font, label, text,
            Qt::AlignLeft | Qt::AlignTop);
    }
}

void drawChip(QPainter& painter, const RepositionOverlayView& view, PanelID id)
{
    const QRectF rect = view.chipRect(id);
    const QColor colour = chipColor(id);
    fillRounded(painter, rect, 4, withOpacity(colour, 0.18));
    strokeRounded(painter, rect, 4, colour, 1.5);

    painter.save();
    painter.setClipRect(rect);
    const QFont font = repositionFont(7, QFont::Bold, painter.device());
    const QFontMetricsF metrics(font, painter.device());
    const double rowHeight = std::max(6.0, metrics.height());
    const double rowTop = rect.y() + 3;
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    painter.drawEllipse(QRectF(rect.x() + 5, rowTop + (rowHeight - 6) / 2, 6, 6));
    drawText(painter, QRectF(rect.x() + 15, rowTop, rect.width() - 20, rowHeight), font, colour, chipLabel(id),
        Qt::AlignLeft | Qt::AlignVCenter);
    painter.restore();

    if (id == PanelID::popularBuild) {
        if (const auto mark = view.linkMarkCenter()) {
            const QRectF box(mark->x() - 20, mark->y() - 10, 40, 20);
            drawText(painter, box, repositionFont(10, QFont::Normal, painter.device()), withOpacity(Qt::yellow, 0.85),
                QStringLiteral("⚭"));
        }
    }
}

void drawTabBar(QPainter& painter, const RepositionOverlayView::Layout& layout, RepositionMode active)
{
    painter.save();
    QPainterPath shape;
    shape.addRoundedRect(layout.tabBar, 6, 6);
    painter.setClipPath(shape);
    painter.fillPath(shape, withOpacity(Qt::black, 0.92));
    static constexpr std::array<const char*, 3> labels {"SR", "ARAM", "Arena"};
    for (size_t i = 0; i < layout.tabs.size(); ++i) {
        const ModeTabStyle style {allRepositionModes[i] == active, layout.scale};
        painter.fillRect(layout.tabs[i], style.background());
        drawText(painter, layout.tabs[i], style.font(painter.device()), style.text(), QString::fromLatin1(labels[i]));
    }
    for (const QRectF& divider : layout.tabDividers)
        painter.fillRect(divider, withOpacity(Qt::white, 0.18));
    painter.restore();
    strokeRounded(painter, layout.tabBar, 6, withOpacity(Qt::yellow, 0.28), 1);
}

void drawBadge(QPainter& painter, const RepositionOverlayView::Layout& layout)
{
    fillRounded(painter, layout.badge, 3, withOpacity(Qt::black, 0.5));
    drawText(painter, layout.badge, repositionMonoFont(9, QFont::Medium, painter.device()), withOpacity(Qt::white, 0.4),
        layout.badgeText);
}

void drawToolbar(QPainter& painter, const RepositionOverlayView::Layout& layout)
{
    using Kind = RepositionOverlayView::Layout::ItemKind;
    const double s = layout.scale;
    const double capsule = layout.toolbar.height() / 2;
    fillRounded(painter, layout.toolbar, capsule, QColor::fromRgbF(0.02f, 0.04f, 0.06f, 0.94f));
    strokeRounded(painter, layout.toolbar, capsule, withOpacity(Qt::yellow, 0.42), 1);
    for (const auto& item : layout.toolbarItems) {
        switch (item.kind) {
        case Kind::label:
            drawText(painter, item.rect, repositionFont(11 * s, QFont::Normal, painter.device()), Qt::gray, item.text);
            break;
        case Kind::divider:
            painter.fillRect(item.rect, withOpacity(Qt::yellow, 0.18));
            break;
        default: {
            const ToolbarButtonStyle style {variantOf(item.kind, item.text), s};
            fillRounded(painter, item.rect, ToolbarButtonStyle::cornerRadius, style.background());
            strokeRounded(painter, item.rect, ToolbarButtonStyle::cornerRadius, style.outline(), 1);
            drawText(painter, item.rect, style.font(painter.device()), style.text(), item.text);
            break;
        }
        }
    }
}

} // namespace tolvane::RepositionOverlayDrawing
