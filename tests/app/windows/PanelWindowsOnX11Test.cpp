// The panel windows on a real X display with openbox, over a stand-in for the game's window made
// by another connection, driven with real input through xdotool.
#include "StandInGameWindow.h"
#include "TestContent.h"
#include "XTool.h"

#include "Await.h"
#include "app/windows/CooldownPanel.h"
#include "app/windows/GameWindowTracker.h"
#include "app/windows/OverlayWindow.h"
#include "platform/X11Platform.h"

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QProcess>
#include <QScreen>
#include <QWindow>

#include <gtest/gtest.h>

namespace tolvane {
namespace {

using Position = OverlayWindow::Position;

constexpr int tab = 48;

class PanelsOverGame : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(game.show());
        const auto frame = GameWindowTracker::leagueWindowFrame(*windows);
        ASSERT_TRUE(frame);
        gameFrame = *frame;
    }

    void TearDown() override
    {
        test::xdotool({QStringLiteral("mouseup"), QStringLiteral("1")});
        test::xdotool({QStringLiteral("keyup"), QStringLiteral("Tab")});
    }

    PanelPlatform platform() { return {*keys, *native}; }

    // Where the X server has the panel, in screen coordinates.
    std::optional<QRectF> serverFrame(const QWidget& panel)
    {
        const auto info = windows->window(panel.winId());
        return info ? std::optional(info->frame) : std::nullopt;
    }

    bool settlesAt(const QWidget& panel, QPointF origin)
    {
        return test::spinUntil([&] {
            const auto frame = serverFrame(panel);
            return frame && std::abs(frame->x() - origin.x()) < 0.51 && std::abs(frame->y() - origin.y()) < 0.51;
        });
    }

    bool click(QPoint qtPoint)
    {
        return test::xdotool({QStringLiteral("mousemove"), QString::number(qtPoint.x()), QString::number(qtPoint.y()),
            QStringLiteral("click"), QStringLiteral("1")});
    }

    // X's top-left (100, 80) on the 1080-high screen: the game frame is (100, 100, 1600 x 900).
    test::StandInGameWindow game {{.geometry = {100, 80, 1600, 900}}};
    std::unique_ptr<KeyState> keys = makeX11KeyState();
    std::unique_ptr<OverlayWindowNative> native = makeX11OverlayWindowNative();
    std::unique_ptr<X11WindowList> windows = makeX11WindowList();
    OverlayScale scale {1.0};
    QRectF gameFrame;
};

TEST_F(PanelsOverGame, TheGameWindowIsFoundWithItsFrame)
{
    EXPECT_EQ(gameFrame, QRectF(100, 100, 1600, 900));
}

TEST_F(PanelsOverGame, APanelAtEachAnchorLandsWhereTheAnchorSays)
{
    // A 234 x 120 panel in the game frame (100, 100, 1600 x 900), standard stack layout.
    const std::vector<std::pair<Position, QPointF>> expected {
        {Position::topLeft, {116, 864}},
        {Position::bottomCenter, {783, 300}},
        {Position::hudRight, {1196, 108}},
        {Position::rightCenter, {1450, 490}},
        {Position::leftCenter, {116, 490}},
        {Position::rightUpper, {1304, 694}},
        {Position::rightLower, {1304, 550}},
    };
    OverlayWindow panel(new test::TestContent({234, 120}), scale, platform());
    panel.orderFront();
    for (const auto& [position, origin] : expected) {
        panel.align(gameFrame, position);
        EXPECT_TRUE(settlesAt(panel, origin))
            << qPrintable(rawValue(position)) << " is at " << serverFrame(panel).value_or(QRectF()).x() << ", "
            << serverFrame(panel).value_or(QRectF()).y();
    }
    // An override-redirect window: not among the window manager's clients, above the others.
    EXPECT_EQ(windows->window(panel.winId()).value_or(WindowInfo {}).layer, 1);
}

TEST_F(PanelsOverGame, ClickThroughSendsClicksToTheGameAndOffTheyReachThePanel)
{
    auto* content = new test::TestContent({234, 120});
    OverlayWindow panel(content, scale, platform());
    panel.orderFront();
    panel.align(gameFrame, Position::bottomCenter);
    ASSERT_TRUE(settlesAt(panel, {783, 300}));
    const WId nativeWindow = panel.winId();
    const QPoint centre = panel.geometry().center();
    game.takeButtonPresses();

    ASSERT_TRUE(panel.ignoresMouseEvents());
    ASSERT_TRUE(click(centre));
    EXPECT_TRUE(test::spinUntil([&] { return game.takeButtonPresses() == 1; }));
    EXPECT_TRUE(content->presses.empty());

    panel.setIgnoresMouseEvents(false);
    // The server has the new input shape before xdotool's click comes in.
    QGuiApplication::sync();
    EXPECT_TRUE(panel.isVisible());
    EXPECT_EQ(panel.winId(), nativeWindow) << "the native window was not re-created";
    EXPECT_TRUE(serverFrame(panel)) << "and stays mapped";
    ASSERT_TRUE(click(centre));
    EXPECT_TRUE(test::spinUntil([&] { return content->presses.size() == 1; }));
    EXPECT_EQ(game.takeButtonPresses(), 0);

    panel.setIgnoresMouseEvents(true);
    QGuiApplication::sync();
    ASSERT_TRUE(click(centre));
    EXPECT_TRUE(test::spinUntil([&] { return game.takeButtonPresses() == 1; }));
    EXPECT_EQ(content->presses.size(), 1u);
}

TEST_F(PanelsOverGame, ATabDragMovesThePanelAndReadsAsTheUsersMove)
{
    auto* content = new test::TestContent({234, 120});
    CooldownPanel panel(content, scale, platform());
    panel.orderFront();
    panel.isProgrammaticallyMoving = true;
    panel.align(gameFrame, Position::leftCenter);
    panel.lastProgrammaticOrigin = panel.frame().topLeft();
    panel.isProgrammaticallyMoving = false;
    ASSERT_TRUE(settlesAt(panel, {116, 490}));

    // What the application checks of each move it is told of.
    int userMoves = 0;
    QObject::connect(&panel, &PanelWindow::moved, &panel, [&] {
        const QPointF delta = panel.frame().topLeft() - panel.lastProgrammaticOrigin;
        if (!panel.isProgrammaticallyMoving && keys->isKeyDown(tab)
            && (std::abs(delta.x()) >= 1 || std::abs(delta.y()) >= 1))
            ++userMoves;
    });

    const QPoint start = panel.geometry().center();
    ASSERT_TRUE(test::xdotool({QStringLiteral("keydown"), QStringLiteral("Tab")}));
    ASSERT_TRUE(test::spinUntil([&] { return keys->isKeyDown(tab); }));
    ASSERT_TRUE(test::xdotool({QStringLiteral("mousemove"), QString::number(start.x()), QString::number(start.y()),
        QStringLiteral("mousedown"), QStringLiteral("1")}));
    ASSERT_TRUE(test::spinUntil([&] { return bool(panel.dragMonitor); }));
    for (int step = 1; step <= 4; ++step) {
        ASSERT_TRUE(test::xdotool({QStringLiteral("mousemove"), QString::number(start.x() + 50 * step),
            QString::number(start.y() + 25 * step)}));
        test::spinFor(std::chrono::milliseconds(20));
    }
    ASSERT_TRUE(test::xdotool({QStringLiteral("mouseup"), QStringLiteral("1")}));
    ASSERT_TRUE(test::spinUntil([&] { return !panel.dragMonitor; }));
    ASSERT_TRUE(test::xdotool({QStringLiteral("keyup"), QStringLiteral("Tab")}));

    // 200 pt right and 100 pt down the screen: the origin moves by (200, -100).
    EXPECT_EQ(panel.frame().topLeft(), QPointF(316, 390));
    EXPECT_TRUE(settlesAt(panel, {316, 390}));
    EXPECT_GE(userMoves, 1);
    EXPECT_TRUE(content->presses.empty()) << "the press that picked the panel up is not a click on it";
    EXPECT_EQ(game.takeButtonPresses(), 0);
}

QColor pixelAt(const QImage& image, QPointF screenPoint)
{
    // Screen coordinates to the image's top-left ones.
    return image.pixelColor(qRound(screenPoint.x()), qRound(image.height() - screenPoint.y()));
}

TEST_F(PanelsOverGame, ScreenshotOfThePanelsOverTheGame)
{
    struct Shown {
        QString label;
        QSizeF size;
        Position position;
        QColor accent;
    };
    const std::vector<Shown> shown {
        {QStringLiteral("Combos"), {216, 110}, Position::topLeft, QColor(250, 204, 21)},
        {QStringLiteral("Gold spent"), {234, 90}, Position::bottomCenter, QColor(251, 191, 36)},
        {QStringLiteral("Popular build"), {230, 160}, Position::rightUpper, QColor(167, 139, 250)},
        {QStringLiteral("Matchup"), {248, 180}, Position::rightLower, QColor(45, 212, 191)},
        {QStringLiteral("Farm"), {200, 70}, Position::hudRight, QColor(74, 222, 128)},
    };
    std::vector<std::unique_ptr<PanelWindow>> panels;
    for (const Shown& s : shown) {
        auto window
            = std::make_unique<OverlayWindow>(new test::TestContent(s.size, s.label, s.accent), scale, platform());
        window->orderFront();
        window->align(gameFrame, s.position);
        panels.push_back(std::move(window));
    }
    auto cooldowns = std::make_unique<CooldownPanel>(
        new test::TestContent({124, 200}, QStringLiteral("Cooldowns"), QColor(248, 113, 113)), scale, platform());
    cooldowns->orderFront();
    cooldowns->align(gameFrame, Position::leftCenter);
    panels.push_back(std::move(cooldowns));
    for (const auto& panel : panels)
        ASSERT_TRUE(settlesAt(*panel, panel->frame().topLeft()));

    // Each panel's accent bar is drawn over the game, and the game shows between the panels.
    auto barOf = [&](const QImage& image, std::size_t i) {
        const QRectF frame = panels[i]->frame();
        return pixelAt(image, {frame.center().x(), frame.y() + frame.height() - 2});
    };
    QImage image;
    test::spinUntil([&] {
        image = QGuiApplication::primaryScreen()->grabWindow(0).toImage();
        for (std::size_t i = 0; i < shown.size(); ++i) {
            if (barOf(image, i).rgb() != shown[i].accent.rgb())
                return false;
        }
        return true;
    });
    ASSERT_FALSE(image.isNull());
    const QString folder = QStringLiteral(TOLVANE_BINARY_DIR "/screenshots");
    QDir().mkpath(folder);
    EXPECT_TRUE(image.save(folder + QStringLiteral("/panels-over-game.png")));
    for (std::size_t i = 0; i < shown.size(); ++i)
        EXPECT_EQ(barOf(image, i).rgb(), shown[i].accent.rgb()) << qPrintable(shown[i].label);
    EXPECT_EQ(pixelAt(image, gameFrame.center()).rgb(), QColor(22, 58, 74).rgb());
}

// A compositing manager started and stopped by the test on its display.
class Compositor {
public:
    ~Compositor() { stop(); }
    bool start()
    {
        process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process_.start(QStringLiteral("xcompmgr"), QStringList());
        return process_.waitForStarted(30000);
    }
    void stop()
    {
        if (process_.state() == QProcess::NotRunning)
            return;
        process_.terminate();
        if (!process_.waitForFinished(30000)) {
            process_.kill();
            process_.waitForFinished(30000);
        }
    }

private:
    QProcess process_;
};

bool near(QColor a, QColor b, int tolerance)
{
    return std::abs(a.red() - b.red()) <= tolerance && std::abs(a.green() - b.green()) <= tolerance
        && std::abs(a.blue() - b.blue()) <= tolerance;
}

TEST_F(PanelsOverGame, WithoutACompositorAPanelIsCutToItsCardAndAWindowWithNothingToShowStaysOff)
{
    ASSERT_FALSE(native->isCompositing()) << "the test display starts without a compositing manager";
    const QColor gameColour(22, 58, 74);
    // A card 12 px inside its window, with a see-through shade around it as a shadow would be.
    auto* content = new test::TestContent({240, 140}, QStringLiteral("Combos"));
    content->setCardMargin(12);
    OverlayWindow panel(content, scale, platform());
    panel.orderFront();
    panel.align(gameFrame, Position::topLeft);
    ASSERT_TRUE(settlesAt(panel, panel.frame().topLeft()));
    // The combos panel without a local player: nothing to show.
    OverlayWindow empty(new test::TestContent({1, 1}), scale, platform());
    empty.orderFront();
    empty.align(gameFrame, Position::bottomCenter);

    // In Qt's coordinates: in the margin, in the card's rounded corner, on the card's accent bar.
    const QPoint origin = panel.geometry().topLeft();
    const QPoint margin = origin + QPoint(5, 70);
    const QPoint roundedCorner = origin + QPoint(13, 13);
    const QPoint accentBar = origin + QPoint(120, 14);
    const QColor accent(167, 139, 250);
    // Where the empty window would be, at the bottom centre of the game.
    const QPoint emptySpot = empty.geometry().center();
    auto pixel = [](const QImage& image, QPoint at) { return image.pixelColor(at); };
    QImage image;
    auto grab = [&] { image = QGuiApplication::primaryScreen()->grabWindow(0).toImage(); };

    auto cutAndDrawn = [&] {
        grab();
        return pixel(image, margin).rgb() == gameColour.rgb() && pixel(image, roundedCorner).rgb() == gameColour.rgb()
            && pixel(image, accentBar).rgb() == accent.rgb();
    };
    const bool cut = test::spinUntil(cutAndDrawn);
    const QString folder = QStringLiteral(TOLVANE_BINARY_DIR "/screenshots");
    QDir().mkpath(folder);
    image.save(folder + QStringLiteral("/panel-without-compositor.png"));
    EXPECT_TRUE(cut) << "margin " << qPrintable(pixel(image, margin).name()) << ", corner "
                     << qPrintable(pixel(image, roundedCorner).name()) << ", accent bar "
                     << qPrintable(pixel(image, accentBar).name());
    EXPECT_FALSE(empty.isVisible());
    EXPECT_FALSE(serverFrame(empty)) << "not mapped";
    EXPECT_EQ(pixel(image, emptySpot).rgb(), gameColour.rgb());

    // A compositor starts: the window is whole again and the shade is blended over the game.
    Compositor compositor;
    ASSERT_TRUE(compositor.start());
    ASSERT_TRUE(test::spinUntil([&] { return native->isCompositing(); })) << "the compositor was not noticed";
    EXPECT_TRUE(test::spinUntil([&] { return panel.mask().isEmpty(); }));
    const QColor shaded(gameColour.red() * 195 / 255, gameColour.green() * 195 / 255, gameColour.blue() * 195 / 255);
    EXPECT_TRUE(test::spinUntil([&] {
        grab();
        return near(pixel(image, margin), shaded, 3) && pixel(image, accentBar).rgb() == accent.rgb();
    })) << "margin "
        << qPrintable(pixel(image, margin).name()) << ", expected about " << qPrintable(shaded.name());
    image.save(folder + QStringLiteral("/panel-with-compositor.png"));

    // And stops: cut again.
    compositor.stop();
    ASSERT_TRUE(test::spinUntil([&] { return !native->isCompositing(); })) << "the compositor's end was not noticed";
    EXPECT_TRUE(test::spinUntil(cutAndDrawn)) << "margin " << qPrintable(pixel(image, margin).name());
}

} // namespace
} // namespace tolvane
