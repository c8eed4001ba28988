// The reposition editor on a real X display with openbox, over a stand-in for the game's window,
// driven with real input through xdotool: a panel dragged and Done pressed land in the store.
#include "StandInGameWindow.h"
#include "XTool.h"

#include "Await.h"
#include "app/windows/GameWindowTracker.h"
#include "app/windows/RepositionOverlayController.h"
#include "app/windows/RepositionOverlayView.h"
#include "platform/X11Platform.h"

#include <QWindow>

#include <gtest/gtest.h>

namespace tolvane {
namespace {

QStringList at(QPoint point)
{
    return {QStringLiteral("mousemove"), QString::number(point.x()), QString::number(point.y())};
}

class RepositionEditorOnX11 : public ::testing::Test {
protected:
    void TearDown() override { test::xdotool({QStringLiteral("mouseup"), QStringLiteral("1")}); }

    test::StandInGameWindow game {{.geometry = {0, 0, 1920, 1080}}};
    std::unique_ptr<X11WindowList> windows = makeX11WindowList();
    std::unique_ptr<OverlayWindowNative> native = makeX11OverlayWindowNative();
    std::shared_ptr<InMemoryUserDefaults> defaults = std::make_shared<InMemoryUserDefaults>();
};

TEST_F(RepositionEditorOnX11, DraggedPanelIsStoredByDone)
{
    ASSERT_TRUE(game.show());
    std::optional<QRectF> frame;
    ASSERT_TRUE(test::spinUntil([&] { return (frame = GameWindowTracker::leagueWindowFrame(*windows)).has_value(); }));
    ASSERT_EQ(*frame, QRectF(0, 0, 1920, 1080));

    RepositionOverlayController controller(*native);
    int doneCalls = 0;
    std::optional<RepositionMode> doneMode;
    controller.show(*frame, {}, PanelPositionStore(defaults), OverlaySettingsStore(defaults),
        [&](PanelPoints, RepositionMode mode) {
            ++doneCalls;
            doneMode = mode;
        });
    RepositionOverlayView* view = controller.view();
    ASSERT_TRUE(view);
    ASSERT_TRUE(test::spinUntil([&] {
        const auto info = view->windowHandle() ? windows->window(view->winId()) : std::nullopt;
        return view->windowHandle()->isExposed() && info.has_value();
    }));

    const QPointF start = view->chipRect(PanelID::goldTracker).center();
    const QPoint press = view->mapToGlobal(start.toPoint());
    const QPoint release = press + QPoint(-300, -400);
    // Each step is handled before the next is sent, so a busy machine cannot reorder what the
    // view sees against what the server delivers.
    const QList<QStringList> steps {at(press), {QStringLiteral("mousedown"), QStringLiteral("1")},
        at(press + QPoint(-20, -20)), at(press + QPoint(-150, -200)), at(release),
        {QStringLiteral("mouseup"), QStringLiteral("1")}};
    for (const QStringList& step : steps) {
        ASSERT_TRUE(test::xdotool(step));
        test::spinFor(std::chrono::milliseconds(30));
    }
    const QPointF moved = start + QPointF(-300, -400);
    ASSERT_TRUE(test::spinUntil([&] { return view->model().undoCount() == 1; }));
    EXPECT_EQ(view->model().chipCenter(PanelID::goldTracker), moved);

    const RepositionOverlayView::Layout layout = view->editorLayout();
    const QPoint done
        = view->mapToGlobal(layout.item(RepositionOverlayView::Layout::ItemKind::done)->rect.center().toPoint());
    ASSERT_TRUE(test::xdotool(at(done)));
    test::spinFor(std::chrono::milliseconds(30));
    ASSERT_TRUE(test::xdotool({QStringLiteral("click"), QStringLiteral("1")}));
    ASSERT_TRUE(test::spinUntil([&] { return doneCalls == 1; }));
    EXPECT_EQ(doneMode, RepositionMode::summonersRift);
    EXPECT_FALSE(controller.isOpen());

    const auto stored = PanelPositionStore(defaults).fraction(PanelID::goldTracker, RepositionMode::summonersRift);
    ASSERT_TRUE(stored.has_value());
    EXPECT_NEAR(stored->x(), moved.x() / 1920, 1e-12);
    EXPECT_NEAR(stored->y(), moved.y() / 1080, 1e-12);
    // The chips nobody touched are stored at their defaults.
    EXPECT_TRUE(PanelPositionStore(defaults).fraction(PanelID::combos, RepositionMode::summonersRift).has_value());
}

} // namespace
} // namespace tolvane
