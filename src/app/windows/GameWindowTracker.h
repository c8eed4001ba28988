#pragma once
// Finds the game's window among the windows on screen and gives its frame in screen coordinates
// (origin bottom-left of the primary screen, y upward). Nothing is cached: every call asks the
// window system again.

#include "platform/WindowList.h"

#include <QRectF>

#include <optional>

namespace tolvane::GameWindowTracker {

// The frontmost window whose owner is the game; none when there is none on screen or the window
// system cannot be asked.
std::optional<QRectF> leagueWindowFrame(const WindowList& windows);

} // namespace tolvane::GameWindowTracker
