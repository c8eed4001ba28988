#pragma once
// For the desktop tests: a system tray started and stopped by the test, and the tolvane program
// run as a user would start it, in a home folder of its own.

#include <QProcess>
#include <QTemporaryDir>
#include <QVariant>

#include <chrono>
#include <memory>

struct _XDisplay;

namespace tolvane::test {

// trayer at the top right of the screen. It is up once it owns the screen's tray selection.
class Trayer {
public:
    // The strip it takes, in pixels.
    static constexpr int width = 120;
    static constexpr int height = 24;

    Trayer();
    ~Trayer();
    Trayer(const Trayer&) = delete;
    Trayer& operator=(const Trayer&) = delete;

    bool waitUntilRunning();
    // Whether some tray already owns this display's tray selection.
    static bool anyRunning();

private:
    QProcess process_;
};

// Key presses made by the X server's test extension, as if typed on the keyboard.
class FakeKeyboard {
public:
    FakeKeyboard();
    ~FakeKeyboard();
    FakeKeyboard(const FakeKeyboard&) = delete;
    FakeKeyboard& operator=(const FakeKeyboard&) = delete;

    bool isOpen() const { return display_ != nullptr; }
    // The key that carries the keysym (X's own search); 0 when none does.
    unsigned keycode(unsigned long keysym) const;
    void press(unsigned keycode, bool down) const;
    void tap(unsigned keycode) const;

private:
    _XDisplay* display_ = nullptr;
};

// Whether the deepest window under the pointer is one of this program's own windows.
bool pointerOverOwnWindow();

// Sets the X keyboard layouts (setxkbmap), the first one in effect.
bool setKeyboardLayouts(const QString& layouts);

// A user's home with the XDG folders (settings, runtime) inside a temporary folder.
class TestHome {
public:
    TestHome();

    QProcessEnvironment environment() const;
    QString runtimeFolder() const;
    QString settingsFile() const;
    // Through the app's own store, so keys are written as the app reads them.
    void store(const QString& key, const QVariant& value) const;

private:
    QTemporaryDir dir_;
};

// Whether a program can be run with no network but its own loopback (a network namespace of
// its own), so the app reaches no outside service while a test runs it.
bool canIsolateNetwork();

// The tolvane program with that home and no network; started at once.
std::unique_ptr<QProcess> startApp(const TestHome& home);

// Whether the process shows an on-screen window with that title.
bool showsWindow(qint64 processId, const QString& title);

// Waits on the process; false when it runs on past the limit.
bool waitForExit(QProcess& process, std::chrono::milliseconds limit);

} // namespace tolvane::test
