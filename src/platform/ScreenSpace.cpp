#include "platform/ScreenSpace.h"

#include <QGuiApplication>
#include <QScreen>

namespace tolvane::ScreenSpace {

std::optional<double> primaryScreenHeight(const std::vector<QRectF>& screens, std::optional<QRectF> mainScreen)
{
    for (const QRectF& screen : screens) {
        if (screen.topLeft() == QPointF(0, 0))
            return screen.height();
    }
    if (mainScreen)
        return mainScreen->height();
    return std::nullopt;
}

std::optional<double> primaryScreenHeight()
{
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr)
        return std::nullopt;
    std::vector<QRectF> screens;
    for (const QScreen* screen : QGuiApplication::screens())
        screens.emplace_back(screen->geometry());
    std::optional<QRectF> main;
    if (const QScreen* primary = QGuiApplication::primaryScreen())
        main = QRectF(primary->geometry());
    return primaryScreenHeight(screens, main);
}

} // namespace tolvane::ScreenSpace
