#include "app/mainwindow/SideNavigation.h"

#include "app/mainwindow/AppGlyph.h"
#include "app/panels/HudStyle.h"
#include "app/panels/HudText.h"

#include <QHelpEvent>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QToolTip>

#include <cmath>

namespace tolvane {

namespace {

constexpr double itemSideInset = 5;
constexpr double indicatorWidth = 2.5;

int indexOf(MainTab tab)
{
    return int(tab);
}

HudTextStyle labelStyle(double s, const QColor& colour)
{
    return HudTextStyle {WinFont {s, 8.5, QFont::Medium, FontDesign::rounded}, colour};
}

} // namespace

void drawTabSymbol(QPainter& painter, MainTab tab, const QRectF& box, const QColor& colour)
{
    const double u = box.width() / 16; // drawn on a 16-unit grid
    const auto at = [&](double x, double y) { return QPointF(box.left() + x * u, box.top() + y * u); };
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    QPen pen(colour, 1.5 * u, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    switch (tab) {
    case MainTab::live: {
        painter.setBrush(colour);
        painter.drawEllipse(at(8, 8), 1.8 * u, 1.8 * u);
        painter.setBrush(Qt::NoBrush);
        for (double r : {4.5, 7.0}) {
            const QRectF arc(at(8 - r, 8 - r), QSizeF(2 * r * u, 2 * r * u));
            painter.drawArc(arc, -40 * 16, 80 * 16);
            painter.drawArc(arc, 140 * 16, 80 * 16);
        }
        break;
    }
    case MainTab::home: {
        QPainterPath path;
        path.moveTo(at(2, 8));
        path.lineTo(at(8, 2.5));
        path.lineTo(at(14, 8));
        path.moveTo(at(4, 6.5));
        path.lineTo(at(4, 14));
        path.lineTo(at(12, 14));
        path.lineTo(at(12, 6.5));
        painter.drawPath(path);
        painter.drawLine(at(8, 14), at(8, 10.5));
        break;
    }
    case MainTab::whatsNew: {
        const auto star = [&](double cx, double cy, double r) {
            QPainterPath path;
            path.moveTo(at(cx, cy - r));
            path.quadTo(at(cx, cy), at(cx + r, cy));
            path.quadTo(at(cx, cy), at(cx, cy + r));
            path.quadTo(at(cx, cy), at(cx - r, cy));
            path.quadTo(at(cx, cy), at(cx, cy - r));
            painter.fillPath(path, colour);
        };
        star(6.5, 9, 5.5);
        star(12.5, 3.5, 2.5);
        star(13, 12.5, 2);
        break;
    }
    case MainTab::settings: {
        const double knobs[3] = {5, 11, 7};
        for (int i = 0; i < 3; ++i) {
            const double y = 3.5 + i * 4.5;
            painter.drawLine(at(1.5, y), at(14.5, y));
            painter.setBrush(colour);
            painter.drawEllipse(at(knobs[i], y), 1.8 * u, 1.8 * u);
            painter.setBrush(Qt::NoBrush);
        }
        break;
    }
    }
    painter.restore();
}

HextechSideNav::HextechSideNav(Binding<MainTab> selection, double s, QWidget* parent)
    : QWidget(parent)
    , selection_(std::move(selection))
    , s_(s)
{
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
    setMouseTracking(true);
    const MainTab selected = selection_.get();
    for (MainTab tab : allMainTabs) {
        const int i = indexOf(tab);
        progress_[i] = std::make_unique<EasedProgress>(this, fadeMs);
        shown_[i] = tab == selected;
        progress_[i]->jumpTo(shown_[i]);
    }
}

void HextechSideNav::sync()
{
    const MainTab selected = selection_.get();
    for (MainTab tab : allMainTabs) {
        const int i = indexOf(tab);
        if (shown_[i] != (tab == selected)) {
            shown_[i] = tab == selected;
            progress_[i]->animateTo(shown_[i]);
        }
    }
    update();
}

double HextechSideNav::labelLineHeight() const
{
    return labelStyle(s_, HUD::textPrimary()).lineHeight();
}

double HextechSideNav::itemHeight() const
{
    return 8 * s_ + 15 * s_ + 3 * s_ + labelLineHeight() + 8 * s_;
}

QRectF HextechSideNav::glyphRect() const
{
    return QRectF((barWidth() - glyphEdge()) / 2, 16 * s_, glyphEdge(), glyphEdge());
}

QRectF HextechSideNav::itemRect(MainTab tab) const
{
    const double top = glyphRect().bottom() + 8 * s_ + 6 * s_ + indexOf(tab) * (itemHeight() + 6 * s_);
    return QRectF(itemSideInset, top, barWidth() - 2 * itemSideInset, itemHeight());
}

QRectF HextechSideNav::indicatorRect(MainTab tab) const
{
    const QRectF item = itemRect(tab);
    const double height = 30 * s_;
    return QRectF(item.left(), item.center().y() - height / 2, indicatorWidth, height);
}

QRectF HextechSideNav::labelBox(MainTab tab) const
{
    const QRectF item = itemRect(tab);
    const double top = item.top() + 8 * s_ + 15 * s_ + 3 * s_;
    return QRectF(item.left() + indicatorWidth, top, item.width() - indicatorWidth, labelLineHeight());
}

double HextechSideNav::selectedProgress(MainTab tab) const
{
    return progress_[indexOf(tab)]->value();
}

std::optional<MainTab> HextechSideNav::tabAt(QPointF point) const
{
    for (MainTab tab : allMainTabs)
        if (itemRect(tab).contains(point))
            return tab;
    return std::nullopt;
}

double HextechSideNav::labelFontSize(MainTab tab) const
{
    return fittedFontSize(barLabel(tab), labelStyle(s_, HUD::textPrimary()), labelBox(tab).width(), 0.8);
}

QSize HextechSideNav::sizeHint() const
{
    return QSize(int(std::ceil(barWidth())), int(std::ceil(itemRect(MainTab::settings).bottom())));
}

QSize HextechSideNav::minimumSizeHint() const
{
    return sizeHint();
}

void HextechSideNav::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient background(0, 0, 0, height());
    background.setColorAt(0, withAlpha(HUD::panelBottom(), 0.55));
    background.setColorAt(1, withAlpha(HUD::panelTop(), 0.35));
    painter.fillRect(rect(), background);

    AppGlyph::shared().paint(painter, glyphRect(), HUD::violet());

    const MainTab selected = selection_.get();
    for (MainTab tab : allMainTabs) {
        const double p = selectedProgress(tab);
        const QRectF item = itemRect(tab);
        painter.setPen(Qt::NoPen);
        if (p > 0) {
            painter.setBrush(withAlpha(HUD::iconBg(), 0.9 * p));
            painter.drawRoundedRect(item, 8, 8);
            painter.setBrush(withAlpha(accent(tab), accent(tab).alphaF() * p));
            painter.drawRoundedRect(indicatorRect(tab), 2, 2);
        }
        const bool isSelected = tab == selected;
        const double symbolEdge = 15 * s_;
        const double columnCentre = item.left() + indicatorWidth + (item.width() - indicatorWidth) / 2;
        const QRectF symbolBox(columnCentre - symbolEdge / 2, item.top() + 8 * s_, symbolEdge, symbolEdge);
        drawTabSymbol(painter, tab, symbolBox, isSelected ? accent(tab) : HUD::textSecondary());
        drawHudLine(painter, labelBox(tab), barLabel(tab),
            labelStyle(s_, isSelected ? HUD::textPrimary() : HUD::textSecondary()), Qt::AlignHCenter, 0.8);
    }
    painter.fillRect(QRectF(width() - 1, 0, 1, height()), HUD::stroke());
}

void HextechSideNav::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    if (const auto tab = tabAt(event->position())) {
        selection_.set(*tab);
        sync();
    }
}

bool HextechSideNav::event(QEvent* event)
{
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        if (const auto tab = tabAt(help->pos()))
            QToolTip::showText(help->globalPos(), tooltip(*tab), this, itemRect(*tab).toAlignedRect());
        else
            QToolTip::hideText();
        return true;
    }
    return QWidget::event(event);
}

} // namespace tolvane
