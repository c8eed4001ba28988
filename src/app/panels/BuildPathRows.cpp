#include "app/panels/BuildPathRows.h"

#include "app/panels/HudStyle.h"
#include "app/panels/HudSymbols.h"
#include "app/panels/HudViews.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QTextLayout>

#include <algorithm>

namespace tolvane {

namespace {

constexpr double kPathSpacing = 4;
constexpr double kCardSpacing = 3;

HudTextStyle small(double s, QColor colour, double tracking = 0)
{
    return {hudSmallFont(s), std::move(colour), tracking};
}

HudTextStyle strong(double s, QColor colour)
{
    return {hudStrongFont(s), std::move(colour)};
}

// edge: the icon's drawn edge, already scaled by s.
void drawIcon(QPainter& painter, int64_t id, const QString& version, double edge, QPointF topLeft, double opacity,
    HudImageSource* images, double s)
{
    painter.save();
    painter.setOpacity(painter.opacity() * opacity);
    ItemIconView {id, version, edge / s, s, images}.paint(painter, topLeft);
    painter.restore();
}

// Draws a one-line text vertically centred at x in the row; returns the x after it.
double drawAt(QPainter& painter, const QRectF& row, double x, const QString& text, const HudTextStyle& style)
{
    const double width = style.width(text);
    drawHudText(painter, QPointF(x, row.top() + (row.height() - style.lineHeight()) / 2), text, style);
    return x + width;
}

} // namespace

void drawCentredLine(QPainter& painter, const QRectF& box, const QString& text, const HudTextStyle& style,
    double minimumScale, Qt::Alignment alignment)
{
    const double lh = style.lineHeight();
    drawHudLine(painter, QRectF(box.left(), box.top() + (box.height() - lh) / 2, std::max(box.width(), 0.0), lh), text,
        style, alignment, minimumScale);
}

PanelRow wrappedTextRow(const QString& name, const QString& text, const HudTextStyle& style, double width)
{
    std::vector<QString> lines;
    QTextLayout layout(text, style.qfont());
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        lines.push_back(text.mid(line.textStart(), line.textLength()).trimmed());
    }
    layout.endLayout();
    return {name, style.lineHeight() * double(std::max<size_t>(lines.size(), 1)),
        [lines, style](QPainter& painter, const QRectF& row) {
            double y = row.top();
            for (const QString& line : lines) {
                drawHudText(painter, QPointF(row.left(), y), line, style);
                y += style.lineHeight();
            }
        }};
}

BuildPathRows::BuildPathRows(Inputs inputs)
{
    auto shared = std::make_shared<Shared>();
    shared->layout
        = BuildPathLayout::make(inputs.build, inputs.owned, inputs.catalog ? *inputs.catalog : ItemCatalog::empty());
    shared->version = std::move(inputs.version);
    shared->accent = std::move(inputs.accent);
    shared->images = inputs.images;
    shared->s = inputs.s > 0 ? inputs.s : defaultWindowFontScale;
    shared->rowIcon = rowIconSize * shared->s;
    shared->pathIcon = pathIconSize * shared->s;
    shared->altIcon = alternativeIconSize * shared->s;
    layout_ = &shared->layout;
    shared_ = std::move(shared);
}

void BuildPathRows::appendBody(HudColumn& stack) const
{
    const std::shared_ptr<const Shared> shared = shared_;
    const BuildPathLayout& layout = shared->layout;

    if (!layout.starters.empty()) {
        const HudTextStyle label = small(shared->s, HUD::textSecondary(), 1.0);
        stack.add({QStringLiteral("start"), std::max(label.lineHeight(), shared->rowIcon),
            [shared, label](QPainter& painter, const QRectF& row) {
                double x = drawAt(painter, row, row.left(), QStringLiteral("START"), label) + kPathSpacing;
                for (const BuildSlot& slot : shared->layout.starters) {
                    drawIcon(painter, slot.item.id, shared->version, shared->rowIcon,
                        QPointF(x, row.top() + (row.height() - shared->rowIcon) / 2), slot.owned ? 0.4 : 0.9,
                        shared->images, shared->s);
                    x += shared->rowIcon + kPathSpacing;
                }
            }});
    }

    const HudTextStyle overflow = small(shared->s, HUD::textSecondary());
    // Always a row, of no height when the path is empty: the owner's spacing still follows it.
    stack.add({QStringLiteral("path"), layout.pathTiles.empty() ? 0.0 : shared->pathIcon,
        [shared, overflow](QPainter& painter, const QRectF& row) {
            double x = row.left();
            for (const BuildSlot& slot : shared->layout.pathTiles) {
                const QRectF icon(
                    x, row.top() + (row.height() - shared->pathIcon) / 2, shared->pathIcon, shared->pathIcon);
                drawIcon(painter, slot.item.id, shared->version, shared->pathIcon, icon.topLeft(),
                    slot.owned ? 0.42 : 1.0, shared->images, shared->s);
                if (slot.owned)
                    BuildGlyph::ownedBadge(painter, BuildGlyph::ownedBadgeRect(icon, 10, 3));
                if (slot.isNext) {
                    painter.save();
                    painter.setRenderHint(QPainter::Antialiasing);
                    painter.setPen(QPen(shared->accent, 2));
                    painter.setBrush(Qt::NoBrush);
                    painter.drawRoundedRect(icon.adjusted(1, 1, -1, -1), 5, 5); // stroked on its inside
                    painter.restore();
                }
                x += shared->pathIcon + kPathSpacing;
            }
            if (shared->layout.overflowText)
                drawAt(painter, row, x, *shared->layout.overflowText, overflow);
        }});

    if (!layout.next) {
        const HudTextStyle done = small(shared->s, HUD::ahead());
        stack.add({QStringLiteral("complete"), done.lineHeight(), [done](QPainter& painter, const QRectF& row) {
                       drawAt(painter, row, row.left(), QStringLiteral("build complete \u2713"), done);
                   }});
        return;
    }

    const BuildPathLayout::NextCard& card = *layout.next;
    const HudTextStyle nextLabel = small(shared->s, shared->accent, 1.2);
    const HudTextStyle name = strong(shared->s, HUD::textPrimary());
    HudTextStyle cost = strong(shared->s, HUD::gold());
    cost.monospacedDigits = true;
    const HudTextStyle orLabel = small(shared->s, HUD::textSecondary());
    const double line1 = std::max({nextLabel.lineHeight(), name.lineHeight(), cost.lineHeight()});
    const double line2 = card.alternatives.empty() ? 0 : std::max(orLabel.lineHeight(), shared->altIcon);
    const double line3 = card.recipe.empty() ? 0 : shared->rowIcon;
    double height = line1;
    if (line2 > 0)
        height += kCardSpacing + line2;
    if (line3 > 0)
        height += kCardSpacing + line3;

    stack.add({QStringLiteral("next"), height,
        [shared, nextLabel, name, cost, orLabel, line1, line2, line3](QPainter& painter, const QRectF& box) {
            const BuildPathLayout::NextCard& card = *shared->layout.next;
            constexpr double gap = 5;
            QRectF row(box.left(), box.top(), box.width(), line1);
            const double nameLeft = drawAt(painter, row, row.left(), QStringLiteral("NEXT"), nextLabel) + gap;
            double nameRight = row.right() - gap - 4; // the spacer keeps at least 4
            if (card.costText) {
                const double costWidth = cost.width(*card.costText);
                drawCentredLine(
                    painter, QRectF(row.right() - costWidth, row.top(), costWidth, row.height()), *card.costText, cost);
                nameRight -= costWidth + gap;
            }
            drawCentredLine(painter, QRectF(nameLeft, row.top(), nameRight - nameLeft, row.height()),
                card.slot.item.name, name, 0.85);

            double y = row.bottom() + kCardSpacing;
            if (line2 > 0) {
                row = QRectF(box.left(), y, box.width(), line2);
                double x = drawAt(painter, row, row.left(), QStringLiteral("or"), orLabel) + 4;
                for (const MetaItem& alternative : card.alternatives) {
                    drawIcon(painter, alternative.id, shared->version, shared->altIcon,
                        QPointF(x, row.top() + (row.height() - shared->altIcon) / 2), 1.0, shared->images, shared->s);
                    x += shared->altIcon + 4;
                }
                y = row.bottom() + kCardSpacing;
            }
            if (line3 > 0) {
                row = QRectF(box.left(), y, box.width(), line3);
                constexpr double step = 3;
                const QRectF arrow(row.left(), row.top() + (row.height() - 8) / 2, 8, 8);
                BuildGlyph::turnDownRight(painter, arrow, HUD::textSecondary());
                double x = arrow.right() + step;
                bool first = true;
                for (const BuildPathLayout::Component& component : card.recipe) {
                    if (!first) {
                        const QSizeF chevron = hudSymbolSize(HudSymbol::chevronCompactRight, 9);
                        drawHudSymbol(painter, HudSymbol::chevronCompactRight,
                            QRectF(QPointF(x, row.top() + (row.height() - chevron.height()) / 2), chevron),
                            HUD::textSecondary());
                        x += chevron.width() + step;
                    }
                    first = false;
                    const QRectF icon(
                        x, row.top() + (row.height() - shared->rowIcon) / 2, shared->rowIcon, shared->rowIcon);
                    drawIcon(painter, component.id, shared->version, shared->rowIcon, icon.topLeft(),
                        component.owned ? 0.4 : 0.95, shared->images, shared->s);
                    if (component.owned)
                        BuildGlyph::ownedBadge(painter, BuildGlyph::ownedBadgeRect(icon, 8, 2));
                    x += shared->rowIcon + step;
                }
            }
        }});
}

void BuildPathRows::appendBoots(HudColumn& stack, bool ownedBadge) const
{
    if (!shared_->layout.boots)
        return;
    const std::shared_ptr<const Shared> shared = shared_;
    const HudTextStyle label = small(shared->s, HUD::textSecondary(), 1.2);
    const HudTextStyle name
        = strong(shared->s, shared->layout.boots->owned ? HUD::textSecondary() : HUD::textPrimary());
    const double height = std::max({label.lineHeight(), name.lineHeight(), shared->rowIcon});
    stack.add(
        {QStringLiteral("boots"), height, [shared, label, name, ownedBadge](QPainter& painter, const QRectF& row) {
             constexpr double gap = 6;
             const BuildSlot& slot = *shared->layout.boots;
             const double nameLeft = drawAt(painter, row, row.left(), QStringLiteral("BOOTS"), label) + gap;
             const QRectF icon(row.right() - shared->rowIcon, row.top() + (row.height() - shared->rowIcon) / 2,
                 shared->rowIcon, shared->rowIcon);
             drawCentredLine(painter, QRectF(nameLeft, row.top(), icon.left() - gap - 4 - gap - nameLeft, row.height()),
                 slot.item.name, name, 0.85);
             drawIcon(painter, slot.item.id, shared->version, shared->rowIcon, icon.topLeft(), slot.owned ? 0.4 : 0.95,
                 shared->images, shared->s);
             if (slot.owned && ownedBadge)
                 BuildGlyph::ownedBadge(painter, BuildGlyph::ownedBadgeRect(icon, 8, 2));
         }});
}

namespace BuildGlyph {

QRectF ownedBadgeRect(const QRectF& icon, double n, double d)
{
    return {icon.right() - n + d, icon.top() - d, n, n};
}

void ownedBadge(QPainter& painter, const QRectF& box)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::black);
    painter.drawEllipse(box);
    const double inset = box.width() * 0.08;
    painter.setBrush(HUD::ahead());
    painter.drawEllipse(box.adjusted(inset, inset, -inset, -inset));
    const double w = box.width(), h = box.height();
    const QPointF o = box.topLeft();
    painter.setPen(QPen(Qt::black, std::max(0.8, w * 0.14), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPolyline(
        QPolygonF({o + QPointF(w * 0.3, h * 0.52), o + QPointF(w * 0.45, h * 0.67), o + QPointF(w * 0.72, h * 0.36)}));
    painter.restore();
}

void turnDownRight(QPainter& painter, const QRectF& box, const QColor& colour)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const double w = box.width(), h = box.height();
    const QPointF o = box.topLeft();
    painter.setPen(QPen(colour, std::max(0.9, w * 0.13), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    QPainterPath stem;
    stem.moveTo(o + QPointF(w * 0.2, h * 0.1));
    stem.lineTo(o + QPointF(w * 0.2, h * 0.45));
    stem.quadTo(o + QPointF(w * 0.2, h * 0.7), o + QPointF(w * 0.45, h * 0.7));
    stem.lineTo(o + QPointF(w * 0.85, h * 0.7));
    painter.drawPath(stem);
    painter.drawPolyline(
        QPolygonF({o + QPointF(w * 0.62, h * 0.47), o + QPointF(w * 0.88, h * 0.7), o + QPointF(w * 0.62, h * 0.93)}));
    painter.restore();
}

void checkmark(QPainter& painter, const QRectF& box, const QColor& colour)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const double w = box.width(), h = box.height();
    const QPointF o = box.topLeft();
    painter.setPen(QPen(colour, std::max(1.0, h * 0.17), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPolyline(
        QPolygonF({o + QPointF(w * 0.12, h * 0.55), o + QPointF(w * 0.4, h * 0.82), o + QPointF(w * 0.9, h * 0.18)}));
    painter.restore();
}

void bolt(QPainter& painter, const QRectF& box, const QColor& colour)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    const double w = box.width(), h = box.height();
    const QPointF o = box.topLeft();
    painter.drawPolygon(
        QPolygonF({o + QPointF(w * 0.62, 0), o + QPointF(w * 0.12, h * 0.58), o + QPointF(w * 0.46, h * 0.58),
            o + QPointF(w * 0.36, h), o + QPointF(w * 0.88, h * 0.4), o + QPointF(w * 0.54, h * 0.4)}));
    painter.restore();
}

} // namespace BuildGlyph

} // namespace tolvane
