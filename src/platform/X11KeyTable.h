#pragma once
// The one fixed table from the overlay's virtual key codes (the ANSI layout's codes) to X
// keysyms, for the X11 services (key state now, key names later). Internal to the platform layer.

#include <array>
#include <optional>

namespace tolvane::X11KeyTable {

// Up to two keysyms per code, the usual one first; 0 marks an unused slot. Codes without an X
// counterpart (Function, 63, is handled inside the keyboard) give none.
using Keysyms = std::array<unsigned long, 2>;
std::optional<Keysyms> keysymsForVirtualKey(int virtualKeyCode);

} // namespace tolvane::X11KeyTable
