#include "app/panels/FarmOverlayView.h"

#include "app/panels/HudPanel.h"
#include "app/panels/HudStyle.h"
#include "app/panels/HudText.h"
#include "app/panels/HudViews.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace tolvane {

namespace {

const QString title = QStringLiteral("Farm");

void addHeader(HudColumn& column, std::optional<QString> trailing)
{
    const HUDHeader header {title, HUD::ahead(), std::move(trailing)};
    column.add(header.height(), [header](QPainter& painter, const QRectF& slot) { header.paint(painter, slot); });
}

void addText(HudColumn& column, QString text, HudTextStyle style)
{
    column.add(style.lineHeight(), [text = std::move(text), style](QPainter& painter, const QRectF& slot) {
        drawHudLine(painter, slot, text, style);
    });
}

void addFigures(HudColumn& column, const FarmViewModel::Readout& r)
{
    const HudTextStyle rate {hudBigFont(), HUD::textPrimary(), 0, true};
    const HudTextStyle unit {hudSmallFont(), HUD::textSecondary(), 1.2};
    const HudTextStyle count {hudStrongFont(), HUD::ahead(), 0, true};
    const QString rateText = FarmOverlayView::csPerMinText(r.csPerMin);
    const QString countText = QString::number(r.cs) + QStringLiteral(" CS");
    // One baseline for the three texts: the large figure's.
    const double baseline = std::max({rate.ascent(), unit.ascent(), count.ascent()});
    const double height = baseline
        + std::max({rate.lineHeight() - rate.ascent(), unit.lineHeight() - unit.ascent(),
            count.lineHeight() - count.ascent()});
    column.add(height, [=](QPainter& painter, const QRectF& slot) {
        const double rateWidth = rate.width(rateText);
        drawHudText(painter, QPointF(slot.left(), slot.top() + baseline - rate.ascent()), rateText, rate);
        drawHudText(painter, QPointF(slot.left() + rateWidth + 6, slot.top() + baseline - unit.ascent()),
            QStringLiteral("CS/MIN"), unit);
        const double countWidth = count.width(countText);
        drawHudText(
            painter, QPointF(slot.right() - countWidth, slot.top() + baseline - count.ascent()), countText, count);
    });
}

void addCaughtBar(HudColumn& column, int64_t cs, int64_t available)
{
    const double share = FarmOverlayView::caughtShare(cs, available);
    column.add(5, [share](QPainter& painter, const QRectF& slot) {
        painter.setRenderHint(QPainter::Antialiasing);
        QPainterPath track;
        track.addRoundedRect(slot, 2.5, 2.5);
        painter.fillPath(track, HUD::iconBg());
        QPainterPath fill;
        fill.addRoundedRect(
            QRectF(slot.topLeft(), QSizeF(FarmOverlayView::caughtFillWidth(slot.width(), share), 5)), 2.5, 2.5);
        painter.fillPath(fill, FarmOverlayView::caughtColor(share));
    });
    addText(column, FarmOverlayView::caughtText(cs, available),
        HudTextStyle {hudSmallFont(), HUD::textSecondary(), 0, true});
}

HudColumn shownColumn(const std::optional<FarmViewModel::Readout>& readout)
{
    if (!readout) {
        HudColumn column(3);
        addHeader(column, std::nullopt);
        addText(column, QStringLiteral("Not in game"), HudTextStyle {hudBodyFont(), HUD::textSecondary()});
        return column;
    }
    HudColumn column(7);
    addHeader(column, hudLaneLabel(readout->position));
    addFigures(column, *readout);
    if (readout->laneAvailable) {
        // The bar and its caption sit 3 apart, closer than the panel's rows.
        HudColumn caught(3);
        addCaughtBar(caught, readout->cs, *readout->laneAvailable);
        column.add(caught.height(), [caught](QPainter& painter, const QRectF& slot) { caught.paint(painter, slot); });
    } else {
        addText(column, QStringLiteral("no lane benchmark for this role"),
            HudTextStyle {hudSmallFont(), HUD::textSecondary()});
    }
    return column;
}

} // namespace

FarmOverlayView::FarmOverlayView(FarmViewModel* vm, double width, QObject* parent)
    : HudPanelContent(parent)
    , vm_(vm)
    , width_(width)
{
    shown_ = lookOf(vm ? vm->readout() : std::nullopt);
    if (vm)
        connect(vm, &FarmViewModel::changed, this, &FarmOverlayView::modelChanged);
}

FarmOverlayView::Look FarmOverlayView::lookOf(const std::optional<FarmViewModel::Readout>& readout)
{
    if (!readout)
        return {};
    return {
        true, hudLaneLabel(readout->position), csPerMinText(readout->csPerMin), readout->cs, readout->laneAvailable};
}

void FarmOverlayView::modelChanged()
{
    Look look = lookOf(vm_ ? vm_->readout() : std::nullopt);
    if (look == shown_)
        return;
    shown_ = std::move(look);
    emit changed();
}

QString FarmOverlayView::csPerMinText(std::optional<double> csPerMin)
{
    return csPerMin ? QString::asprintf("%.1f", *csPerMin) : QStringLiteral("\u2014");
}

double FarmOverlayView::caughtShare(int64_t cs, int64_t available)
{
    // A negative score from a confused reply reads as none taken rather than a negative share.
    return std::clamp(double(cs) / double(std::max<int64_t>(available, 1)), 0.0, 1.0);
}

QColor FarmOverlayView::caughtColor(double share)
{
    if (share >= 0.7)
        return HUD::ahead();
    if (share >= 0.5)
        return HUD::amber();
    return HUD::behind();
}

QString FarmOverlayView::caughtText(int64_t cs, int64_t available)
{
    const long long percent = std::llround(caughtShare(cs, available) * 100);
    return QString::asprintf("%lld%% of %lld lane CS spawned", percent, static_cast<long long>(available));
}

double FarmOverlayView::caughtFillWidth(double barWidth, double share)
{
    return std::max(barWidth * share, 4.0);
}

HudColumn FarmOverlayView::column() const
{
    return shownColumn(vm_ ? vm_->readout() : std::nullopt);
}

QSizeF FarmOverlayView::naturalSize() const
{
    return hudPanel(HUD::ahead(), width_, 1.0).outerSize(column().height());
}

void FarmOverlayView::paint(QPainter& painter)
{
    const HudColumn rows = column();
    const HudPanel panel = hudPanel(HUD::ahead(), width_, 1.0);
    panel.paint(painter, rows.height());
    rows.paint(painter, panel.contentRect(rows.height()));
}

} // namespace tolvane
