// The whole application over the stand-in match, as a player meets it: the launch, champion
// select, the loading screen, a game with its six panels, the end of the game, a game interface
// that misbehaves mid-match, quitting, and the shipped program refusing the stand-in's
// certificate whatever other game client runs. The application runs in this process where what
// it shows is inspected, and as a child process where its end is what counts. Pointed at the
// stand-ins, it asks for no address off loopback, icons included.

#include "Await.h"
#include "LogCapture.h"
#include "PaintedText.h"
#include "RefusingPort.h"
#include "StandInMatch.h"
#include "XTool.h"

#include "app/mainwindow/MainWindowChrome.h"
#include "app/panels/CooldownOverlayView.h"
#include "app/panels/CooldownPanelViewModel.h"
#include "app/panels/CounterBuildViewModel.h"
#include "app/panels/GoldSpentOverlayView.h"
#include "app/panels/GoldSpentViewModel.h"
#include "app/panels/RuneBuildViewModel.h"
#include "app/startup/AlertPresenter.h"
#include "app/windows/CooldownPanel.h"
#include "app/windows/OverlayScale.h"
#include "app/windows/OverlayWindow.h"
#include "app/windows/ScaledContainer.h"
#include "platform/X11Platform.h"

#include <QMainWindow>
#include <QNetworkProxyFactory>
#include <QScopeGuard>
#include <QSystemTrayIcon>
#include <QTemporaryDir>
#include <QTimer>
#include <QWindow>

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <source_location>

namespace tolvane {
namespace {

using namespace std::chrono_literals;
using test::StandInMatch;
using Phase = StandInMatch::Phase;
using Fault = StandInMatch::LiveFault;
using namespace Qt::StringLiterals;

class NoAlerts final : public AlertPresenter {
public:
    void showWarning(const QString&, const QString&) override { }
};

// Looks at the state every 50 ms, running the event loop in between without spinning: drawing a
// window to read it is not free, and a child process may need the cores.
bool eventually(const std::function<bool()>& condition, std::chrono::milliseconds limit = 30s,
    std::source_location where = std::source_location::current())
{
    QElapsedTimer clock;
    clock.start();
    while (!condition()) {
        if (clock.elapsed() > limit.count()) {
            std::fprintf(stderr, "wait at %s:%u: the awaited state did not come within %lld ms\n", where.file_name(),
                unsigned(where.line()), static_cast<long long>(limit.count()));
            return false;
        }
        QEventLoop pause;
        QTimer::singleShot(50ms, &pause, &QEventLoop::quit);
        pause.exec();
    }
    return true;
}

// The windows xdotool finds, one id a line.
QByteArray xdotoolSearch(const QStringList& arguments)
{
    QProcess xdotool;
    xdotool.start(u"xdotool"_s, QStringList {u"search"_s} + arguments);
    xdotool.waitForFinished();
    return xdotool.readAllStandardOutput();
}

// What a window shows: nothing while it is hidden.
QString shown(QWidget* window)
{
    return window && window->isVisible() ? test::paintedText(*window).join(u'\n') : QString();
}

bool showsAll(QWidget* window, const QStringList& texts)
{
    const QString text = shown(window);
    return std::all_of(texts.begin(), texts.end(), [&](const QString& t) { return text.contains(t); });
}

// Whether the window shows an icon the stand-in's Data Dragon served.
bool showsIcon(QWidget* window)
{
    return window && window->isVisible() && test::paintedImages(*window).contains(StandInMatch::iconSize);
}

// Where each window was when it first appeared.
class FirstShown final : public QObject {
public:
    explicit FirstShown(const std::vector<PanelWindow*>& windows)
    {
        for (PanelWindow* window : windows)
            window->installEventFilter(this);
    }
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show)
            frames.try_emplace(watched, static_cast<QWidget*>(watched)->geometry());
        return false;
    }
    std::map<QObject*, QRect> frames;
};

class EndToEnd : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        hosts_ = &test::RequestedHosts::install();
        match_ = new StandInMatch;
        problem_ = match_->start();
    }
    static void TearDownTestSuite()
    {
        delete match_;
        match_ = nullptr;
        QNetworkProxyFactory::setApplicationProxyFactory(nullptr); // deletes the recorder
        hosts_ = nullptr;
    }

    void SetUp() override
    {
        // The stand-ins serve the real captures, inside the event loop.
        test::requireRealData();
        ASSERT_TRUE(problem_.isEmpty()) << problem_.toStdString();
        hosts_->takeOffLoopback();
    }
    void TearDown() override
    {
        test::xdotool({u"keyup"_s, u"Tab"_s}); // in case a failed test left it held
        app_.reset();
        match().setLiveFault(Fault::none);
        match().setPhase(Phase::noClient);
        const QStringList offLoopback = hosts_->takeOffLoopback();
        EXPECT_TRUE(offLoopback.isEmpty()) << "asked off loopback: " << offLoopback.join(u' ').toStdString();
    }

    static StandInMatch& match() { return *match_; }

    AppDelegate& launch(bool withMainWindow)
    {
        defaults_->set(OverlaySettingsStore::Keys::mainWindowDismissed, !withMainWindow);
        AppDelegate::Services services {defaults_, *keys_, *windows_, *native_, alerts_};
        services.trayAvailable = QSystemTrayIcon::isSystemTrayAvailable();
        services.gameConfigPath = home_.filePath(QStringLiteral("game.cfg"));
        test::pointAtStandIns(services, match().peers());
        app_ = std::make_unique<AppDelegate>(std::move(services));
        app_->applicationDidFinishLaunching();
        return *app_;
    }

    std::vector<PanelWindow*> panels() const
    {
        const auto all = app_->panelWindows().all();
        return {all.begin(), all.end()};
    }
    // Every panel but `empty`, which has nothing to show and so stays off the screen.
    bool allPanels(bool visible, const PanelWindow* empty = nullptr) const
    {
        const auto windows = panels();
        return std::all_of(windows.begin(), windows.end(),
            [&](PanelWindow* w) { return w->isVisible() == (visible && w != empty); });
    }

    QTemporaryDir home_;
    std::shared_ptr<UserDefaults> defaults_ = std::make_shared<InMemoryUserDefaults>();
    std::unique_ptr<KeyState> keys_ = makeX11KeyState();
    std::unique_ptr<X11WindowList> windows_ = makeX11WindowList();
    std::unique_ptr<OverlayWindowNative> native_ = makeX11OverlayWindowNative();
    NoAlerts alerts_;
    std::unique_ptr<AppDelegate> app_;

    static inline StandInMatch* match_ = nullptr;
    static inline test::RequestedHosts* hosts_ = nullptr;
    static inline QString problem_;
};

TEST_F(EndToEnd, LaunchThenChampionSelectThenLoadingScreen)
{
    ASSERT_TRUE(eventually([] { return QSystemTrayIcon::isSystemTrayAvailable(); }));
    const qsizetype dataDragonBefore = match().dataDragonPaths().size();
    AppDelegate& app = launch(true);
    ASSERT_NE(app.statusItem(), nullptr);
    EXPECT_TRUE(app.statusItem()->isVisible());
    QMainWindow* window = app.mainWindowController().window();
    ASSERT_TRUE(eventually([&] { return window->isVisible() && window->windowHandle()->isExposed(); }));
    EXPECT_EQ(app.mainWindowController().chrome().selection(), MainTab::live);

    // The hovered champion and its lane, the peer's runes and the champions it counters badly.
    match().setPhase(Phase::champSelect);
    EXPECT_TRUE(eventually([&] {
        return showsAll(window, {u"Aphelios"_s, u"ADC"_s, u"Lethal Tempo"_s, u"Draven"_s});
    })) << shown(window).toStdString();
    EXPECT_TRUE(eventually([&] { return showsIcon(window); })) << "portraits, runes and spells";

    // The lobby's solo-queue ranks as the peer gives them; the players it does not know have none.
    match().setPhase(Phase::loadingScreen);
    EXPECT_TRUE(eventually([&] {
        return showsAll(window, {u"Hypoxisa"_s, u"DIAM 3 · 61 LP"_s, u"7777gh"_s, u"Unranked"_s, u"Boss"_s});
    })) << shown(window).toStdString();

    // Every catalog the models use was fetched once for the whole application.
    std::map<QByteArray, int> fetched;
    for (const QByteArray& path : match().dataDragonPaths().mid(dataDragonBefore))
        if (path.startsWith("/cdn/") && path.endsWith(".json"))
            ++fetched[path];
    EXPECT_GE(fetched.size(), 4u) << "champions, items, runes and spells";
    for (const auto& [path, times] : fetched)
        EXPECT_EQ(times, 1) << path.toStdString();
}

TEST_F(EndToEnd, GamePanelsAppearWhereStoredFollowTabTakeClicksAndEndWithTheGame)
{
    AppDelegate& app = launch(false);
    const OverlayPanels& windows = app.panelWindows();
    // Where the player left each panel in an earlier game, as fractions of the game window.
    const std::map<PanelID, QPointF> stored {{PanelID::goldTracker, {0.5, 0.82}}, {PanelID::popularBuild, {0.86, 0.3}},
        {PanelID::matchup, {0.86, 0.72}}, {PanelID::farmBenchmark, {0.66, 0.92}}, {PanelID::combos, {0.16, 0.2}},
        {PanelID::cooldowns, {0.07, 0.55}}};
    for (const auto& [id, fraction] : stored)
        app.positionStore().setFraction(id, fraction, RepositionMode::summonersRift);
    FirstShown firstShown(panels());

    match().setPhase(Phase::inProgress);
    // The enemy cooldowns need no key; the rest wait for Tab.
    ASSERT_TRUE(eventually([&] { return windows.cooldown->isVisible() && app.cooldownVM().rows().size() == 5; }));
    ASSERT_TRUE(eventually([&] { return app.runeVM().advice() && app.counterVM().matchup(); }));
    const std::vector<PanelWindow*> all = panels();
    EXPECT_EQ(std::count_if(all.begin(), all.end(), [](PanelWindow* w) { return w->isVisible(); }), 1);

    ASSERT_TRUE(test::xdotool({u"keydown"_s, u"Tab"_s}));
    EXPECT_TRUE(eventually([&] { return allPanels(true); }));
    // Zyra's and Lux's items at the catalog's prices; the peer's build, matchup and combos.
    const std::vector<std::pair<QWidget*, QStringList>> content {
        {windows.gold,
            {u"Zyra"_s, GoldSpentOverlayView::laneGold(5700), u"Lux"_s, GoldSpentOverlayView::laneGold(8425),
                u"BEHIND"_s}},
        {windows.farm, {u"30 CS"_s, u"no lane benchmark for this role"_s}},
        {windows.rune, {u"POPULAR BUILD"_s, u"Liandry's Anguish"_s, u"Sorcery"_s}},
        {windows.counter, {u"VS LUX"_s, u"FAVORED"_s, u"Sorcery · Arcane Comet"_s, u"Flash + Exhaust"_s}},
        {windows.combo, {u"E-Q root and spines"_s, u"E-R knock-up"_s}}};
    for (const auto& [window, texts] : content)
        EXPECT_TRUE(eventually([&] { return showsAll(window, texts); })) << shown(window).toStdString();
    for (PanelWindow* window : std::initializer_list<PanelWindow*> {windows.rune, windows.counter, windows.cooldown})
        EXPECT_TRUE(eventually([&] { return showsIcon(window); })) << rawValue(*windows.panelID(window)).toStdString();
    const QRectF game(0, 0, 1920, 1080); // the stand-in game window fills the screen
    for (PanelWindow* window : all) {
        const QPointF fraction = stored.at(*windows.panelID(window));
        const QPointF centre = QRectF(firstShown.frames[window]).center();
        EXPECT_NEAR(centre.x(), game.width() * fraction.x(), 1.5) << window->metaObject()->className();
        EXPECT_NEAR(centre.y(), game.height() * fraction.y(), 1.5) << window->metaObject()->className();
    }
    ASSERT_TRUE(test::xdotool({u"keyup"_s, u"Tab"_s}));
    EXPECT_TRUE(eventually([&] { return !windows.gold->isVisible() && !windows.combo->isVisible(); }));
    EXPECT_TRUE(windows.cooldown->isVisible());

    // A click on the first enemy's first spell (Renekton's Flash) starts its countdown.
    auto* view = static_cast<CooldownOverlayView*>(windows.cooldown->container()->content());
    const CooldownOverlayView::Layout::Cell cell = view->layout().rows.at(0).cells.at(0);
    const QPoint click
        = windows.cooldown->container()->mapToGlobal((cell.rect.center() * app.overlayScale().scale()).toPoint());
    ASSERT_TRUE(test::xdotool(
        {u"mousemove"_s, u"--sync"_s, QString::number(click.x()), QString::number(click.y()), u"click"_s, u"1"_s}));
    EXPECT_TRUE(eventually([&] {
        const QStringList texts = test::paintedText(*windows.cooldown);
        return std::any_of(
            texts.begin(), texts.end(), [](const QString& t) { return t.toInt() > 250 && t.toInt() <= 300; });
    })) << shown(windows.cooldown).toStdString();

    match().setPhase(Phase::endOfGame);
    EXPECT_TRUE(eventually([&] { return allPanels(false) && !app.goldVM().summary(); }));
}

class MidGameFault : public EndToEnd, public ::testing::WithParamInterface<Fault> { };

TEST_P(MidGameFault, LeavesThePanelsAbsentAndTheAppResponsiveUntilTheGameAnswersAgain)
{
    // Another game, always shown: Brand against Lux, for which the peer has no matchup guide and
    // no combos.
    OverlaySettingsStore(defaults_).setTriggers(VisibilityTriggers::always());
    AppDelegate& app = launch(false);
    const PanelWindow* noCombos = app.panelWindows().combo;
    match().setCapture(u"sr_2022_local_player.json"_s);
    match().setPhase(Phase::inProgress);
    ASSERT_TRUE(eventually([&] { return allPanels(true, noCombos); }));
    EXPECT_TRUE(eventually([&] { return showsAll(app.panelWindows().counter, {u"by priority · not build order"_s}); }))
        << shown(app.panelWindows().counter).toStdString();

    test::LogCapture log;
    match().setLiveFault(GetParam());
    EXPECT_TRUE(eventually([&] {
        return allPanels(false) && !app.goldVM().summary() && !app.cooldownVM().inGame() && !app.runeVM().inGame();
    }));
    // The application keeps answering the player meanwhile.
    app.openMain();
    QMainWindow* window = app.mainWindowController().window();
    EXPECT_TRUE(eventually([&] { return window->windowHandle()->isExposed() && showsAll(window, {u"Live"_s}); }));
    if (GetParam() == Fault::garbage) {
        EXPECT_TRUE(log.contains(u"Live Client snapshot failed (likely API schema change)"_s));
    }

    match().setLiveFault(Fault::none);
    EXPECT_TRUE(eventually([&] { return allPanels(true, noCombos); }));
}

INSTANTIATE_TEST_SUITE_P(Faults, MidGameFault, ::testing::Values(Fault::stall, Fault::drop, Fault::garbage),
    [](const ::testing::TestParamInfo<Fault>& info) {
        return info.param == Fault::stall ? "stall" : info.param == Fault::drop ? "drop" : "garbage";
    });

TEST_F(EndToEnd, QuitFromTheStatusMenuEndsTheProcessAndKeepsTheSettings)
{
    ASSERT_TRUE(eventually([] { return QSystemTrayIcon::isSystemTrayAvailable(); }));
    QTemporaryDir home;
    const QString ini = StandInMatch::settingsPath(home.path());
    const auto store = [&] { return std::make_shared<QSettingsUserDefaults>(ini); };
    {
        // What the player saved in earlier sessions.
        const auto defaults = store();
        PanelPositionStore positions(defaults);
        positions.clearIfNewFormat();
        positions.setFraction(PanelID::combos, QPointF(0.25, 0.4), RepositionMode::aram);
        OverlaySettingsStore settings(defaults);
        settings.setShowFarm(false);
        settings.setShopKeyCode(31);
    }
    QProcess app;
    QByteArray output;
    QByteArray errors;
    QObject::connect(&app, &QProcess::readyReadStandardOutput, [&] { output += app.readAllStandardOutput(); });
    QObject::connect(&app, &QProcess::readyReadStandardError, [&] { errors += app.readAllStandardError(); });
    match().launchApp(app, QStringLiteral(TOLVANE_STAND_IN_APP), home.path());
    ASSERT_TRUE(eventually([&] { return output.contains(test::mainWindowShownLine); }));

    // The status item's menu, opened from the tray (trayer's panel holds only this icon); its last
    // entry is "Quit Tolvane".
    const QStringList visible {u"--onlyvisible"_s, u"--pid"_s, QString::number(app.processId())};
    const qsizetype before = xdotoolSearch(visible).count('\n');
    ASSERT_TRUE(test::xdotool({u"search"_s, u"--classname"_s, u"^panel$"_s, u"mousemove"_s, u"--window"_s, u"%1"_s,
        u"12"_s, u"12"_s, u"click"_s, u"3"_s}));
    ASSERT_TRUE(eventually([&] { return xdotoolSearch(visible).count('\n') > before; }));
    ASSERT_TRUE(test::xdotool({u"key"_s, u"Up"_s, u"Return"_s}));
    ASSERT_TRUE(eventually([&] { return app.state() == QProcess::NotRunning; }));
    EXPECT_EQ(app.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(app.exitCode(), 0);
    errors += app.readAllStandardError();
    EXPECT_FALSE(errors.contains(test::offLoopbackLine)) << errors.toStdString();

    const auto defaults = store();
    const OverlaySettingsStore settings(defaults);
    EXPECT_FALSE(settings.showFarm());
    EXPECT_EQ(settings.shopKeyCode(), 31);
    // Settled and stored by this launch: nothing was stored, and no game is installed here.
    EXPECT_EQ(settings.cooldownFormat(), CDTimeFormat::seconds);
    EXPECT_EQ(PanelPositionStore(defaults).fraction(PanelID::combos, RepositionMode::aram), QPointF(0.25, 0.4));
}

// The processes still running in the process namespace named by id ("pid:[<inode>]").
int processesIn(const std::filesystem::path& id)
{
    int count = 0;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator("/proc", error))
        if (std::filesystem::read_symlink(entry.path() / "ns/pid", error) == id)
            ++count;
    return count;
}

// The shipped program takes the first game client it finds in the process list, and here another
// one, whose interface refuses every connection, was there before this match's. Run alone with
// this match's client (and with no name server to ask), it must still reach it and refuse its
// certificate.
TEST_F(EndToEnd, TheShippedApplicationRefusesTheStandInCertificate)
{
    const bool alone = StandInMatch::canLaunchAlone();
    QProcess other;
    const auto endOther = qScopeGuard([&] {
        other.kill();
        other.waitForFinished();
    });
    const QUrl refusing = test::refusingUrl();
    if (alone) {
        other.start(u"/bin/bash"_s,
            {u"-c"_s, u"read -r _"_s, u"LeagueClientUx"_s, u"--app-port=%1"_s.arg(refusing.port()),
                u"--remoting-auth-token=other"_s});
        ASSERT_TRUE(other.waitForStarted());
    } else {
        std::printf("no private process namespace can be made here: the shipped program sees every process of "
                    "the machine and asks its name server\n");
    }
    match().setPhase(Phase::champSelect);
    if (!alone) {
        const QString line = match().otherClientLine();
        ASSERT_TRUE(line.isEmpty()) << "the shipped program would ask another game client first: " << line.toStdString();
    }
    const qsizetype answered = match().clientRequests();
    QTemporaryDir home;
    QProcess app;
    QByteArray log;
    QObject::connect(&app, &QProcess::readyReadStandardError, [&] { log += app.readAllStandardError(); });
    if (alone)
        match().launchAlone(app, QStringLiteral(TOLVANE_SHIPPED_APP), home.path());
    else
        match().launchApp(app, QStringLiteral(TOLVANE_SHIPPED_APP), home.path());
    const QByteArray rejected = "Riot TLS pin REJECTED the cert presented on 127.0.0.1";
    const QByteArray askedOther = refusing.authority().toUtf8() + '/';
    EXPECT_TRUE(eventually([&] {
        return log.contains(rejected) || log.contains(askedOther) || app.state() == QProcess::NotRunning;
    }));
    EXPECT_TRUE(log.contains(rejected)) << log.toStdString();
    EXPECT_EQ(match().clientRequests(), answered);

    // Every process of the namespace ends with the one that made it.
    std::error_code error;
    const std::filesystem::path space = alone
        ? std::filesystem::read_symlink(u"/proc/%1/ns/pid_for_children"_s.arg(app.processId()).toStdString(), error)
        : std::filesystem::path();
    app.kill();
    app.waitForFinished();
    if (!space.empty()) {
        EXPECT_TRUE(eventually([&] { return processesIn(space) == 0; })) << "left in " << space;
    }
}

} // namespace
} // namespace tolvane
