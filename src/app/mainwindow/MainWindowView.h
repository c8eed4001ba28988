#pragma once
// The main window's content: the navigation bar beside a scrolling column that shows the
// selected tab, all sized by the window text scale. It keeps no state of its own: a change of the
// window's chrome or of the text size rebuilds what it shows.

#include "app/mainwindow/MainWindowChrome.h"
#include "app/mainwindow/SettingsTab.h"

#include <QPalette>
#include <QPointer>
#include <QWidget>

#include <functional>
#include <utility>

class QScrollArea;
class QScrollBar;

namespace tolvane {

class ChampSelectViewModel;
class HextechSideNav;
class HudImageSource;
class KeyCodeNamer;
class RuneBuildViewModel;
class SettingsModel;

class MainWindowView : public QWidget {
    Q_OBJECT
public:
    // What the Settings tab asks of the controller.
    struct Callbacks {
        std::function<void()> onCaptureShop;
        std::function<void()> onCaptureFallback;
        std::function<void()> onGrantPermission;
        std::function<void()> onRestart;
        std::function<void()> onReset;
    };

    // Everything handed in must outlive the view; images may be null.
    MainWindowView(ChampSelectViewModel& champVM, RuneBuildViewModel& runeVM, SettingsModel& settingsModel,
        MainWindowChrome& chrome, Callbacks callbacks, const KeyCodeNamer& keyNamer, HudImageSource* images = nullptr,
        QWidget* parent = nullptr);

    // The dark look of the window's stock parts: menu bar and menus, scroll bar, tooltips.
    static QPalette chromePalette();

    const Callbacks& callbacks() const { return callbacks_; }
    // The window text scale everything inside is built for.
    double windowFontScale() const { return s_; }
    HextechSideNav* sideNav() const { return nav_; }
    QScrollArea* column() const { return column_; }
    // The selected tab's content widget.
    QWidget* tabContent() const { return content_.data(); }
    // The inset around the tab content, 20 x s on every edge.
    double contentInset() const { return 20 * s_; }

    // The column's scroll bar, drawn over the right inset; hidden while nothing scrolls.
    QScrollBar* scrollIndicator() const { return indicator_; }
    static constexpr int indicatorWidth = 10;

    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent*) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // What the shown content was built from; a chrome change that leaves it alone rebuilds nothing.
    using ContentKey = std::pair<MainTab, bool>;
    ContentKey contentKey() const;
    SettingsHostState settingsHostState() const;
    void updateSettingsHost();
    void rebuildAll();
    void rebuildContent();
    QWidget* makeTab();

    ChampSelectViewModel& champVM_;
    RuneBuildViewModel& runeVM_;
    SettingsModel& settingsModel_;
    MainWindowChrome& chrome_;
    Callbacks callbacks_;
    const KeyCodeNamer& keyNamer_;
    QPointer<HudImageSource> images_;
    double s_ = 1.0;
    HextechSideNav* nav_ = nullptr;
    QScrollArea* column_ = nullptr;
    QScrollBar* indicator_ = nullptr;
    QPointer<QWidget> content_;
    ContentKey builtFor_;
};

} // namespace tolvane
