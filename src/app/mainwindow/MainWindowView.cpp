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
#include <QVBoxLayout>

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
    // A dark palette for whatever stock parts show (scroll bars, tooltips, focus rings).
    QPalette dark = palette();
    dark.setColor(QPalette::Window, HUD::panelBottom());
    dark.setColor(QPalette::Base, HUD::panelTop());
    dark.setColor(QPalette::Button, HUD::iconBg());
    for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        dark.setColor(role, HUD::textPrimary());
    setPalette(dark);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    column_ = new QScrollArea(this);
    column_->setWidgetResizable(true);
    column_->setFrameShape(QFrame::NoFrame);
    column_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    column_->setAutoFillBackground(false);
    column_->viewport()->setAutoFillBackground(false);
    layout->addWidget(column_, 1);

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

QSize MainWindowView::minimumSizeHint() const
{
    return QSize(int(std::ceil(340 * s_)), int(std::ceil(520 * s_)));
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
    setMinimumSize(minimumSizeHint());
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
    const int inset = qRound(contentInset());
    stack->setContentsMargins(inset, inset, inset, inset);
    content_ = makeTab();
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
