// Build-time tool: renders the application icon's SVG into the PNG sizes of the hicolor icon
// theme, for desktops that do not scale SVG icons themselves.
//
//   render-icon <icon.svg> <output folder> <size>...   writes <folder>/<size>x<size>/apps/tolvane.png

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <cstdio>

int main(int argc, char* argv[])
{
    if (argc < 4) {
        std::fprintf(stderr, "usage: %s icon.svg output-folder size...\n", argv[0]);
        return 2;
    }
    // No display is needed to draw into an image.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QSvgRenderer svg(QString::fromLocal8Bit(argv[1]));
    if (!svg.isValid()) {
        std::fprintf(stderr, "render-icon: cannot read %s\n", argv[1]);
        return 1;
    }
    for (int i = 3; i < argc; ++i) {
        const int edge = QByteArray(argv[i]).toInt();
        if (edge <= 0) {
            std::fprintf(stderr, "render-icon: bad size %s\n", argv[i]);
            return 2;
        }
        QImage image(edge, edge, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        svg.render(&painter);
        painter.end();
        const QString folder = QStringLiteral("%1/%2x%2/apps").arg(QString::fromLocal8Bit(argv[2])).arg(edge);
        if (!QDir().mkpath(folder) || !image.save(folder + QStringLiteral("/tolvane.png"))) {
            std::fprintf(stderr, "render-icon: cannot write %s\n", qPrintable(folder));
            return 1;
        }
    }
    return 0;
}
