#include "app/mainwindow/MainWindowController.h"

#include "app/mainwindow/MainWindowView.h"
#include "app/mainwindow/SettingsModel.h"
#include "platform/KeyCodeNamer.h"

#include "MainWindowViewFixture.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMainWindow>
#include <QWindow>

namespace tolvane::test {
namespace {

// Keys by the native key code a key event carries (X keycodes of a PC keyboard).
constexpr quint32 keyA = 38;
constexpr quint32 keyTab = 23;
constexpr quint32 keyEscape = 9;
constexpr quint32 keyShiftL = 50;
constexpr quint32 keyF13 = 191; // no overlay code

// Counts the key presses that get past every filter installed after it.
class PressProbe : public QObject {
public:
    PressProbe() { qApp->installEventFilter(this); }
    ~PressProbe() override { qApp->removeEventFilter(this); }
    int presses = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress)
            ++presses;
        return false;
    }
};

class MainWindowControllerTest : public MainWindowModels {
protected:
    MainWindowController& controller()
    {
        if (!made) {
            MainWindowController::Services services;
            auto namer = std::make_shared<FakeKeyCodeNamer>();
            for (const auto& [native, code] : {std::pair {keyA, 0}, {keyTab, 48}, {keyEscape, 53}, {keyShiftL, 56}})
                namer->setKey(native, code);
            services.keyNamer = namer;
            services.startNewInstance = [this] {
                events.push_back(QStringLiteral("start"));
                return startSucceeds;
            };
            services.terminate = [this] { events.push_back(QStringLiteral("terminate")); };
            made = std::make_unique<MainWindowController>(
                store, *champVM, runeVM, [this] { return overlayOn; },
                [this] {
                    events.push_back(QStringLiteral("reset"));
                    store.reset();
                },
                std::move(services));
        }
        return *made;
    }

    void TearDown() override
    {
        made.reset();
        MainWindowModels::TearDown();
    }

    // Whatever the layout types on the key: the keysym and text are left out.
    void press(quint32 nativeKey)
    {
        QKeyEvent event(QEvent::KeyPress, 0, Qt::NoModifier, nativeKey, 0, 0);
        QCoreApplication::sendEvent(controller().window(), &event);
    }

    const MainWindowView::Callbacks& callbacks() { return controller().view().callbacks(); }

    PressProbe probe;
    std::unique_ptr<MainWindowController> made;
    std::vector<QString> events;
    bool overlayOn = true;
    bool startSucceeds = true;
};

struct ScaleRow {
    qint64 index;
    double scale;
};

class WindowTextScaleTest : public MainWindowControllerTest, public ::testing::WithParamInterface<ScaleRow> { };

TEST_P(WindowTextScaleTest, StoredIndexSizesTheNewWindowClampedToTheFourSteps)
{
    store.setWindowTextSizeIndex(GetParam().index);
    const double s = GetParam().scale;
    EXPECT_DOUBLE_EQ(controller().lastScale(), s);
    EXPECT_EQ(controller().window()->size(), QSize(qRound(380 * s), qRound(620 * s)));
    EXPECT_EQ(controller().window()->minimumSize(), QSize(qRound(340 * s), qRound(520 * s)));
    EXPECT_DOUBLE_EQ(controller().view().windowFontScale(), s);
}

INSTANTIATE_TEST_SUITE_P(Indexes, WindowTextScaleTest,
    ::testing::Values(ScaleRow {7, 1.55}, ScaleRow {-2, 1.0}, ScaleRow {2, 1.36}, ScaleRow {1, 1.18}));

TEST_F(MainWindowControllerTest, TextSizeChangeScalesTheWindowAboutItsTopEdgeAndBack)
{
    QMainWindow& window = *controller().window();
    window.setGeometry(50, 40, 400, 700);
    controller().model().setTextSizeIndex(3);
    EXPECT_EQ(window.geometry(), QRect(50, 40, 620, 1085));
    controller().model().setTextSizeIndex(3); // the same size again changes nothing
    EXPECT_EQ(window.geometry(), QRect(50, 40, 620, 1085));
    controller().model().setTextSizeIndex(0);
    EXPECT_EQ(window.geometry(), QRect(50, 40, 400, 700));
    EXPECT_EQ(window.minimumSize(), QSize(340, 520));
}

TEST_F(MainWindowControllerTest, RescaledWindowIsNeverBelowTheNewMinimum)
{
    store.setWindowTextSizeIndex(3);
    QMainWindow& window = *controller().window();
    window.resize(window.minimumSize());
    controller().model().setTextSizeIndex(0);
    controller().model().setTextSizeIndex(2);
    EXPECT_GE(window.width(), qRound(340 * 1.36));
    EXPECT_GE(window.height(), qRound(520 * 1.36));
}

TEST_F(MainWindowControllerTest, FallbackCaptureSwallowsUnreadableKeysAndStoresTab)
{
    callbacks().onCaptureFallback();
    EXPECT_EQ(controller().chrome().captureTarget(), KeyCaptureTarget::fallback);
    press(keyA);
    press(keyF13);
    EXPECT_TRUE(controller().isCapturing());
    EXPECT_EQ(store.fallbackKeyCode(), 55);
    press(keyTab);
    EXPECT_EQ(store.fallbackKeyCode(), 48);
    EXPECT_EQ(controller().model().fallbackKeyCode(), 48);
    EXPECT_FALSE(controller().isCapturing());
    EXPECT_EQ(controller().chrome().captureTarget(), std::nullopt);
    EXPECT_EQ(probe.presses, 0);
    press(keyA); // the capture is over: keys reach the window again
    EXPECT_EQ(probe.presses, 1);
}

TEST_F(MainWindowControllerTest, ShopCaptureTakesModifiersAndLettersByTheirKey)
{
    callbacks().onCaptureShop();
    press(keyShiftL);
    EXPECT_EQ(store.shopKeyCode(), 56);
    callbacks().onCaptureShop();
    press(keyA);
    EXPECT_EQ(store.shopKeyCode(), 0);
    EXPECT_EQ(controller().model().shopKeyCode(), 0);
}

class EscapeCaptureTest : public MainWindowControllerTest, public ::testing::WithParamInterface<KeyCaptureTarget> { };

TEST_P(EscapeCaptureTest, EscapeEndsTheCaptureStoringNothing)
{
    store.setShopKeyCode(12);
    store.setFallbackKeyCode(59);
    GetParam() == KeyCaptureTarget::shop ? callbacks().onCaptureShop() : callbacks().onCaptureFallback();
    press(keyEscape);
    EXPECT_FALSE(controller().isCapturing());
    EXPECT_EQ(store.shopKeyCode(), 12);
    EXPECT_EQ(store.fallbackKeyCode(), 59);
    EXPECT_EQ(probe.presses, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, EscapeCaptureTest, ::testing::Values(KeyCaptureTarget::shop, KeyCaptureTarget::fallback));

TEST_F(MainWindowControllerTest, NewCaptureReplacesTheOpenOne)
{
    callbacks().onCaptureShop();
    callbacks().onCaptureFallback();
    EXPECT_EQ(controller().chrome().captureTarget(), KeyCaptureTarget::fallback);
    press(keyA); // a shop capture would take it; the fallback row may not
    EXPECT_EQ(store.shopKeyCode(), 35);
    EXPECT_TRUE(controller().isCapturing());
    press(keyTab);
    EXPECT_EQ(store.fallbackKeyCode(), 48);
    EXPECT_EQ(store.shopKeyCode(), 35);
}

TEST_F(MainWindowControllerTest, ShowAndCloseDriveThePollingAndTheDismissalFlag)
{
    store.setMainWindowDismissed(true);
    overlayOn = false;
    controller().show(MainTab::settings);
    EXPECT_TRUE(controller().window()->isVisible());
    EXPECT_TRUE(champVM->isPolling());
    EXPECT_FALSE(store.mainWindowDismissed());
    EXPECT_FALSE(controller().chrome().isOverlayEnabled());
    EXPECT_TRUE(controller().chrome().inputMonitoringGranted()); // X11 has no such permission
    EXPECT_EQ(controller().chrome().selection(), MainTab::settings);

    callbacks().onCaptureShop();
    controller().window()->close();
    EXPECT_FALSE(controller().window()->isVisible());
    EXPECT_FALSE(champVM->isPolling());
    EXPECT_TRUE(store.mainWindowDismissed());
    EXPECT_FALSE(controller().isCapturing());
    // Closed, the window keeps no views that the models' changes would rebuild or repaint.
    ASSERT_TRUE(spinUntil([&] { return !controller().hasView(); }));
    EXPECT_EQ(controller().window()->centralWidget(), nullptr);
    // Nor a window of the window system, with the full-size image behind it.
    EXPECT_EQ(controller().window()->windowHandle(), nullptr);
    const QSize size = controller().window()->size();

    controller().chrome().setSelection(MainTab::whatsNew);
    controller().show(std::nullopt);
    EXPECT_EQ(controller().chrome().selection(), MainTab::whatsNew);
    ASSERT_NE(controller().window()->windowHandle(), nullptr);
    EXPECT_TRUE(controller().window()->windowHandle()->isVisible());
    EXPECT_EQ(controller().window()->size(), size);
    ASSERT_TRUE(controller().hasView());
    EXPECT_EQ(controller().window()->centralWidget(), &controller().view());
    EXPECT_EQ(controller().chrome().captureTarget(), std::nullopt);
    EXPECT_TRUE(champVM->isPolling());
}

TEST_F(MainWindowControllerTest, HidingIsNoClose)
{
    controller().show(std::nullopt);
    controller().window()->hide();
    EXPECT_TRUE(champVM->isPolling());
    EXPECT_FALSE(store.mainWindowDismissed());
}

TEST_F(MainWindowControllerTest, ShowReadsChangesMadeToTheStoreWhileHidden)
{
    controller();
    store.setShopKeyCode(14);
    controller().show(std::nullopt);
    EXPECT_EQ(controller().model().shopKeyCode(), 14);
}

TEST_F(MainWindowControllerTest, ResetRunsTheDelegatesResetThenShowsTheRestoredDefaults)
{
    controller().model().setShopKeyCode(12);
    controller().model().setShowGold(false);
    callbacks().onReset();
    EXPECT_EQ(events, std::vector<QString> {QStringLiteral("reset")});
    EXPECT_EQ(controller().model().shopKeyCode(), 35);
    EXPECT_TRUE(controller().model().showGold());
}

class RestartTest : public MainWindowControllerTest, public ::testing::WithParamInterface<bool> { };

TEST_P(RestartTest, RestartStartsANewInstanceThenEndsThisOneEvenWhenTheStartFails)
{
    startSucceeds = GetParam();
    callbacks().onRestart();
    EXPECT_EQ(events, (std::vector<QString> {QStringLiteral("start"), QStringLiteral("terminate")}));
}

INSTANTIATE_TEST_SUITE_P(StartOutcome, RestartTest, ::testing::Bool());

TEST_F(MainWindowControllerTest, CallbacksOutlivingTheControllerDoNothing)
{
    const MainWindowView::Callbacks kept = callbacks();
    made.reset();
    kept.onCaptureShop();
    kept.onReset();
    kept.onRestart();
    EXPECT_TRUE(events.empty());
}

} // namespace
} // namespace tolvane::test
