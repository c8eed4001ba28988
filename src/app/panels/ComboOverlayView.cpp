#include "app/panels/ComboOverlayView.h"

#include "app/panels/HudPanel.h"
#include "app/panels/HudStyle.h"
#include "app/panels/HudText.h"
#include "app/panels/HudViews.h"

#include <QPainter>

#include <algorithm>

namespace tolvane {

namespace {

HUDHeader header(const ComboViewModel& vm)
{
    return HUDHeader {QStringLiteral("Combos"), HUD::violet(), vm.champion()};
}

CaveatPill caption()
{
    return CaveatPill {QStringLiteral("Metrion popular combos"), HUD::amber()};
}

HudTextStyle numberStyle()
{
    return HudTextStyle {hudSmallFont(), HUD::textSecondary(), 0, true};
}

HudTextStyle nameStyle()
{
    return HudTextStyle {hudBodyFont(), HUD::textPrimary()};
}

} // namespace

ComboOverlayView::ComboOverlayView(ComboViewModel& vm, double width, int maxShown, QObject* parent)
    : HudPanelContent(parent)
    , vm_(vm)
    , width_(width)
    , maxShown_(std::max(maxShown, 0))
{
    connect(&vm_, &ComboViewModel::changed, this, &OverlayContent::changed);
}

ComboOverlayView::Layout ComboOverlayView::layout() const
{
    Layout out;
    out.shown = vm_.inGame() && vm_.combos() && !vm_.combos()->empty();
    if (!out.shown) {
        // Almost nothing, so the panel window has nothing to show.
        out.size = QSizeF(1, 1);
        return out;
    }

    const HUDHeader title = header(vm_);
    const CaveatPill pill = caption();
    const HudTextStyle number = numberStyle();
    const HudTextStyle name = nameStyle();
    // The row's two texts share their first baseline.
    const double baseline = std::max(number.ascent(), name.ascent());
    const double rowHeight
        = std::max(baseline - number.ascent() + number.lineHeight(), baseline - name.ascent() + name.lineHeight());
    const size_t count = std::min(vm_.combos()->size(), size_t(maxShown_));

    double contentHeight = title.height() + columnSpacing;
    if (count > 0)
        contentHeight += double(count) * rowHeight + double(count - 1) * rowSpacing + columnSpacing;
    contentHeight += pill.size().height();

    const HudPanel panel = hudPanel(HUD::violet(), width_, 1.0);
    const QRectF content = panel.contentRect(contentHeight);
    out.size = panel.outerSize(contentHeight);
    out.contentHeight = contentHeight;
    out.header = QRectF(content.left(), content.top(), content.width(), title.height());

    double y = out.header.bottom() + columnSpacing;
    for (size_t i = 0; i < count; ++i) {
        Layout::Row row;
        row.number = QString::number(qint64(i + 1));
        row.name = (*vm_.combos())[i].name;
        const double numberWidth = number.width(row.number);
        row.numberBox = QRectF(content.left(), y + baseline - number.ascent(), numberWidth, number.lineHeight());
        const double nameLeft = row.numberBox.right() + numberSpacing;
        row.nameBox = QRectF(
            nameLeft, y + baseline - name.ascent(), std::max(content.right() - nameLeft, 0.0), name.lineHeight());
        out.rows.push_back(std::move(row));
        y += rowHeight + (i + 1 < count ? rowSpacing : columnSpacing);
    }
    out.pill = QRectF(QPointF(content.left(), y), pill.size());
    return out;
}

QSizeF ComboOverlayView::naturalSize() const
{
    return layout().size;
}

void ComboOverlayView::paint(QPainter& painter)
{
    const Layout placed = layout();
    if (!placed.shown)
        return;
    hudPanel(HUD::violet(), width_, 1.0).paint(painter, placed.contentHeight);
    header(vm_).paint(painter, placed.header);
    const HudTextStyle number = numberStyle();
    const HudTextStyle name = nameStyle();
    for (const Layout::Row& row : placed.rows) {
        drawHudText(painter, row.numberBox.topLeft(), row.number, number);
        drawHudLine(painter, row.nameBox, row.name, name, Qt::AlignLeft, nameMinimumScale);
    }
    caption().paint(painter, placed.pill.topLeft());
}

} // namespace tolvane
