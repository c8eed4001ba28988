#pragma once
// The one fixed table from the overlay's virtual key codes to X keys. The virtual codes name
// places on the keyboard (the ANSI layout's keys), so each maps to the XKB name of the key in that
// place ("AD10" is the fourth row's tenth key, P on a US keyboard): the name is the same whatever
// the layout in effect types on the key. Internal to the platform layer.

#include <optional>
#include <string_view>

namespace tolvane::X11KeyTable {

// The XKB key name (at most four characters) of the key for the code; none for codes without an
// X counterpart (Function, 63, is handled inside the keyboard).
std::optional<std::string_view> keyNameForVirtualKey(int virtualKeyCode);

// Every table code lies below this bound.
inline constexpr int codeBound = 128;

} // namespace tolvane::X11KeyTable
