#include "DesktopSupport.h"

#include "Await.h"

#include "core/overlay/UserDefaults.h"
#include "platform/X11Platform.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QWindow>

#include <algorithm>

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

namespace tolvane::test {

using namespace std::chrono_literals;

namespace {

bool trayOwnsSelection()
{
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr)
        return false;
    const QByteArray name = "_NET_SYSTEM_TRAY_S" + QByteArray::number(DefaultScreen(display));
    const Atom selection = XInternAtom(display, name.constData(), False);
    const bool owned = XGetSelectionOwner(display, selection) != 0;
    XCloseDisplay(display);
    return owned;
}

} // namespace

Trayer::Trayer()
{
    process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process_.start(QStringLiteral("trayer"),
        {QStringLiteral("--edge"), QStringLiteral("top"), QStringLiteral("--align"), QStringLiteral("right"),
            QStringLiteral("--widthtype"), QStringLiteral("pixel"), QStringLiteral("--width"), QString::number(width),
            QStringLiteral("--heighttype"), QStringLiteral("pixel"), QStringLiteral("--height"),
            QString::number(height)});
}

Trayer::~Trayer()
{
    if (process_.state() != QProcess::NotRunning) {
        process_.kill();
        process_.waitForFinished(10000);
    }
    // Gone once its selection is free again, so the next test starts without a tray.
    spinUntil([] { return !trayOwnsSelection(); }, 10s);
}

bool Trayer::anyRunning()
{
    return trayOwnsSelection();
}

bool Trayer::waitUntilRunning()
{
    return process_.waitForStarted(20000) && spinUntil(trayOwnsSelection, 20s);
}

FakeKeyboard::FakeKeyboard()
    : display_(XOpenDisplay(nullptr))
{
}

FakeKeyboard::~FakeKeyboard()
{
    if (display_ != nullptr)
        XCloseDisplay(display_);
}

unsigned FakeKeyboard::keycode(unsigned long keysym) const
{
    return XKeysymToKeycode(display_, keysym);
}

void FakeKeyboard::press(unsigned keycode, bool down) const
{
    XTestFakeKeyEvent(display_, keycode, down ? True : False, CurrentTime);
    XFlush(display_);
}

void FakeKeyboard::tap(unsigned keycode) const
{
    press(keycode, true);
    press(keycode, false);
}

bool pointerOverOwnWindow()
{
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr)
        return false;
    Window window = DefaultRootWindow(display);
    for (;;) {
        Window root = 0;
        Window child = 0;
        int x = 0;
        int y = 0;
        int windowX = 0;
        int windowY = 0;
        unsigned mask = 0;
        if (!XQueryPointer(display, window, &root, &child, &x, &y, &windowX, &windowY, &mask) || child == 0)
            break;
        window = child;
    }
    XCloseDisplay(display);
    const QWindowList own = QGuiApplication::allWindows();
    return std::any_of(own.begin(), own.end(), [window](const QWindow* w) { return w->handle() && w->winId() == window; });
}

bool setKeyboardLayouts(const QString& layouts)
{
    QProcess process;
    process.start(QStringLiteral("setxkbmap"), {QStringLiteral("-layout"), layouts});
    return process.waitForFinished(20000) && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

TestHome::TestHome()
{
    for (const char* folder : {"config", "runtime", "cache", "data"})
        QDir(dir_.path()).mkpath(QString::fromLatin1(folder));
    QFile::setPermissions(runtimeFolder(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    // The heartbeat stays silent.
    store(QStringLiteral("usagePing.dev"), true);
}

QProcessEnvironment TestHome::environment() const
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("HOME"), dir_.path());
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), dir_.filePath(QStringLiteral("config")));
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtimeFolder());
    environment.insert(QStringLiteral("XDG_CACHE_HOME"), dir_.filePath(QStringLiteral("cache")));
    environment.insert(QStringLiteral("XDG_DATA_HOME"), dir_.filePath(QStringLiteral("data")));
    return environment;
}

QString TestHome::runtimeFolder() const
{
    return dir_.filePath(QStringLiteral("runtime"));
}

QString TestHome::settingsFile() const
{
    return dir_.filePath(QStringLiteral("config/Tolvane/Tolvane.conf"));
}

void TestHome::store(const QString& key, const QVariant& value) const
{
    QSettingsUserDefaults(settingsFile()).set(key, value);
}

bool canIsolateNetwork()
{
    static const bool can = [] {
        QProcess probe;
        probe.start(QStringLiteral("unshare"), {QStringLiteral("-rn"), QStringLiteral("true")});
        return probe.waitForFinished(10000) && probe.exitStatus() == QProcess::NormalExit && probe.exitCode() == 0;
    }();
    return can;
}

std::unique_ptr<QProcess> startApp(const TestHome& home)
{
    auto process = std::make_unique<QProcess>();
    process->setProcessEnvironment(home.environment());
    // Its log (the outside services it cannot reach) says nothing the tests look at.
    process->setStandardOutputFile(QProcess::nullDevice());
    process->setStandardErrorFile(QProcess::nullDevice());
    // unshare runs the program in its own place, so the process id is the app's.
    process->start(QStringLiteral("unshare"), {QStringLiteral("-rn"), QStringLiteral(TOLVANE_EXECUTABLE)});
    process->waitForStarted(20000);
    return process;
}

bool showsWindow(qint64 processId, const QString& title)
{
    static const std::unique_ptr<X11WindowList> list = makeX11WindowList();
    const auto windows = list->onScreenWindows();
    if (!windows)
        return false;
    return std::any_of(windows->begin(), windows->end(),
        [&](const WindowInfo& window) { return window.processId == processId && window.title == title; });
}

bool waitForExit(QProcess& process, std::chrono::milliseconds limit)
{
    return process.state() == QProcess::NotRunning || process.waitForFinished(int(limit.count()));
}

} // namespace tolvane::test
