#pragma once
// A top-level X window dressed as the game's window under Wine: its title, its class named after
// the Windows program, its process id. Made on a connection of its own, as another program's
// window would be, so that the tests see it only through the window system.

#include <QByteArray>
#include <QColor>
#include <QRect>
#include <QString>

struct _XDisplay;

namespace tolvane::test {

struct StandInOptions {
    QRect geometry {0, 0, 1920, 1080}; // in X's coordinates (top-left origin)
    QString title = QStringLiteral("League of Legends (TM) Client");
    QByteArray windowClass = "league of legends.exe"; // empty: the window has no class
    bool decorated = false; // borderless, as the game usually runs
    QColor colour {22, 58, 74};
};

class StandInGameWindow {
public:
    explicit StandInGameWindow(StandInOptions options = {});
    ~StandInGameWindow();
    StandInGameWindow(const StandInGameWindow&) = delete;
    StandInGameWindow& operator=(const StandInGameWindow&) = delete;

    // Maps the window and waits until it is viewable; false when that does not happen.
    bool show();
    // Destroys the window and waits until the window manager no longer lists it.
    void destroy();
    quint64 id() const { return window_; }
    // Button presses delivered to the window since the last call.
    int takeButtonPresses();

private:
    _XDisplay* display_ = nullptr;
    unsigned long window_ = 0;
    StandInOptions options_;
};

} // namespace tolvane::test
