#include "app/panels/HudViews.h"

#include "app/panels/HudStyle.h"
#include "core/knowledge/DDragon.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <utility>

namespace tolvane {

namespace {

QPainterPath rounded(const QRectF& rect, double radius)
{
    QPainterPath path;
    path.addRoundedRect(rect, radius, radius);
    return path;
}

QPainterPath capsule(const QRectF& rect)
{
    const double radius = std::min(rect.width(), rect.height()) / 2;
    return rounded(rect, radius);
}

// Absolute value that cannot overflow.
uint64_t magnitude(int64_t value)
{
    return value < 0 ? uint64_t(0) - uint64_t(value) : uint64_t(value);
}

} // namespace

QString compactGold(int64_t amount)
{
    if (amount > 999)
        return QString::asprintf("%.1fk", double(amount) / 1000.0);
    return QString::number(amount);
}

// HUDHeader

HudTextStyle HUDHeader::titleStyle() const
{
    return {hudHeaderFont(s), accent, 1.6};
}

HudTextStyle HUDHeader::trailingStyle() const
{
    return {hudSmallFont(s), HUD::textSecondary(), 1.0};
}

double HUDHeader::height() const
{
    double h = titleStyle().lineHeight();
    if (trailing)
        h = std::max(h, trailingStyle().lineHeight());
    return h;
}

void HUDHeader::paint(QPainter& painter, const QRectF& row) const
{
    const double h = height();
    const HudTextStyle titleText = titleStyle();
    const QString upperTitle = title.toUpper();
    // The title keeps its whole width while it fits the row; the trailing text gives way first.
    const double titleWidth = std::min(titleText.width(upperTitle), row.width());
    if (trailing) {
        const HudTextStyle trailingText = trailingStyle();
        const QString upperTrailing = trailing->toUpper();
        const double room = std::max(row.width() - titleWidth - 6 - 4, 0.0);
        const double trailingWidth = std::min(trailingText.width(upperTrailing), room);
        if (trailingWidth > 0)
            drawHudLine(painter,
                QRectF(row.right() - trailingWidth, row.top() + (h - trailingText.lineHeight()) / 2, trailingWidth,
                    trailingText.lineHeight()),
                upperTrailing, trailingText, Qt::AlignRight);
    }
    drawHudLine(painter,
        QRectF(row.left(), row.top() + (h - titleText.lineHeight()) / 2, titleWidth, titleText.lineHeight()),
        upperTitle, titleText);
}

// CaveatPill

HudTextStyle CaveatPill::textStyle() const
{
    return {hudSmallFont(s), color};
}

QSizeF CaveatPill::size() const
{
    const QSizeF text = textStyle().size(this->text);
    return {text.width() + 12 * s, text.height() + 4 * s};
}

void CaveatPill::paint(QPainter& painter, QPointF topLeft) const
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF box(topLeft, size());
    painter.fillPath(capsule(box), withAlpha(color, 0.14));
    painter.setPen(QPen(withAlpha(color, 0.35), 0.5));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(capsule(box.adjusted(0.25, 0.25, -0.25, -0.25)));
    drawHudText(painter, topLeft + QPointF(6 * s, 2 * s), text, textStyle());
    painter.restore();
}

// ItemIconView

std::optional<QUrl> ItemIconView::imageAddress() const
{
    // The source names the base; without one nothing would load the image anyway.
    return images ? DDragonImage::item(itemID, version, images->dataDragonBase()) : std::nullopt;
}

ItemIconView::Look ItemIconView::look() const
{
    // Without a source nothing loads, but the tile still tells an item from no item.
    if (!images)
        return {itemID >= 1 && !version.isEmpty() ? Shows::placeholder : Shows::emptyTile, std::nullopt};
    const std::optional<QUrl> address = imageAddress();
    if (!address)
        return {Shows::emptyTile, std::nullopt};
    std::optional<QImage> image = images->image(*address);
    return {image ? Shows::image : Shows::placeholder, std::move(image)};
}

ItemIconView::Shows ItemIconView::shows() const
{
    return look().shows;
}

void ItemIconView::paint(QPainter& painter, QPointF topLeft) const
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const double e = edge();
    const QRectF tile(topLeft, QSizeF(e, e));
    const QPainterPath shape = rounded(tile, cornerRadius);
    painter.fillPath(shape, HUD::iconBg());

    if (const Look look = this->look(); look.shows != Shows::emptyTile) {
        if (look.image) {
            painter.save();
            painter.setClipPath(shape);
            painter.setRenderHint(QPainter::SmoothPixmapTransform);
            painter.drawImage(tile, *look.image); // stretched to the tile, whatever its aspect
            painter.restore();
        } else {
            const double glyph = e * 0.4;
            const QSizeF box = hudSymbolSize(HudSymbol::cubeFill, glyph);
            drawHudSymbol(painter, HudSymbol::cubeFill,
                QRectF(tile.center() - QPointF(box.width() / 2, box.height() / 2), box),
                withAlpha(HUD::textSecondary(), 0.35));
        }
    }

    painter.setPen(QPen(HUD::stroke(), 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(rounded(tile.adjusted(0.5, 0.5, -0.5, -0.5), cornerRadius - 0.5));
    painter.restore();
}

// ItemStrip

QSizeF ItemStrip::chevronSize() const
{
    return hudSymbolSize(HudSymbol::chevronCompactRight, 9 * s);
}

std::vector<QRectF> ItemStrip::iconRects() const
{
    std::vector<QRectF> rects;
    const double e = size * s;
    const double height = frameSize().height();
    double x = 0;
    for (size_t i = 0; i < ids.size(); ++i) {
        if (connector && i > 0)
            x += chevronSize().width() + spacing();
        rects.emplace_back(x, (height - e) / 2, e, e);
        x += e + spacing();
    }
    return rects;
}

std::vector<QRectF> ItemStrip::chevronRects() const
{
    std::vector<QRectF> rects;
    if (!connector)
        return rects;
    const std::vector<QRectF> icons = iconRects();
    const QSizeF chevron = chevronSize();
    const double height = frameSize().height();
    for (size_t i = 1; i < icons.size(); ++i)
        rects.emplace_back(icons[i].left() - spacing() - chevron.width(), (height - chevron.height()) / 2,
            chevron.width(), chevron.height());
    return rects;
}

QSizeF ItemStrip::frameSize() const
{
    if (ids.empty())
        return {0, 0};
    const double e = size * s;
    const double n = double(ids.size());
    double width = n * e + (n - 1) * spacing();
    if (connector)
        width += (n - 1) * (chevronSize().width() + spacing());
    return {width, std::max(e, connector && ids.size() > 1 ? chevronSize().height() : 0.0)};
}

void ItemStrip::paint(QPainter& painter, QPointF topLeft) const
{
    const std::vector<QRectF> icons = iconRects();
    for (size_t i = 0; i < ids.size(); ++i)
        ItemIconView {ids[i], version, size, s, images}.paint(painter, topLeft + icons[i].topLeft());
    for (const QRectF& chevron : chevronRects())
        drawHudSymbol(painter, HudSymbol::chevronCompactRight, chevron.translated(topLeft), HUD::textSecondary());
}

// DivergingGoldBar

double DivergingGoldBar::fillLength() const
{
    const double f = std::min(double(magnitude(delta)) / double(std::max<int64_t>(maxMagnitude, 1)), 1.0);
    const double minimum = delta != 0 ? 2.0 : 0.0;
    return std::max(trackWidth() / 2 * f, minimum);
}

QColor DivergingGoldBar::fillColor() const
{
    return delta >= 0 ? HUD::ahead() : HUD::behind();
}

QRectF DivergingGoldBar::fillRect() const
{
    const double length = fillLength();
    const double centre = trackWidth() / 2;
    const double top = 2.5;
    return delta >= 0 ? QRectF(centre, top, length, barHeight()) : QRectF(centre - length, top, length, barHeight());
}

void DivergingGoldBar::paint(QPainter& painter, QPointF topLeft) const
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(topLeft);
    const QRectF track(0, 2.5, trackWidth(), barHeight());
    painter.fillPath(capsule(track), QColor(255, 255, 255, int(std::lround(255 * 0.1))));
    if (fillLength() > 0)
        painter.fillPath(capsule(fillRect()), fillColor());
    painter.fillRect(QRectF(trackWidth() / 2 - 0.6, 0, 1.2, barHeight() + 5), QColor(255, 255, 255, 140));
    painter.restore();
}

// GoldDeltaBadge

QColor GoldDeltaBadge::color() const
{
    if (delta == 0)
        return HUD::neutral();
    return delta < 0 ? HUD::behind() : HUD::ahead();
}

HudSymbol GoldDeltaBadge::symbol() const
{
    if (delta == 0)
        return HudSymbol::equalCircleFill;
    return delta < 0 ? HudSymbol::arrowtriangleDownFill : HudSymbol::arrowtriangleUpFill;
}

QString GoldDeltaBadge::text() const
{
    const uint64_t m = magnitude(delta);
    const QString figure = m < 1000 ? QString::number(m) : QString::asprintf("%.1fk", double(m) / 1000.0);
    if (delta == 0)
        return figure;
    return (delta < 0 ? QStringLiteral("\u2212") : QStringLiteral("+")) + figure;
}

HudTextStyle GoldDeltaBadge::textStyle() const
{
    return {hudBigFont(s), color(), 0, true};
}

QSizeF GoldDeltaBadge::symbolSize() const
{
    return hudSymbolSize(symbol(), hudGlyphFont(13, QFont::Bold, s).size());
}

QSizeF GoldDeltaBadge::size() const
{
    const QSizeF figures = textStyle().size(text());
    const QSizeF glyph = symbolSize();
    return {glyph.width() + 4 + figures.width(), std::max(glyph.height(), figures.height())};
}

double GoldDeltaBadge::baseline() const
{
    const HudTextStyle style = textStyle();
    return (size().height() - style.lineHeight()) / 2 + style.ascent();
}

void GoldDeltaBadge::paint(QPainter& painter, QPointF topLeft) const
{
    const QSizeF whole = size();
    const QSizeF glyph = symbolSize();
    const HudTextStyle style = textStyle();
    // The symbol sits on the figures' middle, as a vertically centred row would put it.
    drawHudSymbol(
        painter, symbol(), QRectF(topLeft + QPointF(0, (whole.height() - glyph.height()) / 2), glyph), color());
    drawHudText(
        painter, topLeft + QPointF(glyph.width() + 4, (whole.height() - style.lineHeight()) / 2), text(), style);
}

} // namespace tolvane
