#include "app/panels/CooldownOverlayView.h"

#include "app/panels/HudImageCache.h"
#include "app/panels/HudPanel.h"
#include "app/panels/HudStyle.h"
#include "app/panels/HudText.h"
#include "app/panels/HudViews.h"
#include "core/knowledge/DDragon.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>

namespace tolvane {

namespace {

HUDHeader header()
{
    return HUDHeader {QStringLiteral("Enemy CDs"), HUD::neutral(), QStringLiteral("est")};
}

HudPanel frame(const CooldownPanelViewModel& vm)
{
    return hudPanel(HUD::neutral(), CooldownOverlayView::contentWidth, vm.bgOpacity());
}

// A fixed size: the countdown does not follow the window text scale.
HudTextStyle countdownStyle()
{
    return HudTextStyle {
        WinFont {1.0, CooldownOverlayView::countdownFontSize, QFont::Bold, FontDesign::rounded}, Qt::white, 0, true};
}

double opacityOf(const CooldownPanelViewModel::SpellCell& cell)
{
    if (!cell.trackable)
        return 0.25;
    return cell.remaining ? 0.4 : 1.0;
}

QPainterPath roundedPath(const QRectF& rect, double radius)
{
    QPainterPath path;
    path.addRoundedRect(rect, radius, radius);
    return path;
}

} // namespace

CooldownOverlayView::CooldownOverlayView(CooldownPanelViewModel& vm, HudImageSource* images, QObject* parent)
    : HudPanelContent(parent)
    , vm_(vm)
    , images_(images)
{
    shown_ = layout();
    shownOpacity_ = vm_.bgOpacity();
    connect(&vm_, &CooldownPanelViewModel::changed, this, &CooldownOverlayView::modelChanged);
    if (images)
        connect(images, &HudImageSource::imageArrived, this, &OverlayContent::changed);
}

void CooldownOverlayView::modelChanged()
{
    Layout now = layout();
    if (now == shown_ && vm_.bgOpacity() == shownOpacity_)
        return;
    shown_ = std::move(now);
    shownOpacity_ = vm_.bgOpacity();
    emit changed();
}

CooldownOverlayView::Layout CooldownOverlayView::layout() const
{
    Layout out;
    out.shown = vm_.inGame() && !vm_.rows().empty();
    if (!out.shown)
        return out;

    const HUDHeader title = header();
    const HudPanel panel = frame(vm_);
    const double rowHeight = std::max(portraitEdge, cellEdge);
    const double contentHeight = title.height() + double(vm_.rows().size()) * (spacing + rowHeight);
    const QRectF content = panel.contentRect(contentHeight);
    out.contentHeight = contentHeight;
    out.size = panel.outerSize(contentHeight);
    out.header = QRectF(content.left(), content.top(), content.width(), title.height());

    // Without a source no image would load: an empty base makes no address.
    const QString base = images_ ? images_->dataDragonBase() : QString();
    double y = out.header.bottom() + spacing;
    for (const CooldownPanelViewModel::EnemyRow& row : vm_.rows()) {
        Layout::Row placed;
        placed.portrait = QRectF(content.left(), y + (rowHeight - portraitEdge) / 2, portraitEdge, portraitEdge);
        placed.portraitImage = DDragonImage::champion(row.champKey, vm_.version(), base);
        double x = placed.portrait.right() + spacing;
        for (const CooldownPanelViewModel::SpellCell& cell : row.spells) {
            Layout::Cell c;
            c.enemy = row.id;
            c.slot = cell.id;
            c.rect = QRectF(x, y + (rowHeight - cellEdge) / 2, cellEdge, cellEdge);
            c.icon = DDragonImage::summonerSpell(cell.spellKey, vm_.version(), base);
            c.opacity = opacityOf(cell);
            if (cell.trackable && cell.remaining)
                c.countdown = vm_.timeFormat().string(*cell.remaining);
            placed.cells.push_back(std::move(c));
            x += cellEdge + spacing;
        }
        out.rows.push_back(std::move(placed));
        y += rowHeight + spacing;
    }
    return out;
}

QSizeF CooldownOverlayView::naturalSize() const
{
    return layout().size;
}

void CooldownOverlayView::paint(QPainter& painter)
{
    const Layout placed = layout();
    if (!placed.shown)
        return;
    const HudPanel panel = frame(vm_);
    panel.paint(painter, placed.contentHeight);
    header().paint(painter, placed.header);

    const HudTextStyle text = countdownStyle();
    for (const Layout::Row& row : placed.rows) {
        paintIcon(painter, row.portrait, row.portraitImage, 1.0);
        for (const Layout::Cell& cell : row.cells) {
            paintIcon(painter, cell.rect, cell.icon, cell.opacity);
            if (!cell.countdown)
                continue;
            const QSizeF natural = text.size(*cell.countdown);
            const QRectF plate(cell.rect.center().x() - natural.width() / 2 - 2,
                cell.rect.center().y() - natural.height() / 2 - 0.5, natural.width() + 4, natural.height() + 1);
            painter.save();
            painter.setRenderHint(QPainter::Antialiasing);
            painter.fillPath(roundedPath(plate, 3), QColor(0, 0, 0, int(255 * 0.6)));
            painter.restore();
            drawHudText(painter, plate.topLeft() + QPointF(2, 0.5), *cell.countdown, text);
        }
    }
}

void CooldownOverlayView::paintIcon(
    QPainter& painter, const QRectF& rect, const std::optional<QUrl>& address, double opacity) const
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.setOpacity(opacity);
    const QPainterPath shape = roundedPath(rect, iconRadius);
    std::optional<QImage> image;
    if (address && images_)
        image = images_->image(*address);
    if (image && !image->isNull()) {
        painter.setClipPath(shape);
        painter.drawImage(rect, *image);
        painter.setClipping(false);
    } else {
        painter.fillPath(shape, HUD::iconBg());
    }
    // Outlined on the inside of the shape.
    painter.setPen(QPen(HUD::stroke(), 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(roundedPath(rect.adjusted(0.5, 0.5, -0.5, -0.5), iconRadius - 0.5));
    painter.restore();
}

bool CooldownOverlayView::mousePressed(QPointF point)
{
    const Layout placed = layout();
    for (const Layout::Row& row : placed.rows) {
        for (const Layout::Cell& cell : row.cells) {
            if (cell.rect.contains(point)) {
                vm_.markCell(cell.enemy, cell.slot);
                return true;
            }
        }
    }
    return false;
}

} // namespace tolvane
