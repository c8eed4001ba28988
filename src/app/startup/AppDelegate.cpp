#include "app/startup/AppDelegate.h"

#include "app/champselect/ChampSelectViewModel.h"
#include "app/mainwindow/AppGlyph.h"
#include "app/mainwindow/AppNotifications.h"
#include "app/mainwindow/MainWindowController.h"
#include "app/panels/ComboOverlayView.h"
#include "app/panels/ComboViewModel.h"
#include "app/panels/CooldownOverlayView.h"
#include "app/panels/CooldownPanelViewModel.h"
#include "app/panels/CounterBuildOverlayView.h"
#include "app/panels/CounterBuildViewModel.h"
#include "app/panels/FarmOverlayView.h"
#include "app/panels/FarmViewModel.h"
#include "app/panels/GoldSpentOverlayView.h"
#include "app/panels/GoldSpentViewModel.h"
#include "app/panels/HudImageCache.h"
#include "app/panels/RuneBuildOverlayView.h"
#include "app/panels/RuneBuildViewModel.h"
#include "app/panels/SharedCatalogs.h"
#include "app/startup/AboutPanel.h"
#include "app/startup/AlertPresenter.h"
#include "app/startup/LeagueGameSettings.h"
#include "app/startup/PanelMoveTracker.h"
#include "app/startup/ShopKeyPoll.h"
#include "app/startup/VisibilityTick.h"
#include "app/windows/CooldownPanel.h"
#include "app/windows/GameWindowTracker.h"
#include "app/windows/OverlayScale.h"
#include "app/windows/OverlayWindow.h"
#include "app/windows/RepositionOverlayController.h"
#include "app/windows/RepositionOverlayView.h"
#include "core/advice/MetaBuildProvider.h"
#include "core/advice/MetrionComboProvider.h"
#include "core/advice/MetrionMCPClient.h"
#include "core/advice/MetrionMatchupProvider.h"
#include "core/knowledge/CounterRules.h"
#include "core/knowledge/ItemCatalog.h"
#include "core/knowledge/RuneCatalog.h"
#include "core/knowledge/SummonerSpellCatalog.h"
#include "core/overlay/UsagePing.h"
#include "core/support/HttpSession.h"
#include "core/support/Log.h"
#include "platform/KeyState.h"

#include <QAction>
#include <QApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QMenu>
#include <QMainWindow>
#include <QMenuBar>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>
#include <QSystemTrayIcon>
#include <QTimer>

#include <unordered_map>

#include <malloc.h>

TOLVANE_LOG_CATEGORY(lcStartup, "startup")

namespace tolvane {

namespace {

// The assistant takes its champions from the shared catalogs, and its runes and spells from the
// same Data Dragon, unless told otherwise.
ChampSelectViewModel::Services champSelectServices(
    ChampSelectViewModel::Services services, std::shared_ptr<SharedCatalogs> catalogs, const QString& dataDragonBase)
{
    if (!services.loadChampions)
        services.loadChampions = [catalogs] { return catalogs->champions(); };
    if (!services.loadRunes)
        services.loadRunes = [loader = std::make_shared<RuneCatalogLoader>(dataDragonBase)] { return loader->load(); };
    if (!services.loadSpells) {
        services.loadSpells
            = [loader = std::make_shared<SummonerSpellCatalogLoader>(dataDragonBase)] { return loader->load(); };
    }
    return services;
}

// The catalogs every model shares: the ones the services give, else Data Dragon's newest data.
std::shared_ptr<SharedCatalogs> sharedCatalogs(const AppDelegate::Services& services)
{
    SharedCatalogs::LoadChampions champions = services.loadChampionCatalog;
    if (!champions)
        champions = [loader = ChampionCatalogLoader(services.dataDragonBase)] { return loader.load(); };
    SharedCatalogs::LoadItems items = services.loadItemCatalog;
    if (!items)
        items = [loader = ItemCatalogLoader(services.dataDragonBase)] { return loader.load(); };
    return std::make_shared<SharedCatalogs>(std::move(champions), std::move(items));
}

QKeySequence commandKey(Qt::Key key)
{
    return QKeySequence(Qt::CTRL | key);
}

// The title's letters, light inside a dark ring like the glyph, for a tray without the glyph.
QIcon titleIcon()
{
    QImage image(36, 36, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    QFont font = painter.font();
    font.setPixelSize(20);
    font.setBold(true);
    QPainterPath letters;
    letters.addText(0, 0, font, QStringLiteral("TL"));
    letters.translate(QRectF(image.rect()).center() - letters.boundingRect().center());
    painter.strokePath(letters, QPen(QColor(0x1a, 0x16, 0x2b), 3));
    painter.fillPath(letters, QColor(0xf4, 0xf1, 0xff));
    painter.end();
    return QIcon(QPixmap::fromImage(image));
}

} // namespace

AppDelegate::AppDelegate(Services services, QObject* parent)
    : QObject(parent)
    , services_(std::move(services))
    , catalogs_(sharedCatalogs(services_))
    , goldVM_(std::make_unique<GoldSpentViewModel>(services_.liveClient(), catalogs_))
    , farmVM_(std::make_unique<FarmViewModel>(services_.liveClient(), [] { return FarmBenchmarkLoader().load(); }))
    , comboVM_(std::make_unique<ComboViewModel>(
          std::make_shared<MetrionComboProvider>(newStatisticsClient()), services_.liveClient(), catalogs_))
    , counterVM_(std::make_unique<CounterBuildViewModel>(
          std::make_shared<MetrionMatchupProvider>(newStatisticsClient()), services_.liveClient(), catalogs_))
    , runeVM_(std::make_unique<RuneBuildViewModel>(
          std::make_shared<MetrionMetaBuildProvider>(newStatisticsClient()), services_.liveClient(), catalogs_))
    , cooldownVM_(std::make_unique<CooldownPanelViewModel>(services_.liveClient(), catalogs_))
    , champVM_(std::make_unique<ChampSelectViewModel>(std::make_shared<MetrionMetaBuildProvider>(newStatisticsClient()),
          std::make_shared<MetrionMatchupProvider>(newStatisticsClient()),
          champSelectServices(services_.champSelect, catalogs_, services_.dataDragonBase)))
    , positionStore_(services_.defaults)
    , usagePing_(std::make_unique<UsagePing>(services_.defaults))
    , settings_(services_.defaults)
    , overlayScale_(std::make_unique<OverlayScale>(1.0))
    , repositionController_(std::make_unique<RepositionOverlayController>(services_.native))
{
    if (services_.gameConfigPath.isEmpty())
        services_.gameConfigPath = LeagueGameSettings::configFilePath();
}

AppDelegate::~AppDelegate()
{
    // The loops point at the windows and view models: stop them before anything they use goes.
    if (visTimer_)
        visTimer_->stop();
    if (keyPollTimer_)
        keyPollTimer_->stop();
    if (editorLeftTick_)
        editorLeftTick_->stop();
    services_.keys.stopWatching();
    moveTracker_.reset();
    repositionController_->dismiss();
    // Until a main window takes it, the main menu belongs to no one.
    if (mainMenu_ && mainMenu_->parent() == nullptr)
        delete mainMenu_;
}

void AppDelegate::applicationDidFinishLaunching()
{
    if (launched_)
        return;
    launched_ = true;

    buildStatusItem();
    rebuildMenu();
    buildPanelWindows();

    if (services_.startBackgroundWork) {
        goldVM_->start();
        counterVM_->start();
        runeVM_->start();
        cooldownVM_->start();
        farmVM_->start();
        comboVM_->start();
    }

    positionStore_.migrateIfNeeded();
    positionStore_.clearIfNewFormat();

    // The sender is the process-wide centre, so the connections end with this object.
    AppNotifications& center = AppNotifications::defaultCenter();
    connect(&center, &AppNotifications::openRepositionMode, this, &AppDelegate::toggleRepositionMode);
    connect(&center, &AppNotifications::resetAllPanelPositions, this, &AppDelegate::resetAllPositions);

    settleCooldownFormat();

    for (OverlayWindow* window : panels_.overlays())
        window->orderOut();

    moveTracker_->watch();

    // Both tasks begin once the launch has returned, like tasks queued on the main thread: an
    // answer that is ready at once still finds the launch complete (the main window open).
    QTimer::singleShot(0, this, [this] { loadItemCatalog(QPointer<AppDelegate>(this)); });

    visTimer_ = new QTimer(this);
    visTimer_->setInterval(visibilityIntervalMs);
    // Precise: a coarse timer moves each turn by up to 5 % to share a wake-up with other timers,
    // and the panels are to follow the keys and the game window within the interval.
    visTimer_->setTimerType(Qt::PreciseTimer);
    connect(visTimer_, &QTimer::timeout, this, &AppDelegate::tick);
    editorLeftTick_ = new QTimer(this);
    editorLeftTick_->setSingleShot(true);
    editorLeftTick_->setInterval(visibilityIntervalMs);
    // Precise: the interval is as long as the panels brought forward may stay up.
    editorLeftTick_->setTimerType(Qt::PreciseTimer);
    connect(editorLeftTick_, &QTimer::timeout, this, &AppDelegate::tick);

    keyPollTimer_ = new QTimer(this);
    keyPollTimer_->setInterval(keyPollIntervalMs);
    connect(keyPollTimer_, &QTimer::timeout, this, &AppDelegate::keyPollDue);
    connect(goldVM_.get(), &GoldSpentViewModel::changed, this, &AppDelegate::followMatch);
    connect(cooldownVM_.get(), &CooldownPanelViewModel::changed, this, &AppDelegate::followMatch);
    followMatch();

    QTimer::singleShot(0, this, [this] { checkAvailability(QPointer<AppDelegate>(this)); });

    if (services_.startBackgroundWork)
        usagePing_->start();

    installMainMenu();

    // Without a tray the window is the only way in, whatever the user did last time.
    if (!settings_.mainWindowDismissed() || !services_.trayAvailable)
        openMain();
}

void AppDelegate::buildStatusItem()
{
    // The menu exists with or without a tray to show it, so every action stays reachable from
    // the main window's menu and the tests can read it.
    statusMenu_ = std::make_unique<QMenu>();
    // The icon is made even while no tray runs: Qt docks it in a tray that starts later. Only
    // the offscreen platform, which draws into memory, can never have one.
    if (QGuiApplication::platformName() == QLatin1String("offscreen"))
        return;
    statusItem_ = new QSystemTrayIcon(this);
    const AppGlyph& glyph = AppGlyph::shared();
    // A tray icon has no title to fall back to: without the glyph it shows the title's letters.
    statusItem_->setIcon(glyph.isEmpty() ? titleIcon() : glyph.trayIcon());
    statusItem_->setToolTip(QStringLiteral("Tolvane"));
    statusItem_->setContextMenu(statusMenu_.get());
    // A click of either button opens the menu, as a click on a status item does; the tray opens
    // it by itself for the right button only.
    connect(statusItem_, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        if (reason == QSystemTrayIcon::Trigger && statusMenu_)
            statusMenu_->popup(QCursor::pos());
    });
    statusItem_->show();
}

void AppDelegate::buildPanelWindows()
{
    images_ = new HudImageCache(services_.dataDragonBase, HttpTimeouts::remoteService(), this);
    const PanelPlatform platform {services_.keys, services_.native};
    OverlayScale& scale = *overlayScale_;

    goldOverlay_ = std::make_unique<OverlayWindow>(new GoldSpentOverlayView(goldVM_.get(), 234), scale, platform);
    runeOverlay_ = std::make_unique<OverlayWindow>(new RuneBuildOverlayView(*runeVM_, 230, images_), scale, platform);
    counterOverlay_
        = std::make_unique<OverlayWindow>(new CounterBuildOverlayView(*counterVM_, 248, images_), scale, platform);
    cooldownOverlay_ = std::make_unique<CooldownPanel>(new CooldownOverlayView(*cooldownVM_, images_), scale, platform);
    farmOverlay_ = std::make_unique<OverlayWindow>(new FarmOverlayView(farmVM_.get(), 200), scale, platform);
    comboOverlay_ = std::make_unique<OverlayWindow>(new ComboOverlayView(*comboVM_, 216, 6), scale, platform);

    panels_ = OverlayPanels {goldOverlay_.get(), runeOverlay_.get(), counterOverlay_.get(), farmOverlay_.get(),
        comboOverlay_.get(), cooldownOverlay_.get()};

    const OverlayLoopServices loop {settings_, positionStore_, services_.keys, services_.windows, state_};
    visibilityTick_ = std::make_unique<VisibilityTick>(panels_, loop, *overlayScale_, *goldVM_, *cooldownVM_);
    shopKeyPoll_ = std::make_unique<ShopKeyPoll>(loop, *goldVM_);
    moveTracker_ = std::make_unique<PanelMoveTracker>(panels_, loop);
}

std::shared_ptr<MetrionMCPClient> AppDelegate::newStatisticsClient() const
{
    return std::make_shared<MetrionMCPClient>(services_.statisticsEndpoint);
}

void AppDelegate::settleCooldownFormat()
{
    const CDTimeFormat format = settleCDFormat(settings_, services_.gameConfigPath);
    cooldownVM_->setTimeFormat(format);
    cooldownVM_->setBgOpacity(settings_.cdPanelOpacity());
}

void AppDelegate::tick()
{
    if (visibilityTick_)
        visibilityTick_->tick();
}

void AppDelegate::pollShopKeys()
{
    if (shopKeyPoll_)
        shopKeyPoll_->pollShopKeys();
}

void AppDelegate::keyPollDue()
{
    // Where the key state tells of each change, the keys are read as they move: a turn is due
    // only for the match's first reading, and a reading with no key moved since the last one gives
    // the same states, so no edge. The poll then rests for the rest of the match.
    if (keysWatched_ && !keysMoved_) {
        keyPollTimer_->stop();
        return;
    }
    keysMoved_ = false;
    pollShopKeys();
}

void AppDelegate::keysMoved()
{
    if (!inOwnMatch_)
        return;
    // Read at once, while the key state holds the change it tells of: a tap shorter than the
    // poll's interval would be up again by its next turn. Every change is told, so no turn needs
    // to follow; this reading also stands for a match's first one if that is still due.
    keysMoved_ = false;
    pollShopKeys();
}

void AppDelegate::followMatch()
{
    if (!visTimer_ || !keyPollTimer_)
        return;
    // Between matches no panel can be due and the keyboard is not read: a tick would only hide
    // what is hidden (leaving the editor, which shows them all, asks for its own) and a poll would
    // only clear the latch, which the last of each does. So both loops run while a match does, and
    // nothing wakes the process for nothing in between. Where the key state tells of each change,
    // the match's keys are read once at its start and then as they move, with no pace.
    const bool ownMatch = goldVM_->summary().has_value();
    const bool anyMatch = ownMatch || cooldownVM_->inGame();
    if (inOwnMatch_ != ownMatch) {
        inOwnMatch_ = ownMatch;
        if (ownMatch) {
            keysMoved_ = true; // the first reading is the match's starting state
            keysWatched_ = services_.keys.watchChanges([this] { keysMoved(); });
            keyPollTimer_->start();
        } else {
            services_.keys.stopWatching();
            keysWatched_ = false;
            pollShopKeys();
            keyPollTimer_->stop();
        }
    }
    if (visTimer_->isActive() != anyMatch) {
        if (anyMatch) {
            visTimer_->start();
            tick();
        } else {
            tick();
            visTimer_->stop();
        }
    }
}

QCoro::Task<void> AppDelegate::loadItemCatalog(QPointer<AppDelegate> self)
{
    if (!self)
        co_return;
    // The gold view model waits for the same load.
    const std::shared_ptr<SharedCatalogs> catalogs = self->catalogs_;
    const ItemCatalog catalog = co_await catalogs->items();
    if (!self)
        co_return;
    self->runeVM_->setItemCatalog(catalog);
    self->champVM_->setItemCatalog(catalog);
    self->counterVM_->setItemCatalog(catalog);
    runItemIDCanary(catalog, self->counterVM_->rules());
    // The catalogs' documents (a megabyte of JSON and its parse) are gone now; what the allocator
    // kept of them goes back to the system instead of staying resident for the whole session.
    malloc_trim(0);
}

void AppDelegate::runItemIDCanary(const ItemCatalog& catalog, const CounterRules& rules)
{
    if (catalog.totalCostByID.empty()) {
        log::info(lcStartup(),
            QStringLiteral("item-id canary: DDragon catalog empty (load failed or warm-up) — curated-id validation "
                           "skipped"));
        return;
    }
    const std::vector<int64_t> ids = rules.allItemIDs();
    const std::vector<int64_t> missing = catalog.unknownItemIDs(ids);
    if (missing.empty()) {
        log::info(lcStartup(),
            QStringLiteral("item-id canary: all %1 curated counter-rule ids present in DDragon").arg(ids.size()));
        return;
    }
    std::unordered_map<int64_t, QString> names;
    for (const CounterRules::ItemRule& rule : rules.items)
        names.try_emplace(rule.id, rule.name);
    for (int64_t id : missing) {
        const auto name = names.find(id);
        log::error(lcStartup(),
            QStringLiteral("item-id ROT: curated id %1 ('%2') absent from DDragon — icon falls back to name; update "
                           "counter-rules.json")
                .arg(id)
                .arg(name != names.end() ? name->second : QStringLiteral("?")));
    }
}

QCoro::Task<void> AppDelegate::checkAvailability(QPointer<AppDelegate> self)
{
    if (!self)
        co_return;
    std::function<QCoro::Task<AppAvailability::Status>()> check = self->services_.checkAvailability;
    AppAvailability::Status status;
    if (check) {
        status = co_await check();
    } else {
        auto session = std::make_shared<HttpSession>(HttpPeer::makerHost, AppAvailability::timeouts());
        status = co_await AppAvailability::check(session, self->services_.defaults);
    }
    if (!self)
        co_return;
    self->applyAvailability(status);
}

void AppDelegate::applyAvailability(const AppAvailability::Status& status)
{
    if (status.isAvailable())
        return;
    state_.availabilityDisabled = true;
    champVM_->stop();
    if (mainWindow_)
        mainWindow_->window()->hide();
    for (OverlayWindow* window : panels_.overlays())
        if (window)
            window->orderOut();
    if (panels_.cooldown)
        panels_.cooldown->orderOut();
    rebuildMenu();
    if (!availabilityNoticeShown_) {
        availabilityNoticeShown_ = true;
        services_.alerts.showWarning(QStringLiteral("Tolvane is unavailable"), status.message);
    }
}

void AppDelegate::rebuildMenu()
{
    if (!statusMenu_)
        return;
    QPointer<AppDelegate> self(this);
    StatusMenu::fill(*statusMenu_, StatusMenu::items(state_), [self](StatusMenu::Action action) {
        if (self)
            self->menuAction(action);
    });
}

void AppDelegate::menuAction(StatusMenu::Action action)
{
    switch (action) {
    case StatusMenu::Action::none:
        return;
    case StatusMenu::Action::openMain:
        return openMain();
    case StatusMenu::Action::toggleEnabled:
        return toggleEnabled();
    case StatusMenu::Action::toggleRepositionMode:
        return toggleRepositionMode();
    case StatusMenu::Action::openSettings:
        return openSettings();
    case StatusMenu::Action::quit:
        return terminate();
    }
}

void AppDelegate::installMainMenu()
{
    if (mainMenu_)
        return;
    mainMenu_ = new QMenuBar();
    QMenu* app = mainMenu_->addMenu(QStringLiteral("Tolvane"));
    app->addAction(QStringLiteral("About Tolvane"), this, &AppDelegate::showAbout);
    app->addSeparator();
    QAction* open = app->addAction(QStringLiteral("Open Tolvane"), this, &AppDelegate::openMain);
    open->setShortcut(commandKey(Qt::Key_O));
    app->addSeparator();
    QAction* hide = app->addAction(QStringLiteral("Hide Tolvane"), this, [this] {
        if (mainWindow_)
            mainWindow_->window()->hide();
    });
    hide->setShortcut(commandKey(Qt::Key_H));
    QAction* quit = app->addAction(QStringLiteral("Quit Tolvane"), this, &AppDelegate::terminate);
    quit->setShortcut(commandKey(Qt::Key_Q));

    QMenu* window = mainMenu_->addMenu(QStringLiteral("Window"));
    QAction* close = window->addAction(QStringLiteral("Close"), this, [] {
        if (QWidget* active = QApplication::activeWindow())
            active->close();
    });
    close->setShortcut(commandKey(Qt::Key_W));
    QAction* minimize = window->addAction(QStringLiteral("Minimize"), this, [] {
        if (QWidget* active = QApplication::activeWindow())
            active->showMinimized();
    });
    minimize->setShortcut(commandKey(Qt::Key_M));

    if (mainWindow_ && mainWindow_->window())
        mainWindow_->window()->setMenuBar(mainMenu_);
}

void AppDelegate::addStatusMenuKeys(QWidget& window)
{
    // The status menu's keys work only while it is open, and the main menu does not list these
    // two: without them a key the menu shows would do nothing in the main window.
    const std::pair<Qt::Key, void (AppDelegate::*)()> keys[] {
        {Qt::Key_R, &AppDelegate::toggleRepositionMode}, {Qt::Key_Comma, &AppDelegate::openSettings}};
    for (const auto& [key, handler] : keys) {
        auto* action = new QAction(&window);
        action->setShortcut(commandKey(key));
        connect(action, &QAction::triggered, this, handler);
        window.addAction(action);
    }
}

MainWindowController& AppDelegate::mainWindowController()
{
    if (!mainWindow_) {
        QPointer<AppDelegate> self(this);
        MainWindowController::Services services = services_.mainWindow;
        if (!services.images)
            services.images = images_;
        if (!services.terminate) {
            services.terminate = [self] {
                if (self)
                    self->terminate();
            };
        }
        mainWindow_ = std::make_unique<MainWindowController>(
            settings_, *champVM_, *runeVM_, [self] { return self ? self->state_.userEnabled : true; },
            [self] {
                if (self)
                    self->settings_.reset();
                if (self)
                    self->positionStore_.clearAll();
            },
            std::move(services));
        addStatusMenuKeys(*mainWindow_->window());
    }
    // The window takes the main menu the first time both exist; it owns it from then on.
    if (mainMenu_ && mainWindow_->window() && mainMenu_->parent() == nullptr)
        mainWindow_->window()->setMenuBar(mainMenu_);
    return *mainWindow_;
}

void AppDelegate::showAbout()
{
    // The menu lives on the main window: the panel belongs to it.
    if (!aboutPanel_)
        aboutPanel_ = new AboutPanel(mainWindowController().window());
    aboutPanel_->present();
}

void AppDelegate::openMain()
{
    mainWindowController().show(MainTab::live);
}

void AppDelegate::openSettings()
{
    mainWindowController().show(MainTab::settings);
}

void AppDelegate::terminate()
{
    if (mainWindow_)
        mainWindow_->applicationWillTerminate();
    QCoreApplication::quit();
}

bool AppDelegate::applicationShouldHandleReopen()
{
    mainWindowController().show(std::nullopt);
    return true;
}

void AppDelegate::toggleEnabled()
{
    state_.userEnabled = !state_.userEnabled;
    rebuildMenu();
}

std::map<PanelID, PanelWindow*> AppDelegate::livePanels() const
{
    return {{PanelID::popularBuild, runeOverlay_.get()}, {PanelID::matchup, counterOverlay_.get()},
        {PanelID::goldTracker, goldOverlay_.get()}, {PanelID::farmBenchmark, farmOverlay_.get()},
        {PanelID::combos, comboOverlay_.get()}, {PanelID::cooldowns, cooldownOverlay_.get()}};
}

QRectF AppDelegate::repositionFrame() const
{
    if (const std::optional<QRectF> game = GameWindowTracker::leagueWindowFrame(services_.windows))
        return *game;
    // The primary screen's origin is the origin of screen coordinates.
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        return QRectF(QPointF(0, 0), QSizeF(screen->geometry().size()));
    return QRectF(0, 0, 1920, 1080);
}

void AppDelegate::toggleRepositionMode()
{
    if (!launched_)
        return;
    if (state_.repositionMode) {
        state_.repositionMode = false;
        repositionController_->dismiss();
        for (const auto& [id, window] : livePanels())
            window->orderFront();
        rebuildMenu();
        tickAfterEditor();
        return;
    }

    state_.repositionMode = true;
    rebuildMenu();
    const QRectF frame = repositionFrame();
    std::map<PanelID, QRectF> frames;
    for (const auto& [id, window] : livePanels()) {
        window->orderOut();
        frames.emplace(id, window->frame());
    }
    QPointer<AppDelegate> self(this);
    repositionController_->show(frame, frames, positionStore_, settings_, [self](PanelPoints, RepositionMode mode) {
        // The editor has stored the centres itself.
        if (self)
            self->finishRepositioning(mode);
    });
}

void AppDelegate::finishRepositioning(RepositionMode mode)
{
    state_.repositionMode = false;
    state_.currentMode = mode;
    for (const auto& [id, window] : livePanels())
        window->orderFront();
    rebuildMenu();
    tickAfterEditor();
}

void AppDelegate::tickAfterEditor()
{
    // In a match the next regular tick comes within its interval. Between matches the ticks rest,
    // and so one runs after the same interval, or the panels would stay up until the next match.
    if (visTimer_ && !visTimer_->isActive())
        editorLeftTick_->start();
}

void AppDelegate::resetAllPositions()
{
    positionStore_.clearAll();
}

} // namespace tolvane
