#pragma once
// Owns the application's one main window and glues it to the rest of the app: sizes it by the
// window text scale, polls champion select only while it is open, remembers whether the user
// closed it, and does for the Settings tab what a view cannot: key capture, the input-permission
// check, the restart and the reset of the panel settings. While the window is hidden its views
// are gone, so nothing repaints or rebuilds for it; they are made again, on the tab it showed,
// when it opens. Main thread only.

#include "app/mainwindow/KeyCaptureTarget.h"
#include "app/mainwindow/MainWindowChrome.h"

#include <QMargins>
#include <QObject>
#include <QPointer>
#include <QRect>
#include <QSize>

#include <array>
#include <functional>
#include <memory>
#include <optional>

class QKeyEvent;
class QMainWindow;

namespace tolvane {

class ChampSelectViewModel;
class HudImageSource;
class KeyCodeNamer;
class MainWindowView;
class OverlaySettingsStore;
class RuneBuildViewModel;
class SettingsModel;

// The four window text scales, by the stored text-size index clamped to 0...3.
inline constexpr std::array<double, 4> windowTextScales {1.0, 1.18, 1.36, 1.55};
double windowTextScale(qint64 textSizeIndex);

class MainWindowController : public QObject {
    Q_OBJECT
public:
    // What the controller asks of the system. Each member left empty gets the real one.
    struct Services {
        // The input permission. X11 has none: it reads as granted and the request does nothing.
        std::function<bool()> inputMonitoringGranted;
        std::function<void()> requestInputMonitoring;
        // Starts a new instance of the program; false when it could not be started.
        std::function<bool()> startNewInstance;
        // Ends this instance (the application's quit).
        std::function<void()> terminate;
        // Names stored keys for the Settings tab and tells which key a press came from; none: the
        // X keyboard mapping's.
        std::shared_ptr<KeyCodeNamer> keyNamer;
        // Portraits and item icons of the Live tab; may stay null (placeholders).
        QPointer<HudImageSource> images;
    };

    // Builds the window and everything in it; does not show it. The store and both view models
    // are the application's and must outlive the controller. overlayEnabled says whether the
    // user has the overlay switched on; onReset resets the panel settings and positions.
    MainWindowController(OverlaySettingsStore& settings, ChampSelectViewModel& champVM, RuneBuildViewModel& runeVM,
        std::function<bool()> overlayEnabled, std::function<void()> onReset, Services services = {},
        QObject* parent = nullptr);
    ~MainWindowController() override;

    // Selects the tab when one is given (none keeps the user's last choice), refreshes the
    // window's state from the store, starts the champion-select polling and brings the window
    // forward, active.
    void show(std::optional<MainTab> tab = std::nullopt);

    // The application is about to quit. Qt closes every window on its way out; that close is not
    // the user closing the main window, so it leaves the dismissal flag as it is.
    void applicationWillTerminate() { terminating_ = true; }

    // Hiding the window (hide()) is not a close: polling and the dismissal flag stay as they are.
    QMainWindow* window() const;
    ChampSelectViewModel& champVM() const { return champVM_; }
    MainWindowChrome& chrome() const { return *chrome_; }
    SettingsModel& model() const { return *model_; }
    // The window's views, made again first if the window was hidden since.
    MainWindowView& view();
    bool hasView() const { return view_ != nullptr; }
    double lastScale() const { return lastScale_; }
    bool isCapturing() const { return keyMonitor_ != nullptr; }

private:
    class KeyMonitor;
    class Window;

    void windowWillClose();
    void buildView();
    // Once the window is hidden (closed, or hidden by the app): its views go.
    void windowHidden();
    void applyWindowScale(double s);
    // Styles a menu bar set on the window and grows the window by its height.
    void fitMenuBar();
    // Keeps the window's frame wholly inside the available area of its screen: no larger than
    // the area leaves once the frame is counted (the content scrolls instead), moved in where it
    // sticks out; centred in the area first when asked.
    void fitToScreen(bool centre = false);
    // The window manager's frame around the window, once known; until then the one it had last.
    QMargins frameMargins() const;
    QRect availableArea() const;
    // The largest window the available area holds once the frame is counted.
    QSize room() const;
    // A fit waits for the frame: the window manager adds it only after the window is shown.
    void windowFramed();
    void beginCapture(KeyCaptureTarget target);
    void endCapture();
    // True when the event is used up by the capture.
    bool captureKey(const QKeyEvent& event);
    void requestInputMonitoring();
    void restartApp();
    void bringForwardForChampSelect();

    OverlaySettingsStore& settings_;
    ChampSelectViewModel& champVM_;
    RuneBuildViewModel& runeVM_;
    std::function<bool()> overlayEnabled_;
    std::function<void()> onReset_;
    Services services_;
    MainWindowChrome* chrome_ = nullptr;
    SettingsModel* model_ = nullptr;
    Window* window_ = nullptr; // owned: deleted with the controller
    MainWindowView* view_ = nullptr; // owned by the window while it shows
    std::unique_ptr<KeyMonitor> keyMonitor_;
    std::optional<qint64> lastTextSizeIndex_;
    double lastScale_ = 1.0;
    // The minimum the text scale asks for; a small screen may allow less.
    QSize designedMinimum_;
    QMargins lastFrameMargins_;
    bool fitPending_ = false;
    bool terminating_ = false;
    QPointer<QWidget> styledMenuBar_;
    int menuBarHeight_ = 0;
};

} // namespace tolvane
