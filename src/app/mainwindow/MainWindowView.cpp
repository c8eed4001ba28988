#include "app/mainwindow/MainWindowView.h"

#include "app/champselect/LiveTab.h"
#include "app/mainwindow/HomeTab.h"
#include "app/mainwindow/KeyNaming.h"
#include "app/mainwindow/SettingsModel.h"
#include "app/mainwindow/SideNavigation.h"
#include "app/mainwindow/WhatsNewTab.h"
#include "app/panels/HudImageCache.h"
#include "app/panels/HudStyle.h"
#include "app/panels/RuneBuildViewModel.h"

#include <QHBoxLayout>
#include <QLinearGradient>
#include <QPainter>
#include <QPalette>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace tolvane {

MainWindowView::MainWindowView(ChampSelectViewModel& champVM, RuneBuildViewModel& runeVM, SettingsModel& settingsModel,
    MainWindowChrome& chrome, Callbacks callbacks, const KeyCodeNamer& keyNamer, HudImageSource* images,
    QWidget* parent)
    : QWidget(parent)
    , champVM_(champVM)
    , runeVM_(runeVM)
    , settingsModel_(settingsModel)
    , chrome_(chrome)
    , callbacks_(std::move(callbacks))
    , keyNamer_(keyNamer)
    , images_(images)
{
    setPalette(chromePalette());

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    column_ = new QScrollArea(this);
    column_->setWidgetResizable(true);
    column_->setFrameShape(QFrame::NoFrame);
    // The column scrolls only up and down, and its scroll bar lies over the content's right inset
    // instead of taking width from it: the content is as wide whether it scrolls or not.
    column_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    column_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    column_->setAutoFillBackground(false);
    column_->viewport()->setAutoFillBackground(false);
    layout->addWidget(column_, 1);
    indicator_ = new QScrollBar(Qt::Vertical, column_);
    QScrollBar* scroll = column_->verticalScrollBar();
    connect(scroll, &QScrollBar::rangeChanged, indicator_, [this](int minimum, int maximum) {
        indicator_->setRange(minimum, maximum);
        indicator_->setPageStep(column_->verticalScrollBar()->pageStep());
        indicator_->setVisible(maximum > minimum);
    });
    connect(scroll, &QScrollBar::valueChanged, indicator_, &QScrollBar::setValue);
    connect(indicator_, &QScrollBar::valueChanged, scroll, &QScrollBar::setValue);
    indicator_->hide();
    column_->installEventFilter(this);

    connect(&chrome_, &MainWindowChrome::changed, this, [this] {
        if (nav_)
            nav_->sync();
        if (contentKey() != builtFor_)
            rebuildContent();
        else
            updateSettingsHost();
    });
    connect(&settingsModel_, &SettingsModel::changed, this, [this] {
        if (settingsModel_.fontScale() != s_)
            rebuildAll();
        else
            updateSettingsHost();
    });
    rebuildAll();
}

QPalette MainWindowView::chromePalette()
{
    QPalette dark;
    dark.setColor(QPalette::Window, HUD::panelBottom());
    dark.setColor(QPalette::Base, HUD::panelTop());
    dark.setColor(QPalette::AlternateBase, HUD::panelTop());
    dark.setColor(QPalette::Button, HUD::iconBg());
    dark.setColor(QPalette::Highlight, withAlpha(HUD::violet(), 0.45));
    dark.setColor(QPalette::ToolTipBase, HUD::panelTop());
    for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText, QPalette::HighlightedText,
             QPalette::ToolTipText, QPalette::BrightText})
        dark.setColor(role, HUD::textPrimary());
    for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        dark.setColor(QPalette::Disabled, role, HUD::textSecondary());
    dark.setColor(QPalette::PlaceholderText, HUD::textSecondary());
    for (auto role : {QPalette::Light, QPalette::Midlight})
        dark.setColor(role, HUD::iconBg().lighter(130));
    for (auto role : {QPalette::Mid, QPalette::Dark, QPalette::Shadow})
        dark.setColor(role, HUD::panelBottom().darker(150));
    return dark;
}

QSize MainWindowView::minimumSizeHint() const
{
    // The window holds the minimum size; the content only asks for the bar and a little column.
    return QSize(nav_ ? nav_->sizeHint().width() + int(std::ceil(2 * contentInset())) : 0, 0);
}

bool MainWindowView::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == column_ && event->type() == QEvent::Resize) {
        // Inside the right inset, clear of the content and of its cards' shadows.
        const int width = std::min(indicatorWidth, int(contentInset()) - LiveTab::bleed.right());
        indicator_->setGeometry(column_->width() - width, 0, width, column_->height());
    }
    return QWidget::eventFilter(watched, event);
}

void MainWindowView::rebuildAll()
{
    s_ = settingsModel_.fontScale();
    if (nav_) {
        layout()->removeWidget(nav_);
        nav_->hide();
        nav_->deleteLater();
    }
    nav_ = new HextechSideNav(
        Binding<MainTab> {[this] { return chrome_.selection(); }, [this](MainTab tab) { chrome_.setSelection(tab); }},
        s_, this);
    static_cast<QHBoxLayout*>(layout())->insertWidget(0, nav_);
    rebuildContent();
}

MainWindowView::ContentKey MainWindowView::contentKey() const
{
    // Only what the shown tab is built from: the Settings tab follows its host state in place.
    const MainTab tab = chrome_.selection();
    return {tab, tab == MainTab::home && chrome_.isOverlayEnabled()};
}

SettingsHostState MainWindowView::settingsHostState() const
{
    return SettingsHostState {chrome_.captureTarget(),
        SettingsWindowController::keyLabel(settingsModel_.shopKeyCode(), keyNamer_),
        SettingsWindowController::keyLabel(settingsModel_.fallbackKeyCode(), keyNamer_),
        chrome_.inputMonitoringGranted()};
}

void MainWindowView::updateSettingsHost()
{
    if (auto* settings = dynamic_cast<SettingsView*>(content_.data())) {
        SettingsHostState state = settingsHostState();
        if (!(state == settings->hostState()))
            settings->setHostState(std::move(state));
    }
}

QWidget* MainWindowView::makeTab()
{
    switch (chrome_.selection()) {
    case MainTab::live: {
        auto* live = new LiveTab(champVM_, runeVM_, images_.data());
        live->setWindowFontScale(s_);
        return live;
    }
    case MainTab::home:
        return new HomeTab(
            champVM_, runeVM_, chrome_.isOverlayEnabled(), [this] { chrome_.setSelection(MainTab::settings); }, s_);
    case MainTab::whatsNew:
        return new WhatsNewTab(s_);
    case MainTab::settings:
        return new SettingsView(settingsModel_, settingsHostState(),
            SettingsActions {callbacks_.onCaptureShop, callbacks_.onCaptureFallback, callbacks_.onGrantPermission,
                callbacks_.onRestart, callbacks_.onReset});
    }
    return new QWidget;
}

void MainWindowView::rebuildContent()
{
    builtFor_ = contentKey();
    // The old content may be the one whose click led here: it goes once that click is over.
    if (QWidget* old = column_->takeWidget()) {
        old->hide();
        old->deleteLater();
    }
    auto* holder = new QWidget;
    auto* stack = new QVBoxLayout(holder);
    content_ = makeTab();
    QMargins inset(QMargins(1, 1, 1, 1) * qRound(contentInset()));
    // The Live tab draws its cards' shadows past its content: it takes that room from the inset.
    if (qobject_cast<LiveTab*>(content_.data()))
        inset -= LiveTab::bleed;
    stack->setContentsMargins(inset);
    content_->setProperty("tab", rawValue(chrome_.selection()));
    stack->addWidget(content_);
    stack->addStretch(1);
    column_->setWidget(holder);
    // The scroll area makes its widget opaque; the window's gradient shows through instead.
    holder->setAutoFillBackground(false);
}

void MainWindowView::paintEvent(QPaintEvent*)
{
    // No behind-window blur here: an opaque dark base under the window's gradient.
    QPainter painter(this);
    painter.fillRect(rect(), HUD::panelBottom());
    QLinearGradient gradient(0, 0, 0, height());
    gradient.setColorAt(0, withAlpha(HUD::panelTop(), 0.6));
    gradient.setColorAt(1, withAlpha(HUD::panelBottom(), 0.6));
    painter.fillRect(rect(), gradient);
}

} // namespace tolvane
