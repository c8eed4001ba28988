#pragma once
// The Settings tab over a scratch store, shown offscreen at the window's width, with the host's
// actions counted.

#include "app/mainwindow/SettingsModel.h"
#include "app/mainwindow/SettingsTab.h"
#include "app/panels/HudStyle.h"
#include "core/overlay/OverlaySettingsStore.h"
#include "core/overlay/UserDefaults.h"

#include "Await.h"

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QMouseEvent>
#include <QWidget>

#include <gtest/gtest.h>

#include <memory>

namespace tolvane::test {

inline void click(QWidget& widget, QPointF at)
{
    const QPointF global = widget.mapToGlobal(at);
    QMouseEvent press(QEvent::MouseButtonPress, at, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&widget, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, at, global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&widget, &release);
}

inline void click(QWidget& widget)
{
    click(widget, QRectF(widget.rect()).center());
}

// Rendered over the window's dark ground, under <build>/shell/<name>.png.
inline QImage renderSettings(QWidget& widget, const QString& name)
{
    spinFor(std::chrono::milliseconds(200));
    // Painted over the window's dark ground, as the main window shows the tab.
    QPalette palette = widget.palette();
    palette.setColor(QPalette::Window, HUD::panelBottom());
    widget.setPalette(palette);
    widget.setAutoFillBackground(true);
    const QImage image = widget.grab().toImage();
    const QString folder = QStringLiteral(TOLVANE_BINARY_DIR "/shell");
    QDir().mkpath(folder);
    image.save(folder + QLatin1Char('/') + name + QStringLiteral(".png"));
    return image;
}

class SettingsTabFixture : public ::testing::Test {
protected:
    std::shared_ptr<InMemoryUserDefaults> defaults = std::make_shared<InMemoryUserDefaults>();
    OverlaySettingsStore store {defaults};
    SettingsModel model {store};
    int captureShop = 0;
    int captureFallback = 0;
    int grant = 0;
    int restart = 0;
    int reset = 0;
    std::unique_ptr<SettingsView> view;

    SettingsHostState hostState(std::optional<KeyCaptureTarget> target = std::nullopt, bool granted = false)
    {
        return {target, QStringLiteral("P"), QStringLiteral("⌘ Cmd"), granted};
    }

    SettingsActions actions()
    {
        return {[this] { ++captureShop; }, [this] { ++captureFallback; }, [this] { ++grant; }, [this] { ++restart; },
            [this] {
                ++reset;
                store.reset();
                model.reloadFromStore();
            }};
    }

    void makeView(SettingsHostState state = {})
    {
        if (state == SettingsHostState {})
            state = hostState();
        view = std::make_unique<SettingsView>(model, state, actions());
        view->resize(440, 1300);
        view->show();
        settle();
    }

    // Lets layouts and a queued rebuild run, and whatever they post in turn: a count of turns of
    // the event loop, not a time, so a slow machine waits as long as it needs.
    static void settle()
    {
        for (int turn = 0; turn < 10; ++turn)
            QCoreApplication::processEvents();
    }

    void TearDown() override { view.reset(); }
};

} // namespace tolvane::test
