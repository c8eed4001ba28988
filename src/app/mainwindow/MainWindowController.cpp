#include "app/mainwindow/MainWindowController.h"

#include "app/champselect/ChampSelectViewModel.h"
#include "app/mainwindow/MainWindowView.h"
#include "app/mainwindow/SettingsModel.h"
#include "app/panels/HudImageCache.h"
#include "app/panels/RuneBuildViewModel.h"
#include "core/overlay/KeyCodes.h"
#include "core/overlay/OverlaySettingsStore.h"
#include "platform/X11KeyCodeNamer.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLayout>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QScreen>
#include <QTimer>

#include <algorithm>
#include <cmath>

namespace tolvane {

double windowTextScale(qint64 textSizeIndex)
{
    return windowTextScales[size_t(std::clamp<qint64>(textSizeIndex, 0, 3))];
}

// The window: closing it only hides it, and the controller hears of every close by the user, of
// each new layout (a menu bar may have been set) and of each move or resize (the window manager
// may have framed it).
class MainWindowController::Window : public QMainWindow {
public:
    Window(std::function<void()> willClose, std::function<void()> laidOut, std::function<void()> hidden,
        std::function<void()> moved)
        : willClose_(std::move(willClose))
        , laidOut_(std::move(laidOut))
        , hidden_(std::move(hidden))
        , moved_(std::move(moved))
    {
    }

protected:
    void closeEvent(QCloseEvent* event) override
    {
        event->accept();
        if (willClose_)
            willClose_();
    }
    bool event(QEvent* event) override
    {
        if ((event->type() == QEvent::LayoutRequest || event->type() == QEvent::Polish) && laidOut_)
            laidOut_();
        const bool handled = QMainWindow::event(event);
        if ((event->type() == QEvent::Move || event->type() == QEvent::Resize) && moved_)
            moved_();
        return handled;
    }
    void hideEvent(QHideEvent* event) override
    {
        QMainWindow::hideEvent(event);
        if (hidden_)
            hidden_();
    }

public:
    // Gives the window system's window back, and the full-size image behind it with it; the next
    // show makes them again.
    void releaseNativeWindow() { destroy(); }

private:
    std::function<void()> willClose_;
    std::function<void()> laidOut_;
    std::function<void()> hidden_;
    std::function<void()> moved_;
};

// Sees every key press sent to any window of the application while a capture runs.
class MainWindowController::KeyMonitor : public QObject {
public:
    explicit KeyMonitor(MainWindowController& owner)
        : owner_(&owner)
    {
        QCoreApplication::instance()->installEventFilter(this);
    }
    ~KeyMonitor() override
    {
        if (auto* app = QCoreApplication::instance())
            app->removeEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (!owner_ || !owner_->chrome_->captureTarget())
            return false;
        if (event->type() == QEvent::ShortcutOverride) {
            // Claimed, so no shortcut fires for the key and the press itself arrives.
            event->accept();
            return true;
        }
        if (event->type() != QEvent::KeyPress)
            return false;
        return owner_->captureKey(*static_cast<QKeyEvent*>(event));
    }

private:
    QPointer<MainWindowController> owner_;
};

MainWindowController::MainWindowController(OverlaySettingsStore& settings, ChampSelectViewModel& champVM,
    RuneBuildViewModel& runeVM, std::function<bool()> overlayEnabled, std::function<void()> onReset, Services services,
    QObject* parent)
    : QObject(parent)
    , settings_(settings)
    , champVM_(champVM)
    , runeVM_(runeVM)
    , overlayEnabled_(std::move(overlayEnabled))
    , onReset_(std::move(onReset))
    , services_(std::move(services))
{
    if (!services_.inputMonitoringGranted)
        services_.inputMonitoringGranted = [] { return true; };
    if (!services_.requestInputMonitoring)
        services_.requestInputMonitoring = [] {};
    if (!services_.startNewInstance)
        services_.startNewInstance = [] { return QProcess::startDetached(QCoreApplication::applicationFilePath()); };
    if (!services_.terminate)
        services_.terminate = [] { QCoreApplication::quit(); };
    if (!services_.keyNamer)
        services_.keyNamer = makeX11KeyCodeNamer();

    chrome_ = new MainWindowChrome(this);
    model_ = new SettingsModel(settings_, this);
    const double s = windowTextScale(settings_.windowTextSizeIndex());

    QPointer<MainWindowController> self(this);
    window_ = new Window(
        [self] {
            if (self)
                self->windowWillClose();
        },
        [self] {
            if (self)
                self->fitMenuBar();
        },
        [self] {
            // Once the event is over: the click that hid the window may come from its views, and
            // a minimised window stays visible.
            QTimer::singleShot(0, self, [self] {
                if (self)
                    self->windowHidden();
            });
        },
        [self] {
            if (self)
                self->windowFramed();
        });
    window_->setWindowTitle(QStringLiteral("Tolvane"));
    window_->setPalette(MainWindowView::chromePalette());
    // The app lives in the tray: closing its window never ends it.
    window_->setAttribute(Qt::WA_QuitOnClose, false);

    buildView();
    window_->resize(qRound(380 * s), qRound(620 * s));

    champVM_.setOnEnterChampSelect([self] {
        if (self)
            self->bringForwardForChampSelect();
    });

    lastScale_ = s;
    connect(model_, &SettingsModel::changed, this, [this] {
        const qint64 index = model_->textSizeIndex();
        if (lastTextSizeIndex_ == index)
            return;
        lastTextSizeIndex_ = index;
        applyWindowScale(windowTextScale(index));
    });
    lastTextSizeIndex_ = model_->textSizeIndex();
    applyWindowScale(windowTextScale(*lastTextSizeIndex_));
}

void MainWindowController::buildView()
{
    QPointer<MainWindowController> self(this);
    const auto weak = [self](void (MainWindowController::*action)()) {
        return [self, action] {
            if (self)
                (self.data()->*action)();
        };
    };
    MainWindowView::Callbacks callbacks {
        [self] {
            if (self)
                self->beginCapture(KeyCaptureTarget::shop);
        },
        [self] {
            if (self)
                self->beginCapture(KeyCaptureTarget::fallback);
        },
        weak(&MainWindowController::requestInputMonitoring),
        weak(&MainWindowController::restartApp),
        [self] {
            if (!self)
                return;
            if (self->onReset_)
                self->onReset_();
            self->model_->reloadFromStore();
        },
    };
    view_ = new MainWindowView(
        champVM_, runeVM_, *model_, *chrome_, std::move(callbacks), *services_.keyNamer, services_.images.data());
    window_->setCentralWidget(view_);
}

MainWindowView& MainWindowController::view()
{
    if (!view_)
        buildView();
    return *view_;
}

void MainWindowController::windowHidden()
{
    if (window_->isVisible() || !view_)
        return;
    // The models it follows go on changing during a match: without views nothing is rebuilt or
    // measured for a window nobody sees. The tab stays chosen in the chrome.
    QWidget* views = window_->takeCentralWidget();
    views->deleteLater();
    view_ = nullptr;
    window_->releaseNativeWindow();
}

MainWindowController::~MainWindowController()
{
    keyMonitor_.reset();
    champVM_.setOnEnterChampSelect({});
    delete window_;
}

QMainWindow* MainWindowController::window() const
{
    return window_;
}

void MainWindowController::show(std::optional<MainTab> tab)
{
    if (tab)
        chrome_->setSelection(*tab);
    chrome_->setInputMonitoringGranted(services_.inputMonitoringGranted());
    chrome_->setOverlayEnabled(overlayEnabled_ ? overlayEnabled_() : true);
    model_->reloadFromStore();
    settings_.setMainWindowDismissed(false);
    champVM_.start();
    if (!view_)
        buildView();
    if (!window_->isVisible()) {
        // The menu bar counts before the window is placed; polishing sets it up.
        window_->ensurePolished();
        fitMenuBar();
        fitToScreen(true);
        fitPending_ = true;
    }
    if (window_->isMinimized())
        window_->showNormal();
    window_->show();
    window_->raise();
    window_->activateWindow();
}

void MainWindowController::windowWillClose()
{
    endCapture();
    champVM_.stop();
    if (!terminating_)
        settings_.setMainWindowDismissed(true);
}

void MainWindowController::applyWindowScale(double s)
{
    // The minimum counts the menu bar, as the frame's minimum counts the title bar.
    designedMinimum_ = QSize(qRound(340 * s), qRound(520 * s));
    // Taken before the minimum changes: a larger minimum grows the window at once.
    const QSize size = window_->size();
    const bool shown = window_->isVisible();
    const QSize minimum = shown ? designedMinimum_.boundedTo(room()) : designedMinimum_;
    window_->setMinimumSize(minimum);
    const double ratio = s / lastScale_;
    lastScale_ = s;
    if (std::abs(ratio - 1) > 0.001) {
        // The content scales; the menu bar above it keeps its height. Qt's origin is the top-left
        // corner, so keeping x and y keeps the top edge in place.
        window_->resize(std::max(minimum.width(), int(std::lround(size.width() * ratio))),
            std::max(minimum.height(), int(std::lround((size.height() - menuBarHeight_) * ratio)) + menuBarHeight_));
    }
    // A window that shows stays on its screen, however large the text: its content scrolls.
    if (shown)
        fitToScreen();
}

void MainWindowController::fitMenuBar()
{
    QWidget* bar = window_->menuWidget();
    if (bar && bar != styledMenuBar_) {
        // Menus are windows of their own and do not inherit the window's palette.
        bar->setPalette(MainWindowView::chromePalette());
        for (QMenu* menu : bar->findChildren<QMenu*>())
            menu->setPalette(MainWindowView::chromePalette());
        styledMenuBar_ = bar;
    }
    const auto* menuBar = qobject_cast<QMenuBar*>(bar);
    const int height = bar && !(menuBar && menuBar->isNativeMenuBar()) ? bar->sizeHint().height() : 0;
    if (height == menuBarHeight_)
        return;
    // The bar sits above the content: the window grows by it, so the content keeps its size.
    const int grown = window_->height() + height - menuBarHeight_;
    menuBarHeight_ = height;
    window_->resize(window_->width(), std::max(grown, window_->minimumHeight()));
    if (window_->isVisible())
        fitToScreen();
}

QRect MainWindowController::availableArea() const
{
    const QScreen* screen = window_->screen() ? window_->screen() : QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect();
}

QSize MainWindowController::room() const
{
    return availableArea().size().shrunkBy(frameMargins());
}

QMargins MainWindowController::frameMargins() const
{
    const QRect frame = window_->frameGeometry();
    const QRect inner = window_->geometry();
    const QMargins now(inner.left() - frame.left(), inner.top() - frame.top(), frame.right() - inner.right(),
        frame.bottom() - inner.bottom());
    return now.isNull() ? lastFrameMargins_ : now;
}

void MainWindowController::fitToScreen(bool centre)
{
    const QRect area = availableArea();
    if (area.isEmpty())
        return;
    const QMargins frame = frameMargins();
    lastFrameMargins_ = frame;
    const QSize fits = room();
    window_->setMinimumSize(designedMinimum_.boundedTo(fits));
    const QSize size = window_->size().boundedTo(fits);
    if (size != window_->size())
        window_->resize(size);
    // A top-level widget's position is its frame's.
    QRect placed(window_->pos(), size.grownBy(frame));
    if (centre)
        placed.moveCenter(area.center());
    placed.moveLeft(std::clamp(placed.left(), area.left(), area.left() + area.width() - placed.width()));
    placed.moveTop(std::clamp(placed.top(), area.top(), area.top() + area.height() - placed.height()));
    if (placed.topLeft() != window_->pos())
        window_->move(placed.topLeft());
}

void MainWindowController::windowFramed()
{
    if (!fitPending_ || !window_->isVisible())
        return;
    const QRect frame = window_->frameGeometry();
    if (frame == window_->geometry())
        return; // not framed yet
    fitPending_ = false;
    fitToScreen();
}

void MainWindowController::beginCapture(KeyCaptureTarget target)
{
    endCapture();
    chrome_->setCaptureTarget(target);
    if (QCoreApplication::instance())
        keyMonitor_ = std::make_unique<KeyMonitor>(*this);
}

void MainWindowController::endCapture()
{
    keyMonitor_.reset();
    chrome_->setCaptureTarget(std::nullopt);
}

bool MainWindowController::captureKey(const QKeyEvent& event)
{
    const auto target = chrome_->captureTarget();
    if (!target)
        return false;
    // By the physical key, not by what the layout types on it: with a Cyrillic group in effect
    // the P key types a letter no key table names, yet it is still the P key.
    const std::optional<int> code = services_.keyNamer->virtualKey(event.nativeScanCode());
    if (code == VirtualKey::escape) {
        endCapture();
        return true;
    }
    // A key the overlay has no code for cannot be stored; the capture waits for another.
    if (!code)
        return true;
    if (*target == KeyCaptureTarget::fallback) {
        if (!isReadableWithoutInputMonitoring(*code))
            return true;
        model_->setFallbackKeyCode(*code);
        settings_.setFallbackKeyCode(model_->fallbackKeyCode());
    } else {
        model_->setShopKeyCode(*code);
        settings_.setShopKeyCode(model_->shopKeyCode());
    }
    endCapture();
    return true;
}

void MainWindowController::requestInputMonitoring()
{
    services_.requestInputMonitoring();
    chrome_->setInputMonitoringGranted(services_.inputMonitoringGranted());
}

void MainWindowController::restartApp()
{
    // A failed start is passed over: this instance ends either way, as the user asked.
    services_.startNewInstance();
    applicationWillTerminate();
    services_.terminate();
}

void MainWindowController::bringForwardForChampSelect()
{
    chrome_->setSelection(MainTab::live);
    // To the front without taking the keyboard from whatever the user is doing.
    if (!view_)
        buildView();
    if (!window_->isVisible()) {
        fitToScreen();
        fitPending_ = true;
        window_->setAttribute(Qt::WA_ShowWithoutActivating, true);
        window_->show();
        window_->setAttribute(Qt::WA_ShowWithoutActivating, false);
    }
    window_->raise();
}

} // namespace tolvane
