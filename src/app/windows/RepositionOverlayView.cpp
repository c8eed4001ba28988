#include "app/windows/RepositionOverlayView.h"

#include "app/windows/RepositionOverlayDrawing.h"
#include "app/windows/RepositionStyle.h"
#include "core/overlay/HudZones.h"

#include <QFontMetricsF>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <utility>

namespace tolvane {

namespace {

QSizeF textSize(const QFont& font, const QString& text, const QPaintDevice* device)
{
    const QFontMetricsF metrics(font, const_cast<QPaintDevice*>(device));
    return {metrics.horizontalAdvance(text), metrics.height()};
}

QString undoText(int count)
{
    return QStringLiteral("↩ Undo (%1)").arg(count);
}

} // namespace

const RepositionOverlayView::Layout::Item* RepositionOverlayView::Layout::item(ItemKind kind) const
{
    for (const Item& entry : toolbarItems) {
        if (entry.kind == kind)
            return &entry;
    }
    return nullptr;
}

RepositionOverlayView::RepositionOverlayView(QSizeF gameSize, PanelSizes panelSizes, PanelPoints initialPositions,
    PanelPositionStore positionStore, OverlaySettingsStore settingsStore, RepositionEditorModel::OnDone onDone,
    QWidget* parent, Qt::WindowFlags flags)
    : QWidget(parent, flags)
    , model_(gameSize, std::move(panelSizes), std::move(initialPositions), std::move(positionStore),
          std::move(settingsStore), std::move(onDone))
{
    setAttribute(Qt::WA_TranslucentBackground);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setMouseTracking(false);
    resize(qRound(gameSize.width()), qRound(gameSize.height()));
    model_.appear();
}

RepositionOverlayView::Layout RepositionOverlayView::editorLayout() const
{
    const double width = model_.gameSize().width();
    const double height = model_.gameSize().height();
    Layout layout;
    const double s = std::min(height / 1440.0, 1.5);
    layout.scale = s;

    // Tab bar: tabs side by side with a separator between two, centred, 5 % of H below the top.
    static const std::array<QString, 3> tabLabels {
        QStringLiteral("SR"), QStringLiteral("ARAM"), QStringLiteral("Arena")};
    std::array<QSizeF, 3> tabSizes;
    double barWidth = 0;
    double barHeight = 20 * s;
    for (size_t i = 0; i < tabLabels.size(); ++i) {
        const ModeTabStyle style {false, s};
        const QSizeF text = textSize(style.font(this), tabLabels[i], this);
        const QMarginsF pad = style.padding();
        tabSizes[i] = {text.width() + pad.left() + pad.right(), text.height() + pad.top() + pad.bottom()};
        barWidth += tabSizes[i].width() + (i + 1 < tabLabels.size() ? 1.0 : 0.0);
        barHeight = std::max(barHeight, tabSizes[i].height());
    }
    layout.tabBar = QRectF((width - barWidth) / 2, 0.05 * height, barWidth, barHeight);
    double x = layout.tabBar.x();
    for (size_t i = 0; i < tabLabels.size(); ++i) {
        layout.tabs[i] = QRectF(
            x, layout.tabBar.y() + (barHeight - tabSizes[i].height()) / 2, tabSizes[i].width(), tabSizes[i].height());
        x += tabSizes[i].width();
        if (i + 1 < tabLabels.size()) {
            layout.tabDividers.append(QRectF(x, layout.tabBar.y() + (barHeight - 20 * s) / 2, 1, 20 * s));
            x += 1;
        }
    }

    // Size badge: the whole-number game size, 6 pt in from the top-right corner.
    layout.badgeText = QStringLiteral("%1 × %2")
                           .arg(static_cast<qint64>(std::trunc(width)))
                           .arg(static_cast<qint64>(std::trunc(height)));
    const QSizeF badgeText = textSize(repositionMonoFont(9, QFont::Medium, this), layout.badgeText, this);
    const QSizeF badgeSize(badgeText.width() + 8, badgeText.height() + 8);
    layout.badge = QRectF(width - 6 - badgeSize.width(), 6, badgeSize.width(), badgeSize.height());

    // Toolbar: one row of items 8·s apart, centred, its bottom 1.8 % of H above the bottom.
    using Kind = Layout::ItemKind;
    QList<std::pair<Kind, QString>> entries;
    entries.append({Kind::label, QStringLiteral("Reposition Mode")});
    entries.append({Kind::divider, QString()});
    entries.append(
        {Kind::link, model_.twoBuildLinked() ? QStringLiteral("⚭ 2-build linked") : QStringLiteral("⚭ unlinked")});
    entries.append({Kind::divider, QString()});
    if (model_.undoCount() > 0)
        entries.append({Kind::undo, undoText(model_.undoCount())});
    entries.append({Kind::reset, QStringLiteral("⟳ Reset")});
    entries.append({Kind::divider, QString()});
    entries.append({Kind::done, QStringLiteral("Done ✓")});

    QList<QSizeF> itemSizes;
    double rowWidth = 0;
    double rowHeight = 0;
    for (const auto& [kind, text] : entries) {
        QSizeF size;
        if (kind == Kind::label) {
            size = textSize(repositionFont(11 * s, QFont::Normal, this), text, this);
        } else if (kind == Kind::divider) {
            size = QSizeF(1, 14 * s);
        } else {
            const ToolbarButtonStyle style {ToolbarButtonStyle::Variant::secondary, s};
            const QSizeF label = textSize(style.font(this), text, this);
            const QMarginsF pad = style.padding();
            size = QSizeF(label.width() + pad.left() + pad.right(), label.height() + pad.top() + pad.bottom());
        }
        itemSizes.append(size);
        rowWidth += size.width();
        rowHeight = std::max(rowHeight, size.height());
    }
    rowWidth += 8 * s * (entries.size() - 1);
    const double toolbarWidth = rowWidth + 28 * s;
    const double toolbarHeight = rowHeight + 10 * s;
    layout.toolbar
        = QRectF((width - toolbarWidth) / 2, height - 0.018 * height - toolbarHeight, toolbarWidth, toolbarHeight);
    x = layout.toolbar.x() + 14 * s;
    for (qsizetype i = 0; i < entries.size(); ++i) {
        const QSizeF size = itemSizes[i];
        layout.toolbarItems.append({entries[i].first,
            QRectF(x, layout.toolbar.y() + (toolbarHeight - size.height()) / 2, size.width(), size.height()),
            entries[i].second});
        x += size.width() + 8 * s;
    }

    // The game's HUD zones, each label centred on its zone even where a bar lies over that place:
    // the label marks the middle of the game's own element, not a free spot near it.
    const QFont zoneFont = repositionFont(6.5, QFont::DemiBold, this);
    for (const HUDZone& zone : HUDLayout::zones(model_.activeMode())) {
        const QRectF rect(
            zone.rect.x() * width, zone.rect.y() * height, zone.rect.width() * width, zone.rect.height() * height);
        QRectF labelRect(QPointF(), textSize(zoneFont, zone.label, this));
        labelRect.moveCenter(rect.center());
        layout.zones.append({rect,
            QColor::fromRgbF(
                float(zone.color.red), float(zone.color.green), float(zone.color.blue), float(zone.color.opacity)),
            zone.label, labelRect});
    }
    return layout;
}

QRectF RepositionOverlayView::chipRect(PanelID id) const
{
    const QSizeF size = model_.chipSize(id);
    const QPointF center = model_.chipCenter(id);
    return {center.x() - size.width() / 2, center.y() - size.height() / 2, size.width(), size.height()};
}

std::optional<QPointF> RepositionOverlayView::linkMarkCenter() const
{
    if (!model_.twoBuildLinked())
        return std::nullopt;
    const QSizeF size = model_.chipSize(PanelID::popularBuild);
    return model_.chipCenter(PanelID::popularBuild) + QPointF(0, size.height() / 2 + 4);
}

void RepositionOverlayView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.fillRect(rect(), withOpacity(Qt::black, dimOpacity));

    const Layout layout = editorLayout();
    RepositionOverlayDrawing::drawHUDOutlines(painter, layout);
    RepositionOverlayDrawing::drawGrid(painter, model_.gameSize());
    for (PanelID id : allPanelIDs)
        RepositionOverlayDrawing::drawChip(painter, *this, id);
    RepositionOverlayDrawing::drawTabBar(painter, layout, model_.activeMode());
    RepositionOverlayDrawing::drawBadge(painter, layout);
    RepositionOverlayDrawing::drawToolbar(painter, layout);
}

RepositionOverlayView::Control RepositionOverlayView::controlAt(const Layout& layout, QPointF point) const
{
    static constexpr std::array<Control, 3> tabs {Control::tabSR, Control::tabARAM, Control::tabArena};
    for (size_t i = 0; i < layout.tabs.size(); ++i) {
        if (layout.tabs[i].contains(point))
            return tabs[i];
    }
    for (const Layout::Item& item : layout.toolbarItems) {
        if (!item.rect.contains(point))
            continue;
        switch (item.kind) {
        case Layout::ItemKind::link:
            return Control::link;
        case Layout::ItemKind::undo:
            return Control::undo;
        case Layout::ItemKind::reset:
            return Control::reset;
        case Layout::ItemKind::done:
            return Control::done;
        default:
            break;
        }
    }
    return Control::none;
}

bool RepositionOverlayView::coveredByBars(const Layout& layout, QPointF point) const
{
    return layout.tabBar.contains(point) || layout.toolbar.contains(point) || layout.badge.contains(point);
}

std::optional<PanelID> RepositionOverlayView::chipAt(QPointF point) const
{
    // Later chips lie over earlier ones, so the last one under the point takes it.
    for (auto it = allPanelIDs.rbegin(); it != allPanelIDs.rend(); ++it) {
        if (chipRect(*it).contains(point))
            return *it;
    }
    return std::nullopt;
}

void RepositionOverlayView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const Layout layout = editorLayout();
    const QPointF point = event->position();
    pressedControl_ = controlAt(layout, point);
    pressedChip_.reset();
    dragging_ = false;
    if (pressedControl_ == Control::none && !coveredByBars(layout, point)) {
        pressedChip_ = chipAt(point);
        pressPoint_ = point;
    }
}

void RepositionOverlayView::mouseMoveEvent(QMouseEvent* event)
{
    if (!pressedChip_)
        return;
    const QPointF translation = event->position() - pressPoint_;
    if (!dragging_ && std::hypot(translation.x(), translation.y()) < RepositionEditorModel::dragThreshold)
        return;
    dragging_ = true;
    model_.dragChanged(*pressedChip_, model_.chipSize(*pressedChip_), translation);
    update();
}

void RepositionOverlayView::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    if (pressedChip_ && dragging_)
        model_.dragEnded(*pressedChip_);
    pressedChip_.reset();
    dragging_ = false;
    const Control pressed = std::exchange(pressedControl_, Control::none);
    if (pressed != Control::none && controlAt(editorLayout(), event->position()) == pressed)
        trigger(pressed);
    update();
}

void RepositionOverlayView::trigger(Control control)
{
    switch (control) {
    case Control::tabSR:
        model_.switchMode(RepositionMode::summonersRift);
        break;
    case Control::tabARAM:
        model_.switchMode(RepositionMode::aram);
        break;
    case Control::tabArena:
        model_.switchMode(RepositionMode::arena);
        break;
    case Control::link:
        model_.toggleLink();
        break;
    case Control::undo:
        model_.performUndo();
        break;
    case Control::reset:
        model_.performReset();
        break;
    case Control::done:
        model_.performDone();
        break;
    case Control::none:
        break;
    }
}

} // namespace tolvane
