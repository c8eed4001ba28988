#include "app/mainwindow/KeyNaming.h"

#include "core/overlay/KeyCodes.h"
#include "platform/KeyCodeNamer.h"

#include <QChar>
#include <QList>

#include <array>
#include <utility>

namespace tolvane::SettingsWindowController {

namespace {

// The left and right keys of a modifier pair share one name.
const std::array<std::pair<qint64, const char16_t*>, 17> fixedNames {{
    {55, u"\u2318 Cmd"},
    {54, u"\u2318 Cmd"},
    {56, u"\u21E7 Shift"},
    {60, u"\u21E7 Shift"},
    {59, u"\u2303 Ctrl"},
    {62, u"\u2303 Ctrl"},
    {58, u"\u2325 Opt"},
    {61, u"\u2325 Opt"},
    {48, u"Tab"},
    {53, u"Esc"},
    {36, u"Return"},
    {51, u"Delete"},
    {49, u"Space"},
    {123, u"\u2190"},
    {124, u"\u2192"},
    {125, u"\u2193"},
    {126, u"\u2191"},
}};

// A label made only of blanks and control characters (a keypad Enter's carriage return, a
// forward delete's DEL) would show as an empty key cap.
bool hasVisibleCharacter(const QString& text)
{
    for (char32_t codePoint : text.toUcs4()) {
        if (QChar::isPrint(codePoint) && !QChar::isSpace(codePoint))
            return true;
    }
    return false;
}

} // namespace

std::optional<QString> fixedKeyName(qint64 code)
{
    for (const auto& [fixedCode, name] : fixedNames) {
        if (fixedCode == code)
            return QString::fromUtf16(name);
    }
    return std::nullopt;
}

QString keyLabel(qint64 code, const KeyCodeNamer& namer)
{
    if (auto name = fixedKeyName(code))
        return *name;
    if (code >= VirtualKey::minimum && code <= VirtualKey::maximum) {
        // Spaces around a visible character are kept as the layout typed them.
        if (auto text = namer.character(quint16(code)); text && hasVisibleCharacter(*text))
            return text->toUpper();
    }
    return QStringLiteral("key ") + QString::number(code);
}

} // namespace tolvane::SettingsWindowController
