// "About Tolvane" from the main window's menu, framed by openbox: the panel names the build's
// version and is wide enough that the title bar shows its whole title beside the window
// manager's buttons. It is looked at from a timer, which would also run inside a modal loop, and
// closed from there: a panel that blocked would still be seen and closed, past a bound if need be.

#include "../startup/AppDelegateFixture.h"
#include "Await.h"

#include "app/startup/AppLaunch.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QFontMetrics>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QTimer>
#include <QWindow>

namespace tolvane::test {
namespace {

using namespace std::chrono_literals;

class AboutPanelTest : public AppDelegateFixture { };

TEST_F(AboutPanelTest, NamesTheVersionUnderATitleItsFrameHasRoomFor)
{
    AppDelegate& app = launch();
    QAction* about = app.mainMenu()->actions().front()->menu()->actions().front();
    ASSERT_EQ(about->text(), QStringLiteral("About Tolvane"));

    QRect frame;
    QRect inner;
    QString title;
    QString texts;
    int ticksSeen = 0;
    QElapsedTimer clock;
    clock.start();
    QTimer probe;
    probe.setInterval(20);
    QObject::connect(&probe, &QTimer::timeout, [&] {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (!qobject_cast<QDialog*>(window) || !window->isVisible())
                continue;
            const bool framed = window->windowHandle()->isExposed() && window->frameGeometry() != window->geometry();
            if (framed && title.isEmpty()) {
                frame = window->frameGeometry();
                inner = window->geometry();
                title = window->windowTitle();
                for (const QLabel* label : window->findChildren<QLabel*>())
                    texts += label->text() + u'\n';
            }
            // Closed once the window manager has had a few turns to draw it, for the picture.
            if ((framed && ++ticksSeen >= 10) || clock.elapsed() > 30000) {
                QDir().mkpath(QStringLiteral(TOLVANE_BINARY_DIR "/shell"));
                QGuiApplication::primaryScreen()
                    ->grabWindow(0, frame.x(), frame.y(), frame.width(), frame.height())
                    .save(QStringLiteral(TOLVANE_BINARY_DIR "/shell/about-panel.png"));
                window->close();
                probe.stop();
            }
        }
    });
    probe.start();
    QTimer::singleShot(0, about, &QAction::trigger);
    ASSERT_TRUE(spinUntil([&] { return !probe.isActive(); }, 40s));
    ASSERT_FALSE(title.isEmpty()) << "no About panel came up framed";

    EXPECT_EQ(title, QStringLiteral("About Tolvane"));
    EXPECT_TRUE(texts.contains(AppLaunch::version())) << texts.toStdString();
    // openbox draws the title in a bold sans beside the window's icon and three buttons, each
    // about as wide as the title bar is high.
    QFont titleFont(QStringLiteral("sans"));
    titleFont.setPointSize(8);
    titleFont.setBold(true);
    const int titleBar = inner.top() - frame.top();
    EXPECT_GE(frame.width(), QFontMetrics(titleFont).horizontalAdvance(title) + 5 * titleBar)
        << "the title bar cuts the title";
}

} // namespace
} // namespace tolvane::test
