#pragma once
// The short label the Settings tab shows for a stored key binding: a fixed name for the keys
// whose layout output is invisible or ambiguous (modifiers, Tab, Esc, Return, Delete, Space,
// arrows), otherwise what the user's layout types on the key, upper-cased.

#include <QString>

#include <optional>

namespace tolvane {

class KeyCodeNamer;

namespace SettingsWindowController {

// Never empty: a key that types nothing visible, or a code no key event can carry (a damaged
// stored setting), reads "key <code>".
QString keyLabel(qint64 code, const KeyCodeNamer& namer);

// The fixed name of a key, when it has one.
std::optional<QString> fixedKeyName(qint64 code);

} // namespace SettingsWindowController

} // namespace tolvane
