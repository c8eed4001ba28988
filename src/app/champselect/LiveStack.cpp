#include "app/champselect/LiveStack.h"

#include "app/panels/HudPanel.h"
#include "app/panels/HudStyle.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace tolvane {

LiveEntry liveCard(const QString& name, const QColor& accent, double cardWidth, double s, HudColumn column)
{
    const HudPanel panel = hudPanel(accent, cardWidth, 1.0, s);
    const double height = column.height();
    LiveEntry entry;
    entry.name = name;
    entry.size = panel.frameSize(height);
    entry.rows = column.names();
    entry.paint = [panel, height, column = std::move(column)](QPainter& painter, QPointF topLeft) {
        painter.save();
        // The panel draws from the corner of its shadow's room; the entry starts at the card.
        painter.translate(topLeft - panel.frameRect(height).topLeft());
        panel.paint(painter, height);
        column.paint(painter, panel.contentRect(height));
        painter.restore();
    };
    return entry;
}

double fittedCardWidth(double cardWidth, double s, double available)
{
    const HudPanel panel = hudPanel(QColor(), cardWidth, 1.0, s);
    if (available <= 0 || s <= 0 || panel.frameSize(0).width() <= available)
        return cardWidth;
    const QMarginsF pad = panel.padding();
    return std::max(0.0, (available - pad.left() - pad.right()) / s);
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

PanelRow wrappedRow(const QString& text, const HudTextStyle& style, double width, Qt::Alignment align)
{
    return {text, wrappedTextHeight(text, style, width), [text, style, align](QPainter& painter, const QRectF& slot) {
                drawWrappedText(painter, slot, text, style, align);
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

void LiveStackView::setAvailableWidth(double width)
{
    width = std::max(width, 0.0);
    if (std::abs(width - available_) < 0.01)
        return;
    available_ = width;
    rebuild();
}

void LiveStackView::rebuild()
{
    entries_ = build(available_);
    updateGeometry();
    update();
    emit rebuilt();
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
    double y = bleed.top();
    for (const auto& entry : entries_) {
        rects.emplace_back(QPointF(bleed.left(), y), entry.size);
        y += entry.size.height() + spacing();
    }
    return rects;
}

double LiveStackView::stackHeight(const std::vector<LiveEntry>& entries) const
{
    double height = 0;
    for (const auto& entry : entries)
        height += entry.size.height();
    return height + spacing() * double(entries.empty() ? 0 : entries.size() - 1);
}

QSizeF LiveStackView::contentSize() const
{
    double width = 0;
    for (const auto& entry : entries_)
        width = std::max(width, entry.size.width());
    return {width, stackHeight(entries_)};
}

double LiveStackView::contentHeight(double width) const
{
    if (std::abs(width - available_) < 0.01)
        return stackHeight(entries_);
    return stackHeight(build(width));
}

double LiveStackView::contentWidth(double width) const
{
    double widest = 0;
    for (const auto& entry : std::abs(width - available_) < 0.01 ? entries_ : build(width))
        widest = std::max(widest, entry.size.width());
    return widest;
}

QSize LiveStackView::sizeHint() const
{
    const QSizeF content = contentSize();
    return QSize(int(std::ceil(content.width())) + bleed.left() + bleed.right(),
        int(std::ceil(content.height())) + bleed.top() + bleed.bottom());
}

QSize LiveStackView::minimumSizeHint() const
{
    // Text wraps and cards narrow to the width given, so the width is never held.
    return QSize(bleed.left() + bleed.right(), sizeHint().height());
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
