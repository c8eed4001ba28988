#include "app/mainwindow/SettingsTab.h"

#include "app/mainwindow/AdvancedPage.h"
#include "app/mainwindow/LayoutPage.h"
#include "app/mainwindow/PanelsPage.h"
#include "app/mainwindow/SettingsTabParts.h"
#include "app/panels/HudStyle.h"
#include "app/panels/HudText.h"

#include <QHBoxLayout>
#include <QPainter>
#include <QVBoxLayout>

#include <cmath>

namespace tolvane {

namespace {

size_t indexOf(SettingsModel::SettingsTab tab)
{
    const auto& all = SettingsModel::allSettingsTabs;
    return size_t(std::find(all.begin(), all.end(), tab) - all.begin());
}

// The bar behind the page buttons, its background reaching the window's edges.
class TabBar : public QWidget {
public:
    explicit TabBar(QWidget* parent)
        : QWidget(parent)
    {
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), SettingsView::tabBarBackground());
    }
};

} // namespace

SettingsTabStyle::SettingsTabStyle(const QString& text, double s, QWidget* parent)
    : QAbstractButton(parent)
    , s_(s)
{
    setText(text);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void SettingsTabStyle::setActive(bool active)
{
    if (active == active_)
        return;
    active_ = active;
    update();
}

QSize SettingsTabStyle::sizeHint() const
{
    const HudTextStyle style {winSmall(s_), HUD::textPrimary()};
    return QSize(int(std::ceil(style.width(text()) + 2 * 12)), int(std::ceil(style.lineHeight() + 2 * 6)));
}

void SettingsTabStyle::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    if (active_)
        painter.fillRect(rect(), HUD::iconBg());
    const HudTextStyle style {winSmall(s_), active_ ? HUD::textPrimary() : HUD::textSecondary()};
    drawHudLine(painter, QRectF(12, 6, width() - 2 * 12, style.lineHeight()), text(), style, Qt::AlignHCenter);
    if (active_)
        painter.fillRect(QRectF(0, height() - underlineHeight, width(), underlineHeight), HUD::gold());
}

QString SettingsView::tabTitle(SettingsModel::SettingsTab tab)
{
    switch (tab) {
    case SettingsModel::SettingsTab::panels:
        return QStringLiteral("Panels");
    case SettingsModel::SettingsTab::layout:
        return QStringLiteral("Layout");
    case SettingsModel::SettingsTab::advanced:
        return QStringLiteral("Advanced");
    }
    return {};
}

QColor SettingsView::tabBarBackground()
{
    return withAlpha(QColor::fromRgb(50, 50, 50), 0.3);
}

SettingsView::SettingsView(SettingsModel& model, SettingsHostState state, SettingsActions actions, QWidget* parent)
    : QWidget(parent)
    , model_(model)
    , state_(std::move(state))
    , actions_(std::move(actions))
{
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);
    build();
    connect(&model_, &SettingsModel::changed, this, [this] {
        // A new text size needs new controls; the control that changed it may still be on the
        // stack, so they are replaced once the event loop takes over again.
        if (model_.fontScale() != builtScale_)
            scheduleRebuild();
        else
            refresh();
    });
}

SettingsView::~SettingsView() = default;

void SettingsView::build()
{
    delete content_;
    builtScale_ = model_.fontScale();
    content_ = new QWidget(this);
    auto* column = new QVBoxLayout(content_);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);

    auto* bar = new TabBar(content_);
    auto* buttons = new QHBoxLayout(bar);
    buttons->setContentsMargins(0, 0, 0, 0);
    buttons->setSpacing(0);
    buttons->addStretch(1);
    for (SettingsModel::SettingsTab tab : SettingsModel::allSettingsTabs) {
        auto* button = new SettingsTabStyle(tabTitle(tab), builtScale_, bar);
        connect(button, &QAbstractButton::clicked, this, [this, tab] { model_.setActiveTab(tab); });
        buttons_[indexOf(tab)] = button;
        buttons->addWidget(button);
    }
    buttons->addStretch(1);
    column->addWidget(bar);
    column->addWidget(new StrokeDivider(content_));

    panels_ = new PanelsTabView(model_, state_, actions_, content_);
    layout_ = new LayoutTabView(model_, actions_.onReset, content_);
    advanced_ = new AdvancedTabView(model_, content_);
    for (QWidget* page :
        {static_cast<QWidget*>(panels_), static_cast<QWidget*>(layout_), static_cast<QWidget*>(advanced_)}) {
        // At the leading edge, in a row: a row works out the page's height at the width the page
        // gets (at most its maximum), where a column would ask at the column's width.
        auto* row = new QHBoxLayout;
        column->addLayout(row); // first, so that the page keeps its parent
        row->addWidget(page);
        row->addStretch(1);
    }
    column->addStretch(1);
    static_cast<QVBoxLayout*>(layout())->addWidget(content_);
    refresh();
}

void SettingsView::scheduleRebuild()
{
    if (rebuildPending_)
        return;
    rebuildPending_ = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            rebuildPending_ = false;
            if (model_.fontScale() != builtScale_)
                build();
            else
                refresh();
        },
        Qt::QueuedConnection);
}

void SettingsView::setHostState(SettingsHostState state)
{
    if (state == state_)
        return;
    state_ = std::move(state);
    if (panels_)
        panels_->setHostState(state_);
}

SettingsTabStyle* SettingsView::tabButton(SettingsModel::SettingsTab tab) const
{
    return buttons_[indexOf(tab)];
}

QWidget* SettingsView::currentPage() const
{
    switch (model_.activeTab()) {
    case SettingsModel::SettingsTab::panels:
        return panels_;
    case SettingsModel::SettingsTab::layout:
        return layout_;
    case SettingsModel::SettingsTab::advanced:
        return advanced_;
    }
    return nullptr;
}

void SettingsView::refresh()
{
    for (SettingsModel::SettingsTab tab : SettingsModel::allSettingsTabs)
        buttons_[indexOf(tab)]->setActive(model_.activeTab() == tab);
    panels_->refresh();
    layout_->refresh();
    advanced_->refresh();
    QWidget* current = currentPage();
    for (QWidget* page :
        {static_cast<QWidget*>(panels_), static_cast<QWidget*>(layout_), static_cast<QWidget*>(advanced_)})
        page->setVisible(page == current);
}

} // namespace tolvane
