#include "app/windows/GameWindowTracker.h"

namespace tolvane::GameWindowTracker {

std::optional<QRectF> leagueWindowFrame(const WindowList& windows)
{
    const auto list = windows.onScreenWindows();
    if (!list)
        return std::nullopt;
    // The whole owner name must match: the game's launcher and client run under other names,
    // and the window's title ("League of Legends (TM) Client") is not looked at.
    for (const WindowInfo& window : *list) {
        if (window.ownerName.compare(QStringLiteral("League of Legends"), Qt::CaseInsensitive) != 0)
            continue;
        if (!window.frame.isValid())
            continue;
        return window.frame;
    }
    return std::nullopt;
}

} // namespace tolvane::GameWindowTracker
