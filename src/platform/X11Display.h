#pragma once
// Whether the X display that the environment names accepts a connection, asked before anything
// else needs one.

namespace tolvane {

// False when DISPLAY is unset or names a display that cannot be opened.
bool canOpenX11Display();

} // namespace tolvane
