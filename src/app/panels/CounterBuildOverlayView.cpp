#include "app/panels/CounterBuildOverlayView.h"

#include "app/panels/HudStyle.h"
#include "app/panels/HudViews.h"
#include "app/panels/MatchupBuildBody.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace tolvane {

namespace {

HudTextStyle small(QColor colour)
{
    return {hudSmallFont(), std::move(colour)};
}

HudTextStyle figures(QColor colour)
{
    HudTextStyle style {hudStrongFont(), std::move(colour)};
    style.monospacedDigits = true;
    return style;
}

HudPanel tealPanel(double width)
{
    return hudPanel(HUD::teal(), width, 1.0);
}

PanelRow textRow(const QString& name, const QString& text, const HudTextStyle& style, double shrink = 1.0)
{
    return {name, style.lineHeight(), [text, style, shrink](QPainter& painter, const QRectF& row) {
                drawCentredLine(painter, row, text, style, shrink);
            }};
}

PanelRow pillRow(const QString& name, const CaveatPill& pill)
{
    return {name, pill.size().height(),
        [pill](QPainter& painter, const QRectF& row) { pill.paint(painter, row.topLeft()); }};
}

PanelRow damageRow(const ThreatProfile& t)
{
    const double height = std::max(figures(HUD::gold()).lineHeight(), small(HUD::textSecondary()).lineHeight());
    return {QStringLiteral("damage"), height, [t](QPainter& painter, const QRectF& row) {
                double x = row.left();
                auto tag = [&](int64_t count, const QColor& colour, const QString& label) {
                    const HudTextStyle figure = figures(colour);
                    const HudTextStyle unit = small(HUD::textSecondary());
                    const QString text = QString::number(count);
                    drawCentredLine(painter, QRectF(x, row.top(), figure.width(text), row.height()), text, figure);
                    x += figure.width(text) + 3;
                    drawCentredLine(painter, QRectF(x, row.top(), unit.width(label), row.height()), label, unit);
                    x += unit.width(label) + 8;
                };
                tag(t.apCount, HUD::violet(), QStringLiteral("AP"));
                tag(t.adCount, HUD::gold(), QStringLiteral("AD"));
                if (t.mixedCount >= 1)
                    tag(t.mixedCount, HUD::neutral(), QStringLiteral("MIX"));
                if (t.assassinThreat) {
                    const HudTextStyle word = small(HUD::behind());
                    const QString text = QStringLiteral("assassin");
                    const double textWidth = word.width(text);
                    drawCentredLine(
                        painter, QRectF(row.right() - textWidth, row.top(), textWidth, row.height()), text, word);
                    BuildGlyph::bolt(painter,
                        QRectF(row.right() - textWidth - 2 - 6, row.top() + (row.height() - 8) / 2, 6, 8),
                        HUD::behind());
                }
            }};
}

PanelRow ccRow(const ThreatProfile& t)
{
    const HudTextStyle style = small(HUD::textSecondary());
    const QString cc = CounterBuildOverlayView::hardCCText(t.ccCoverage);
    const std::optional<QString> unclassified = CounterBuildOverlayView::unclassifiedText(t.unknownCount);
    return {QStringLiteral("cc"), style.lineHeight(), [style, cc, unclassified](QPainter& painter, const QRectF& row) {
                drawCentredLine(painter, row, cc, style);
                if (unclassified) {
                    const double left = row.left() + style.width(cc) + 6;
                    drawCentredLine(
                        painter, QRectF(left, row.top(), row.right() - left, row.height()), *unclassified, style);
                }
            }};
}

PanelRow itemRow(const RankedItem& item, const QString& version, HudImageSource* images)
{
    constexpr double icon = 34;
    return {QStringLiteral("item"), icon, [item, version, images](QPainter& painter, const QRectF& row) {
                constexpr double gap = 7;
                painter.save();
                painter.setOpacity(item.owned ? 0.5 : 1.0);
                ItemIconView {item.id, version, icon, defaultWindowFontScale, images}.paint(painter, row.topLeft());
                painter.restore();

                const HudTextStyle name {hudBodyFont(), item.owned ? HUD::textSecondary() : HUD::textPrimary()};
                double right = row.right();
                if (item.owned) {
                    painter.save();
                    painter.setOpacity(0.8);
                    const HudTextStyle word = small(HUD::ahead());
                    const double w = word.width(QStringLiteral("owned"));
                    drawCentredLine(
                        painter, QRectF(right - w, row.top(), w, row.height()), QStringLiteral("owned"), word);
                    BuildGlyph::checkmark(
                        painter, QRectF(right - w - 2 - 8, row.top() + (row.height() - 8) / 2, 8, 8), HUD::ahead());
                    painter.restore();
                    right -= w + 2 + 8;
                } else {
                    const HudTextStyle reason = small(HUD::teal());
                    const double w = reason.width(item.reason);
                    drawCentredLine(painter, QRectF(right - w, row.top(), w, row.height()), item.reason, reason);
                    right -= w;
                }
                const double left = row.left() + icon + gap;
                drawCentredLine(
                    painter, QRectF(left, row.top(), right - gap - 4 - gap - left, row.height()), item.name, name, 0.8);
            }};
}

} // namespace

CounterBuildOverlayView::CounterBuildOverlayView(
    CounterBuildViewModel& vm, double width, HudImageSource* images, QObject* parent)
    : HudPanelContent(parent)
    , vm_(vm)
    , width_(width)
    , images_(images)
{
    connect(&vm_, &CounterBuildViewModel::changed, this, &OverlayContent::changed);
    if (images)
        connect(images, &HudImageSource::imageArrived, this, &OverlayContent::changed);
}

CounterBuildOverlayView::Form CounterBuildOverlayView::form() const
{
    if (vm_.matchupBuild())
        return Form::matchup;
    const auto& advice = vm_.advice();
    if (advice && advice->threat)
        return Form::readout;
    if (advice && std::holds_alternative<Shortlist::Unavailable>(advice->shortlist.value))
        return Form::reason;
    return Form::notInGame;
}

std::optional<QString> CounterBuildOverlayView::mixedDamagePill(const ThreatProfile& t, bool showAdvice)
{
    if (!t.damageAmbiguous() || t.unknownCount > 2 || t.adCount + t.apCount + t.mixedCount < 1)
        return std::nullopt;
    return showAdvice ? QStringLiteral("mixed AD/AP \u2014 split defenses") : QStringLiteral("mixed AD/AP");
}

QString CounterBuildOverlayView::hardCCText(const CCCoverage& coverage)
{
    return QStringLiteral("hard CC ") + (coverage.isPartial() ? QStringLiteral("\u2265") : QString())
        + QString::number(coverage.count);
}

std::optional<QString> CounterBuildOverlayView::unclassifiedText(int64_t unknownCount)
{
    if (unknownCount < 1)
        return std::nullopt;
    return QStringLiteral("\u00b7 %1 unclassified").arg(unknownCount);
}

HudColumn CounterBuildOverlayView::readoutRows() const
{
    const Form shown = form();
    HudColumn stack(shown == Form::readout ? 6.0 : 3.0);
    const HUDHeader header {QStringLiteral("Counter-build"), HUD::teal(),
        shown == Form::readout ? std::optional<QString>(QStringLiteral("vs enemy comp")) : std::nullopt};
    stack.add({QStringLiteral("header"), header.height(),
        [header](QPainter& painter, const QRectF& row) { header.paint(painter, row); }});

    const HudTextStyle body {hudBodyFont(), HUD::textSecondary()};
    if (shown == Form::notInGame) {
        stack.add(wrappedTextRow(QStringLiteral("message"), QStringLiteral("Not in game"), body, width_));
        return stack;
    }
    const CounterBuildAdvice& advice = *vm_.advice();
    if (shown == Form::reason) {
        stack.add(wrappedTextRow(
            QStringLiteral("message"), std::get<Shortlist::Unavailable>(advice.shortlist.value).text, body, width_));
        return stack;
    }

    const ThreatProfile& threat = *advice.threat;
    if (const std::optional<QString> note = vm_.matchupNote())
        stack.add(textRow(QStringLiteral("note"), *note, small(HUD::textSecondary()), 0.8));
    stack.add(damageRow(threat));
    stack.add(ccRow(threat));
    if (const std::optional<QString> mixed = mixedDamagePill(threat, advice.shortlist.isItems()))
        stack.add(pillRow(QStringLiteral("mixed"), CaveatPill {*mixed, HUD::amber()}));

    if (const auto* items = std::get_if<Shortlist::Items>(&advice.shortlist.value)) {
        stack.add({QStringLiteral("divider"), 1, [](QPainter& painter, const QRectF& row) {
                       painter.fillRect(QRectF(row.left(), row.top(), row.width(), 1), HUD::stroke());
                   }});
        if (items->items.empty()) {
            stack.add(textRow(QStringLiteral("empty"), QStringLiteral("No counter items for this threat"),
                small(HUD::textSecondary())));
        } else {
            stack.add(textRow(QStringLiteral("caption"), QStringLiteral("by priority \u00b7 not build order"),
                small(HUD::textSecondary())));
            HudColumn list(4);
            for (const RankedItem& item : items->items)
                list.add(itemRow(item, vm_.version(), images_.data()));
            stack.add({QStringLiteral("items"), list.height(),
                [list](QPainter& painter, const QRectF& box) { list.paint(painter, box); }});
        }
    } else if (std::holds_alternative<Shortlist::ReadoutOnly>(advice.shortlist.value)) {
        stack.add(textRow(QStringLiteral("readoutOnly"), QStringLiteral("damage profile only \u00b7 items SR-only"),
            small(HUD::textSecondary()), 0.8));
    }
    if (advice.stale)
        stack.add(
            pillRow(QStringLiteral("stale"), CaveatPill {QStringLiteral("rules patch may be stale"), HUD::amber()}));
    return stack;
}

HudPanel CounterBuildOverlayView::panel() const
{
    return tealPanel(width_);
}

std::vector<QString> CounterBuildOverlayView::rowNames() const
{
    if (const std::optional<MatchupBuild> held = vm_.matchupBuild())
        return MatchupBuildBody(held->build, held->extras, vm_, width_, images_.data()).rowNames();
    return readoutRows().names();
}

QSizeF CounterBuildOverlayView::naturalSize() const
{
    if (const std::optional<MatchupBuild> held = vm_.matchupBuild())
        return MatchupBuildBody(held->build, held->extras, vm_, width_, images_.data()).naturalSize();
    return tealPanel(width_).outerSize(readoutRows().height());
}

void CounterBuildOverlayView::paint(QPainter& painter)
{
    if (const std::optional<MatchupBuild> held = vm_.matchupBuild()) {
        MatchupBuildBody(held->build, held->extras, vm_, width_, images_.data()).paint(painter);
        return;
    }
    const HudColumn stack = readoutRows();
    const HudPanel frame = tealPanel(width_);
    const double height = stack.height();
    frame.paint(painter, height);
    stack.paint(painter, frame.contentRect(height));
}

} // namespace tolvane
