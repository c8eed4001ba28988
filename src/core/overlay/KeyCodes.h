#pragma once
// Keys are named by platform-neutral virtual key codes (the numbering of the ANSI keyboard's
// published key-code table); the platform layer maps them to its own keys. Some platforms report
// only a few keys' state without a special input permission: those are the readable ones, and
// the fallback key must be one of them.

#include <QtGlobal>

namespace tolvane::VirtualKey {

inline constexpr int p = 35; // the default shop key
inline constexpr int tab = 48; // holds the build panels up
inline constexpr int escape = 53; // clears the shop latch
inline constexpr int leftCommand = 55; // the default fallback key

// Every code a key event can carry lies in this range.
inline constexpr qint64 minimum = 0;
inline constexpr qint64 maximum = 65535;

} // namespace tolvane::VirtualKey

namespace tolvane {

// The modifier, editing, navigation and function keys (36 codes); letters, digits and
// punctuation are not among them.
bool isReadableWithoutInputMonitoring(qint64 keyCode);

} // namespace tolvane
