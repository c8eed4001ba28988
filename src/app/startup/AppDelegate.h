#pragma once
// The object that holds the application's whole life: every overlay view model, the
// champion-select assistant, the stores, the six panel windows, the status item with its menu,
// the two main loops and the main window. Its launch runs once; after that the loops, the menu
// actions and the settings pages' notifications drive it.

#include "app/champselect/ChampSelectViewModel.h"
#include "app/mainwindow/MainWindowController.h"
#include "app/startup/OverlayLoopState.h"
#include "app/startup/OverlayPanels.h"
#include "app/startup/StatusMenu.h"
#include "core/advice/MetrionMCPClient.h"
#include "core/gameclient/LiveClientDataClient.h"
#include "core/knowledge/DDragon.h"
#include "core/overlay/AppAvailability.h"
#include "core/overlay/OverlaySettingsStore.h"
#include "core/overlay/PanelPositionStore.h"
#include "core/overlay/UserDefaults.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QUrl>

#include <functional>
#include <map>
#include <memory>

#include <QCoroTask>

class QMenu;
class QMenuBar;
class QSystemTrayIcon;
class QTimer;
class QWidget;

namespace tolvane {

class AboutPanel;
class AlertPresenter;
class ComboViewModel;
class CooldownPanel;
class CooldownPanelViewModel;
class CounterBuildViewModel;
class FarmViewModel;
class GoldSpentViewModel;
class HudImageSource;
class KeyState;
class OverlayScale;
class OverlayWindow;
class OverlayWindowNative;
class PanelMoveTracker;
class PanelWindow;
class RepositionOverlayController;
class RuneBuildViewModel;
class SharedCatalogs;
class ShopKeyPoll;
class UsagePing;
class VisibilityTick;
class WindowList;
struct CounterRules;

class AppDelegate : public QObject {
    Q_OBJECT
public:
    // What the delegate runs on. The platform services and the presenter must outlive it.
    struct Services {
        std::shared_ptr<UserDefaults> defaults;
        const KeyState& keys;
        const WindowList& windows;
        OverlayWindowNative& native;
        AlertPresenter& alerts;
        // None: Data Dragon's newest item data. Loaded once and shared by every model that uses it.
        std::function<QCoro::Task<ItemCatalog>()> loadItemCatalog {};
        // None: Data Dragon's newest champion data. Loaded once and shared by the overlay view
        // models and, unless champSelect.loadChampions says otherwise, the champion-select assistant.
        std::function<QCoro::Task<ChampionCatalog>()> loadChampionCatalog {};
        // None: the maker's status document.
        std::function<QCoro::Task<AppAvailability::Status>()> checkAvailability {};
        // The overlay view models' polling and the usage heartbeat; tests leave them off so no
        // request leaves the machine.
        bool startBackgroundWork = true;
        // Whether a system tray hosts the status item at launch (bare X servers have none). Without
        // one the main window opens whatever the user did last time.
        bool trayAvailable = false;
        // None: the game's own settings file.
        QString gameConfigPath {};
        // Where the overlay's view models reach the game's Live Client Data interface, Data Dragon
        // and the statistics service; tests and the benchmark point them at stand-ins. Every Data
        // Dragon address the application builds, icons included, is on dataDragonBase.
        std::function<LiveClientDataClient()> liveClient = [] { return LiveClientDataClient(); };
        QString dataDragonBase = ddragonDefaultBase();
        QUrl statisticsEndpoint = MetrionMCPClient::defaultEndpoint();
        // What the champion-select assistant reaches out to; empty members get the real ones, its
        // Data Dragon catalogs on dataDragonBase.
        ChampSelectViewModel::Services champSelect {};
        // What the main window asks of the system; empty members get the real services.
        MainWindowController::Services mainWindow {};
    };

    static constexpr int visibilityIntervalMs = 120;
    static constexpr int keyPollIntervalMs = 20;

    explicit AppDelegate(Services services, QObject* parent = nullptr);
    ~AppDelegate() override;

    // The launch; once.
    void applicationDidFinishLaunching();
    // Closing the main window only hides it.
    static bool applicationShouldTerminateAfterLastWindowClosed() { return false; }
    // The main window on the tab it last showed: another launch of the app asks for it.
    bool applicationShouldHandleReopen();
    // "Quit Tolvane": ends the event loop. The main window closes on the way out, which is not
    // the user closing it: the next launch opens it again if it was open.
    void terminate();

    void tick();
    void pollShopKeys();
    // Logs which item ids of the counter rules Data Dragon does not know; changes nothing.
    static void runItemIDCanary(const ItemCatalog& catalog, const CounterRules& rules);

    void rebuildMenu();
    void installMainMenu();

    void openMain();
    void openSettings();
    // "About Tolvane": the About panel, made on first use.
    void showAbout();
    void toggleEnabled();
    void toggleRepositionMode();
    void resetAllPositions();
    // The availability check's answer; turns the application off when it says so.
    void applyAvailability(const AppAvailability::Status& status);

    MainWindowController& mainWindowController();
    bool hasMainWindowController() const { return mainWindow_ != nullptr; }

    // For the tests and the entry.
    const OverlayLoopState& loopState() const { return state_; }
    const OverlayPanels& panelWindows() const { return panels_; }
    QMenu* statusMenu() const { return statusMenu_.get(); }
    QSystemTrayIcon* statusItem() const { return statusItem_; }
    QMenuBar* mainMenu() const { return mainMenu_; }
    const OverlaySettingsStore& settings() const { return settings_; }
    PanelPositionStore& positionStore() { return positionStore_; }
    OverlayScale& overlayScale() const { return *overlayScale_; }
    RepositionOverlayController& repositionController() const { return *repositionController_; }
    GoldSpentViewModel& goldVM() const { return *goldVM_; }
    CooldownPanelViewModel& cooldownVM() const { return *cooldownVM_; }
    RuneBuildViewModel& runeVM() const { return *runeVM_; }
    CounterBuildViewModel& counterVM() const { return *counterVM_; }
    ChampSelectViewModel& champVM() const { return *champVM_; }
    SharedCatalogs& catalogs() const { return *catalogs_; }
    QTimer* visTimer() const { return visTimer_; }
    QTimer* keyPollTimer() const { return keyPollTimer_; }

private:
    static QCoro::Task<void> loadItemCatalog(QPointer<AppDelegate> self);
    std::shared_ptr<MetrionMCPClient> newStatisticsClient() const;
    static QCoro::Task<void> checkAvailability(QPointer<AppDelegate> self);

    // Runs the visibility tick while any match runs, and the shop-key poll while the player's own does.
    void followMatch();
    // The key poll's turn; where the key state tells of each change, it stops itself once the
    // match's first reading is made.
    void keyPollDue();
    // A key went down or up: the keys are read at once.
    void keysMoved();
    void buildStatusItem();
    void buildPanelWindows();
    void settleCooldownFormat();
    void menuAction(StatusMenu::Action action);
    // The status menu's key equivalents that the main menu lacks, on the main window.
    void addStatusMenuKeys(QWidget& window);
    std::map<PanelID, PanelWindow*> livePanels() const;
    QRectF repositionFrame() const;
    void finishRepositioning(RepositionMode mode);
    // Leaving the editor brings every panel forward: a tick must follow to hide those not due.
    void tickAfterEditor();

    Services services_;

    // Declared in the order they are made, so they are also torn down in reverse.
    QSystemTrayIcon* statusItem_ = nullptr;
    std::shared_ptr<SharedCatalogs> catalogs_;
    std::unique_ptr<GoldSpentViewModel> goldVM_;
    std::unique_ptr<FarmViewModel> farmVM_;
    std::unique_ptr<ComboViewModel> comboVM_;
    std::unique_ptr<CounterBuildViewModel> counterVM_;
    std::unique_ptr<RuneBuildViewModel> runeVM_;
    std::unique_ptr<CooldownPanelViewModel> cooldownVM_;
    std::unique_ptr<ChampSelectViewModel> champVM_;
    PanelPositionStore positionStore_;
    std::unique_ptr<UsagePing> usagePing_;
    OverlaySettingsStore settings_;
    OverlayLoopState state_;
    std::unique_ptr<OverlayScale> overlayScale_;
    std::unique_ptr<RepositionOverlayController> repositionController_;
    HudImageSource* images_ = nullptr;

    std::unique_ptr<QMenu> statusMenu_;
    QMenuBar* mainMenu_ = nullptr;
    // The windows outlive the loops that point at them.
    std::unique_ptr<OverlayWindow> goldOverlay_;
    std::unique_ptr<OverlayWindow> runeOverlay_;
    std::unique_ptr<OverlayWindow> counterOverlay_;
    std::unique_ptr<CooldownPanel> cooldownOverlay_;
    std::unique_ptr<OverlayWindow> farmOverlay_;
    std::unique_ptr<OverlayWindow> comboOverlay_;
    OverlayPanels panels_;
    std::unique_ptr<VisibilityTick> visibilityTick_;
    std::unique_ptr<ShopKeyPoll> shopKeyPoll_;
    std::unique_ptr<PanelMoveTracker> moveTracker_;
    QTimer* visTimer_ = nullptr;
    QTimer* keyPollTimer_ = nullptr;
    QTimer* editorLeftTick_ = nullptr; // one tick, for when the regular ones rest
    bool inOwnMatch_ = false;
    bool keysWatched_ = false; // the key state tells of each change
    bool keysMoved_ = false; // since the last poll
    std::unique_ptr<MainWindowController> mainWindow_;
    QPointer<AboutPanel> aboutPanel_;
    bool availabilityNoticeShown_ = false;
    bool launched_ = false;
};

} // namespace tolvane
