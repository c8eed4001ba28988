// The whole application as a player runs it, over the stand-in match of the end-to-end tests:
// start-up to the main window; then, with the main window closed, a spell in the tray with no
// game and a spell in a game with all six panels shown, as a player who pins them sees it. For
// each spell: CPU as a share of one core (utime + stime of every thread), VmRSS and VmHWM, the
// wake-ups (voluntary context switches of every thread) and the requests the stand-ins saw. A
// minimal Qt Widgets window runs alongside as the toolkit's floor. Each spell lasts
// TOLVANE_BENCH_SECONDS (or --seconds=N), 60 s unless told. TOLVANE_BENCH_HOLD=N keeps the game
// going N s more once it is measured, and says the application's pid, for a profiler to attach to
// a match in progress.
//
// It runs itself again under scripts/with-x11 --tray, on a display of its own.

#include "StandInMatch.h"

#include "app/panels/ComboViewModel.h"
#include "app/panels/CooldownPanelViewModel.h"
#include "app/panels/CounterBuildViewModel.h"
#include "app/panels/FarmViewModel.h"
#include "app/panels/GoldSpentViewModel.h"
#include "app/panels/RuneBuildViewModel.h"
#include "core/overlay/OverlaySettingsStore.h"
#include "core/overlay/UserDefaults.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <map>
#include <optional>
#include <thread>
#include <vector>

#include <unistd.h>

#include <X11/Xatom.h>
#include <X11/Xlib.h>

using namespace std::chrono_literals;
using tolvane::test::StandInMatch;

namespace {

struct Goals {
    static constexpr double matchCpu = 0.6; // % of one core, six panels shown
    static constexpr double idleCpu = 0.2;
    static constexpr double matchResidentMB = 45;
    static constexpr double startUpMs = 100;
    static constexpr int panels = 6;
    // Each panel asks for its own snapshot at its own interval, and nothing else asks.
    static constexpr double liveRequestsPerSecond = 1000.0 / tolvane::GoldSpentViewModel::pollIntervalMs
        + 1000.0 / tolvane::CounterBuildViewModel::pollIntervalMs + 1000.0 / tolvane::RuneBuildViewModel::pollIntervalMs
        + 1000.0 / tolvane::ComboViewModel::pollIntervalMs + 1000.0 / tolvane::CooldownPanelViewModel::pollIntervalMs
        + 1000.0 / tolvane::FarmViewModel::pollIntervalMs;
};

struct Usage {
    double cpuSeconds = 0;
    double rssMB = 0;
    double hwmMB = 0;
};

Usage usage(qint64 pid)
{
    Usage u;
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (stat.open(QIODevice::ReadOnly)) {
        // Fields after the command's closing parenthesis; utime and stime are the 14th and 15th.
        const QByteArray line = stat.readAll();
        const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
        u.cpuSeconds = static_cast<double>(fields.value(11).toLongLong() + fields.value(12).toLongLong())
            / static_cast<double>(sysconf(_SC_CLK_TCK));
    }
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (status.open(QIODevice::ReadOnly)) {
        for (const QByteArray& line : status.readAll().split('\n')) {
            const double kB = line.mid(line.indexOf(':') + 1).trimmed().split(' ').value(0).toDouble();
            if (line.startsWith("VmRSS:"))
                u.rssMB = kB / 1024;
            else if (line.startsWith("VmHWM:"))
                u.hwmMB = kB / 1024;
        }
    }
    return u;
}

// How often a process slept and was woken: the voluntary context switches of all its threads.
// A thread may end within a spell, taking its count with it, so each is read as the spell goes
// and kept at the last count read.
class Wakeups {
public:
    explicit Wakeups(qint64 pid)
        : pid_(pid)
    {
        sample();
        first_ = last_;
    }
    void sample()
    {
        const QDir tasks(QStringLiteral("/proc/%1/task").arg(pid_));
        for (const QString& tid : tasks.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
            QFile status(tasks.filePath(tid + QStringLiteral("/status")));
            if (!status.open(QIODevice::ReadOnly))
                continue;
            for (const QByteArray& line : status.readAll().split('\n'))
                if (line.startsWith("voluntary_ctxt_switches:"))
                    last_[tid] = line.mid(line.indexOf(':') + 1).trimmed().toLongLong();
        }
    }
    qint64 count() const
    {
        qint64 total = 0;
        for (const auto& [tid, last] : last_) {
            const auto first = first_.find(tid);
            total += last - (first == first_.end() ? 0 : first->second);
        }
        return total;
    }

private:
    qint64 pid_;
    std::map<QString, qint64> first_;
    std::map<QString, qint64> last_;
};

// A program of the benchmark, started and waited for until its main window is on screen.
class Program {
public:
    ~Program() { stop(); }

    // Milliseconds from the start to the main window's first exposure; none when it never came.
    std::optional<double> start(const std::function<void(QProcess&)>& launch)
    {
        QElapsedTimer clock;
        clock.start();
        launch(process_);
        QEventLoop wait;
        QObject::connect(&process_, &QProcess::finished, &wait, &QEventLoop::quit);
        QTimer::singleShot(60s, &wait, &QEventLoop::quit);
        const QMetaObject::Connection shown = QObject::connect(&process_, &QProcess::readyReadStandardOutput, [&] {
            if (output_.contains("main window shown"))
                wait.quit();
        });
        if (!output_.contains("main window shown"))
            wait.exec();
        QObject::disconnect(shown);
        if (!output_.contains("main window shown") || process_.state() == QProcess::NotRunning)
            return std::nullopt;
        return static_cast<double>(clock.nsecsElapsed()) / 1e6;
    }
    void stop()
    {
        if (process_.state() == QProcess::NotRunning)
            return;
        process_.kill();
        process_.waitForFinished();
        output_.clear();
    }
    qint64 pid() const { return process_.processId(); }

    Program()
    {
        process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        QObject::connect(&process_, &QProcess::readyReadStandardOutput, [this] { output_ += process_.readAll(); });
    }

private:
    QProcess process_;
    QByteArray output_;
};

// Closes the program's main window as the window manager's close button does.
bool closeMainWindow(qint64 pid)
{
    Display* display = XOpenDisplay(nullptr);
    if (!display)
        return false;
    const Window root = DefaultRootWindow(display);
    Atom type;
    int format;
    unsigned long count;
    unsigned long after;
    unsigned char* data = nullptr;
    bool closed = false;
    if (XGetWindowProperty(display, root, XInternAtom(display, "_NET_CLIENT_LIST", False), 0, 1024, False, XA_WINDOW,
            &type, &format, &count, &after, &data)
            == Success
        && data) {
        const auto* windows = reinterpret_cast<const Window*>(data);
        for (unsigned long i = 0; i < count && !closed; ++i) {
            unsigned char* pidData = nullptr;
            unsigned long pidCount = 0;
            if (XGetWindowProperty(display, windows[i], XInternAtom(display, "_NET_WM_PID", False), 0, 1, False,
                    XA_CARDINAL, &type, &format, &pidCount, &after, &pidData)
                    != Success
                || !pidData)
                continue;
            const bool ours = pidCount == 1 && static_cast<qint64>(*reinterpret_cast<const long*>(pidData)) == pid;
            XFree(pidData);
            if (!ours)
                continue;
            XEvent event {};
            event.xclient.type = ClientMessage;
            event.xclient.window = windows[i];
            event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
            event.xclient.format = 32;
            event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
            event.xclient.data.l[1] = CurrentTime;
            closed = XSendEvent(display, windows[i], False, NoEventMask, &event) != 0;
        }
        XFree(data);
    }
    XCloseDisplay(display);
    return closed;
}

// The process's overlay panels on screen: its override-redirect top-level windows that are viewable.
int panelsOnScreen(qint64 pid)
{
    Display* display = XOpenDisplay(nullptr);
    if (!display)
        return 0;
    Window root = 0;
    Window parent = 0;
    Window* children = nullptr;
    unsigned count = 0;
    int panels = 0;
    const Atom pidAtom = XInternAtom(display, "_NET_WM_PID", False);
    if (XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count) && children) {
        for (unsigned i = 0; i < count; ++i) {
            XWindowAttributes attributes;
            if (!XGetWindowAttributes(display, children[i], &attributes) || !attributes.override_redirect
                || attributes.map_state != IsViewable)
                continue;
            Atom type;
            int format;
            unsigned long items;
            unsigned long after;
            unsigned char* data = nullptr;
            if (XGetWindowProperty(
                    display, children[i], pidAtom, 0, 1, False, XA_CARDINAL, &type, &format, &items, &after, &data)
                    == Success
                && data) {
                panels += items == 1 && static_cast<qint64>(*reinterpret_cast<const long*>(data)) == pid ? 1 : 0;
                XFree(data);
            }
        }
        XFree(children);
    }
    XCloseDisplay(display);
    return panels;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

// One line of the report: the figure, the floor's and the ratio to it, the goal and the ratio to it.
// Runs the event loop for a while without spinning.
void pause(std::chrono::milliseconds duration)
{
    QEventLoop loop;
    QTimer::singleShot(duration, &loop, &QEventLoop::quit);
    loop.exec();
}

void row(const char* figure, double app, std::optional<double> floor = std::nullopt,
    std::optional<double> goal = std::nullopt)
{
    std::printf("%-40s %9.2f", figure, app);
    if (floor)
        std::printf(" %9.2f", *floor);
    else
        std::printf(" %9s", "");
    if (floor && *floor > 0.005)
        std::printf(" %9.2fx", app / *floor);
    else
        std::printf(" %10s", "");
    if (goal)
        std::printf(" %8.2f %8.2fx", *goal, app / *goal);
    std::printf("\n");
}

int seconds(int argc, char* argv[])
{
    for (int i = 1; i < argc; ++i)
        if (QByteArray(argv[i]).startsWith("--seconds="))
            return QByteArray(argv[i]).mid(10).toInt();
    const int fromEnvironment = qEnvironmentVariableIntValue("TOLVANE_BENCH_SECONDS");
    return fromEnvironment > 0 ? fromEnvironment : 60;
}

} // namespace

int main(int argc, char* argv[])
{
    // A private display with a window manager and a tray, whatever display the caller has.
    if (qEnvironmentVariableIsEmpty("TOLVANE_BENCH_PRIVATE_DISPLAY")) {
        qputenv("TOLVANE_BENCH_PRIVATE_DISPLAY", "1");
        std::vector<char*> again {
            const_cast<char*>(TOLVANE_SOURCE_DIR "/scripts/with-x11"), const_cast<char*>("--tray")};
        again.insert(again.end(), argv, argv + argc);
        again.push_back(nullptr);
        execv(again[0], again.data());
        std::perror("with-x11");
        return 1;
    }
    // The application's informational log would drown the report; its warnings still show.
    qputenv("QT_LOGGING_RULES", "local.tolvane.*.info=false");
    QCoreApplication application(argc, argv);
    const int spell = std::max(1, seconds(argc, argv));
    const auto settle = std::chrono::seconds(std::min(spell, 5));

    StandInMatch match;
    if (const QString problem = match.start(); !problem.isEmpty()) {
        std::fprintf(stderr, "the stand-in match did not start: %s\n", qPrintable(problem));
        return 1;
    }
    QTemporaryDir home;
    // A player who pins the panels: all six show for the whole game, whatever keys are held.
    tolvane::OverlaySettingsStore(
        std::make_shared<tolvane::QSettingsUserDefaults>(StandInMatch::settingsPath(home.path())))
        .setTriggers(tolvane::VisibilityTriggers::always());
    const auto launchApp = [&](QProcess& p) { match.launchApp(p, QStringLiteral(TOLVANE_STAND_IN_APP), home.path()); };
    const auto launchFloor = [](QProcess& p) { p.start(QStringLiteral(TOLVANE_FLOOR_WINDOW), {}); };

    // Start-up: the median of five launches of each, the first one with cold caches; the last
    // launches stay up for the spells.
    Program app;
    Program floor;
    std::vector<double> appStarts;
    std::vector<double> floorStarts;
    for (int i = 0; i < 5; ++i) {
        if (i > 0) {
            app.stop();
            floor.stop();
        }
        const std::optional<double> appStart = app.start(launchApp);
        const std::optional<double> floorStart = floor.start(launchFloor);
        if (!appStart || !floorStart) {
            std::fprintf(
                stderr, "%s never showed its main window\n", appStart ? "the floor window" : "the application");
            return 1;
        }
        appStarts.push_back(*appStart);
        floorStarts.push_back(*floorStart);
    }

    // The player closes the main window and leaves the application in the tray.
    if (!closeMainWindow(app.pid()))
        std::fprintf(stderr, "the main window could not be closed; it stays open\n");
    pause(settle);
    if (closeMainWindow(app.pid())) // still managed, so still on screen
        std::fprintf(stderr, "the main window did not close\n");

    struct Spell {
        Usage app;
        Usage floor;
        double appCpu = 0; // % of one core
        double floorCpu = 0;
        double appWakeups = 0; // per second
        double floorWakeups = 0;
        double liveRequests = 0; // per second
        double statisticsCalls = 0;
        int panels = 0; // on screen at the end
    };
    const auto measure = [&] {
        const Usage app0 = usage(app.pid());
        const Usage floor0 = usage(floor.pid());
        const qsizetype live0 = match.liveRequests();
        const qsizetype calls0 = match.statisticsCalls();
        Wakeups appWakeups(app.pid());
        Wakeups floorWakeups(floor.pid());
        QTimer sampling;
        QObject::connect(&sampling, &QTimer::timeout, [&] {
            appWakeups.sample();
            floorWakeups.sample();
        });
        sampling.start(200ms);
        pause(std::chrono::seconds(spell));
        sampling.stop();
        appWakeups.sample();
        floorWakeups.sample();
        Spell s {usage(app.pid()), usage(floor.pid())};
        s.appWakeups = static_cast<double>(appWakeups.count()) / spell;
        s.floorWakeups = static_cast<double>(floorWakeups.count()) / spell;
        s.appCpu = (s.app.cpuSeconds - app0.cpuSeconds) * 100 / spell;
        s.floorCpu = (s.floor.cpuSeconds - floor0.cpuSeconds) * 100 / spell;
        s.liveRequests = static_cast<double>(match.liveRequests() - live0) / spell;
        s.statisticsCalls = static_cast<double>(match.statisticsCalls() - calls0) / spell;
        s.panels = panelsOnScreen(app.pid());
        return s;
    };
    const Spell idle = measure();
    match.setPhase(StandInMatch::Phase::inProgress);
    pause(settle);
    const Spell game = measure();
    if (const int hold = qEnvironmentVariableIntValue("TOLVANE_BENCH_HOLD"); hold > 0) {
        std::fprintf(stderr, "holding the game for %d s, pid %lld\n", hold, static_cast<long long>(app.pid()));
        pause(std::chrono::seconds(hold));
    }

    std::printf("Whole application over the stand-in match: %d s per spell, main window closed, %u cores\n", spell,
        std::thread::hardware_concurrency());
    std::printf("%-40s %9s %9s %10s %8s %9s\n", "figure", "app", "floor", "/ floor", "goal", "/ goal");
    row("start-up to the main window (ms)", median(appStarts), median(floorStarts), Goals::startUpMs);
    row("no game: CPU (% of one core)", idle.appCpu, idle.floorCpu, Goals::idleCpu);
    row("no game: VmRSS (MB)", idle.app.rssMB, idle.floor.rssMB);
    row("no game: VmHWM (MB)", idle.app.hwmMB, idle.floor.hwmMB);
    row("no game: wake-ups per second", idle.appWakeups, idle.floorWakeups);
    row("game: CPU (% of one core)", game.appCpu, game.floorCpu, Goals::matchCpu);
    row("game: VmRSS (MB)", game.app.rssMB, game.floor.rssMB, Goals::matchResidentMB);
    row("game: VmHWM (MB)", game.app.hwmMB, game.floor.hwmMB, Goals::matchResidentMB);
    row("game: wake-ups per second", game.appWakeups, game.floorWakeups);
    row("game: panels on screen", game.panels, std::nullopt, Goals::panels);
    row("game: Live Client requests per second", game.liveRequests, std::nullopt, Goals::liveRequestsPerSecond);
    row("game: statistics-service calls per second", game.statisticsCalls);
    if (game.panels != Goals::panels) {
        std::fprintf(stderr, "the game spell did not show the six panels; its figures are not those of a match\n");
        return 1;
    }
    return 0;
}
