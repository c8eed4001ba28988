#pragma once
// Drives real input through the X server with xdotool, as a user would, and waits for it.

#include <QStringList>

namespace tolvane::test {

// Runs xdotool with the arguments; false when it fails or does not finish in time.
bool xdotool(const QStringList& arguments);

} // namespace tolvane::test
