#pragma once
// Shared by the Live tab's view tests: rendering a widget offscreen into a PNG a person can look
// at, and the frame width a card of a base width gets at a text scale.

#include "app/panels/HudPanel.h"
#include "app/panels/RuneBuildViewModel.h"

#include <QCoreApplication>
#include <QDir>
#include <QLayout>
#include <QImage>
#include <QPalette>
#include <QPainter>
#include <QWidget>

#include <cmath>

namespace tolvane {
// The popular-build model learns of a match only from snapshots; the Live tab only reads it.
struct RuneBuildViewModelProbe {
    static void setInGame(RuneBuildViewModel& vm, bool inGame)
    {
        vm.setInGame(inGame);
        vm.notify();
    }
    static void setAdvice(RuneBuildViewModel& vm, MetaBuildAdvice advice)
    {
        vm.setAdvice(std::move(advice));
        vm.notify();
    }
};
} // namespace tolvane

namespace tolvane::test {

// The widget laid out at its size hint (or the width given), grabbed, saved under
// <build>/shell/<name>.png.
inline QImage renderWidget(QWidget& widget, const QString& name, int width = 0)
{
    const auto settle = [&widget] {
        QCoreApplication::sendPostedEvents();
        if (widget.layout())
            widget.layout()->activate();
        for (auto* layout : widget.findChildren<QLayout*>())
            layout->activate();
    };
    const QSize hint = widget.sizeHint();
    widget.resize(width > 0 ? width : hint.width(), hint.height());
    settle();
    widget.resize(widget.width(), widget.sizeHint().height()); // wrapped text settles after a width
    settle();
    // The views draw light text for the main window's dark ground; give the grab that ground.
    QPalette palette = widget.palette();
    palette.setColor(QPalette::Window, QColor(22, 24, 30));
    widget.setPalette(palette);
    widget.setAutoFillBackground(true);
    const QImage grabbed = widget.grab().toImage();
    const QString folder = QStringLiteral(TOLVANE_BINARY_DIR "/shell");
    QDir().mkpath(folder);
    grabbed.save(folder + QLatin1Char('/') + name + QStringLiteral(".png"));
    return grabbed;
}

// The card itself, without the shadow drawn around it.
inline double cardFrameWidth(double baseWidth, double s)
{
    return HudPanel {QColor(), baseWidth, 1, s}.frameSize(0).width();
}

// The bounding box of the pixels with some of the colour's hue (any opacity), empty when none.
inline QRect inkOfColour(const QImage& source, const QColor& colour, QRect area = {})
{
    const QImage image = source.convertToFormat(QImage::Format_ARGB32);
    const QRect clipped = (area.isNull() ? image.rect() : area).intersected(image.rect());
    QRect box;
    for (int y = clipped.top(); y <= clipped.bottom(); ++y)
        for (int x = clipped.left(); x <= clipped.right(); ++x) {
            const QColor c = QColor::fromRgba(image.pixel(x, y));
            if (c.alpha() < 30)
                continue;
            if (std::abs(c.red() - colour.red()) < 40 && std::abs(c.green() - colour.green()) < 40
                && std::abs(c.blue() - colour.blue()) < 40)
                box |= QRect(x, y, 1, 1);
        }
    return box;
}

} // namespace tolvane::test
