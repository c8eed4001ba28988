// The toolkit's floor for the whole-app benchmark: the least a Qt Widgets program with one window
// costs. It says when its window is first on screen, as the test build of the application does.
#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <cstdio>

namespace {

class FirstExposure final : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Expose && qobject_cast<QWindow*>(watched)) {
            qApp->removeEventFilter(this);
            QTimer::singleShot(0, [] {
                std::printf("main window shown\n");
                std::fflush(stdout);
            });
        }
        return false;
    }
};

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    FirstExposure exposure;
    app.installEventFilter(&exposure);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Floor"));
    window.resize(640, 480);
    window.show();
    return QApplication::exec();
}
