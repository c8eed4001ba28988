#include "app/champselect/LiveStack.h"

#include "app/panels/HudPanel.h"
#include "app/panels/HudStyle.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>

namespace tolvane {

LiveEntry liveCard(const QString& name, const QColor& accent, double cardWidth, double s, HudColumn column)
{
    const HudPanel panel = hudPanel(accent, cardWidth, 1.0, s);
    const double height = column.height();
    LiveEntry entry;
    entry.name = name;
    entry.size = panel.outerSize(height);
    entry.rows = column.names();
    entry.paint = [panel, height, column = std::move(column)](QPainter& painter, QPointF topLeft) {
        painter.save();
        painter.translate(topLeft);
        panel.paint(painter, height);
        column.paint(painter, panel.contentRect(height));
        painter.restore();
    };
    return entry;
}

bool LiveIcon::showsImage() const
{
    if (!address || !images)
        return false;
    return images->image(*address).has_value();
}

void LiveIcon::paint(QPainter& painter, QPointF topLeft) const
{
    const QRectF box(topLeft, QSizeF(edge, edge));
    const double r = std::min(radius, edge / 2);
    QPainterPath clip;
    clip.addRoundedRect(box, r, r);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setOpacity(painter.opacity() * opacity);
    std::optional<QImage> image;
    if (address && images)
        image = images->image(*address);
    if (image && !image->isNull()) {
        painter.setClipPath(clip);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        const QSizeF fitted = QSizeF(image->size()).scaled(box.size(), Qt::KeepAspectRatio);
        const QRectF target(box.center() - QPointF(fitted.width() / 2, fitted.height() / 2), fitted);
        painter.drawImage(target, *image);
        painter.setClipping(false);
    } else {
        painter.fillPath(clip, HUD::iconBg());
    }
    if (border) {
        QPainterPath inner;
        inner.addRoundedRect(box.adjusted(0.5, 0.5, -0.5, -0.5), std::max(0.0, r - 0.5), std::max(0.0, r - 0.5));
        painter.setPen(QPen(HUD::stroke(), 1));
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(inner);
    }
    painter.restore();
}

PanelRow textRow(const QString& text, const HudTextStyle& style)
{
    return {text, style.lineHeight(),
        [text, style](QPainter& painter, const QRectF& slot) { drawHudLine(painter, slot, text, style); }};
}

double wrappedHeight(const QString& text, const HudTextStyle& style, double width)
{
    const QFontMetricsF metrics(style.qfont());
    const QRectF bounds
        = metrics.boundingRect(QRectF(0, 0, std::max(1.0, width), 1e6), Qt::TextWordWrap | Qt::AlignLeft, text);
    return std::max(style.lineHeight(), std::ceil(bounds.height()));
}

void drawWrapped(
    QPainter& painter, const QRectF& box, const QString& text, const HudTextStyle& style, Qt::Alignment align)
{
    painter.save();
    painter.setFont(style.qfont(painter.device()));
    painter.setPen(style.color);
    painter.drawText(box, int(Qt::TextWordWrap | Qt::AlignTop | align), text);
    painter.restore();
}

PanelRow wrappedRow(const QString& text, const HudTextStyle& style, double width, Qt::Alignment align)
{
    return {text, wrappedHeight(text, style, width), [text, style, align](QPainter& painter, const QRectF& slot) {
                drawWrapped(painter, slot, text, style, align);
            }};
}

LiveRowItem iconItem(const LiveIcon& icon)
{
    return {QSizeF(icon.edge, icon.edge), [icon](QPainter& painter, QPointF topLeft) { icon.paint(painter, topLeft); }};
}

LiveRowItem textItem(const QString& text, const HudTextStyle& style)
{
    return {style.size(text), [text, style](QPainter& painter, QPointF topLeft) {
                drawHudLine(painter, QRectF(topLeft, style.size(text) + QSizeF(1, 0)), text, style);
            }};
}

namespace {

double rowHeight(const std::vector<LiveRowItem>& a, const std::vector<LiveRowItem>& b)
{
    double height = 0;
    for (const auto* list : {&a, &b})
        for (const auto& item : *list)
            height = std::max(height, item.size.height());
    return height;
}

double rowWidth(const std::vector<LiveRowItem>& items, double spacing)
{
    double width = 0;
    for (const auto& item : items)
        width += item.size.width();
    return width + spacing * double(items.empty() ? 0 : items.size() - 1);
}

void paintItems(QPainter& painter, const std::vector<LiveRowItem>& items, double x, double top, double height,
    double spacing, bool topAligned)
{
    for (const auto& item : items) {
        const double y = topAligned ? top : top + (height - item.size.height()) / 2;
        item.paint(painter, QPointF(x, y));
        x += item.size.width() + spacing;
    }
}

} // namespace

PanelRow horizontalRow(const QString& name, std::vector<LiveRowItem> leading, double spacing,
    std::vector<LiveRowItem> trailing, bool topAligned)
{
    const double height = rowHeight(leading, trailing);
    return {name, height, [=](QPainter& painter, const QRectF& slot) {
                paintItems(painter, leading, slot.left(), slot.top(), height, spacing, topAligned);
                paintItems(painter, trailing, slot.right() - rowWidth(trailing, spacing), slot.top(), height, spacing,
                    topAligned);
            }};
}

PanelRow centredRow(const QString& name, std::vector<LiveRowItem> items, double spacing, bool topAligned)
{
    const double height = rowHeight(items, {});
    return {name, height, [=](QPainter& painter, const QRectF& slot) {
                const double x = slot.left() + (slot.width() - rowWidth(items, spacing)) / 2;
                paintItems(painter, items, x, slot.top(), height, spacing, topAligned);
            }};
}

LiveStackView::LiveStackView(HudImageSource* images, QWidget* parent)
    : QWidget(parent)
    , images_(images)
{
    if (images)
        connect(images, &HudImageSource::imageArrived, this, qOverload<>(&QWidget::update));
}

void LiveStackView::setWindowFontScale(double s)
{
    s_ = s;
    rebuild();
}

void LiveStackView::rebuild()
{
    entries_ = build();
    updateGeometry();
    update();
}

std::vector<QString> LiveStackView::entryNames() const
{
    std::vector<QString> names;
    for (const auto& entry : entries_)
        names.push_back(entry.name);
    return names;
}

const LiveEntry* LiveStackView::entry(const QString& name) const
{
    for (const auto& entry : entries_)
        if (entry.name == name)
            return &entry;
    return nullptr;
}

std::vector<QRectF> LiveStackView::entryRects() const
{
    std::vector<QRectF> rects;
    double y = 0;
    for (const auto& entry : entries_) {
        rects.emplace_back(QPointF(0, y), entry.size);
        y += entry.size.height() + spacing();
    }
    return rects;
}

QSize LiveStackView::sizeHint() const
{
    double width = 0;
    double height = 0;
    for (const auto& rect : entryRects()) {
        width = std::max(width, rect.right());
        height = std::max(height, rect.bottom());
    }
    return QSizeF(width, height).toSize().expandedTo(QSize(1, 1));
}

void LiveStackView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const auto rects = entryRects();
    for (size_t i = 0; i < entries_.size(); ++i)
        if (entries_[i].paint)
            entries_[i].paint(painter, rects[i].topLeft());
}

} // namespace tolvane
