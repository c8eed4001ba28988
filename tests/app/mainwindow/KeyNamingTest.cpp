#include "app/mainwindow/KeyNaming.h"

#include "platform/KeyCodeNamer.h"
#include "platform/X11KeyCodeNamer.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

#include <X11/keysym.h>

namespace tolvane {
namespace {

using SettingsWindowController::keyLabel;

struct FixedCase {
    qint64 code;
    const char16_t* label;
};

class FixedKeyNameTest : public ::testing::TestWithParam<FixedCase> { };

TEST_P(FixedKeyNameTest, FixedNamesWinOverTheLayout)
{
    FakeKeyCodeNamer namer;
    namer.setText(quint16(GetParam().code), QStringLiteral("x"));
    EXPECT_EQ(keyLabel(GetParam().code, namer), QString::fromUtf16(GetParam().label));
    EXPECT_EQ(namer.calls(), 0);
}

INSTANTIATE_TEST_SUITE_P(Keys, FixedKeyNameTest,
    ::testing::Values(FixedCase {55, u"\u2318 Cmd"}, FixedCase {54, u"\u2318 Cmd"}, FixedCase {60, u"\u21E7 Shift"},
        FixedCase {59, u"\u2303 Ctrl"}, FixedCase {61, u"\u2325 Opt"}, FixedCase {48, u"Tab"}, FixedCase {53, u"Esc"},
        FixedCase {36, u"Return"}, FixedCase {51, u"Delete"}, FixedCase {49, u"Space"}, FixedCase {123, u"\u2190"},
        FixedCase {126, u"\u2191"}));

struct LayoutCase {
    const char* name;
    qint64 code;
    std::optional<QString> typed;
    QString label;
};

class LayoutKeyNameTest : public ::testing::TestWithParam<LayoutCase> { };

TEST_P(LayoutKeyNameTest, LabelFollowsWhatTheLayoutTypes)
{
    const LayoutCase& c = GetParam();
    FakeKeyCodeNamer namer;
    if (c.typed)
        namer.setText(quint16(c.code), *c.typed);
    EXPECT_EQ(keyLabel(c.code, namer), c.label);
}

INSTANTIATE_TEST_SUITE_P(Outputs, LayoutKeyNameTest,
    ::testing::Values(LayoutCase {"letterUpperCased", 35, QStringLiteral("p"), QStringLiteral("P")},
        LayoutCase {"firstKey", 0, QStringLiteral("a"), QStringLiteral("A")},
        LayoutCase {"severalCharacters", 12, QStringLiteral("ab"), QStringLiteral("AB")},
        LayoutCase {"sharpSUpperCasesToTwo", 27, QStringLiteral("\u00DF"), QStringLiteral("SS")},
        LayoutCase {"outsideBasicPlane", 50, QString::fromUcs4(U"\U0001D400x"), QString::fromUcs4(U"\U0001D400X")},
        LayoutCase {"spacesAroundKept", 41, QStringLiteral(" \u00F6 "), QStringLiteral(" \u00D6 ")},
        LayoutCase {"nothingTyped", 105, std::nullopt, QStringLiteral("key 105")},
        LayoutCase {"emptyText", 10, QString(), QStringLiteral("key 10")},
        LayoutCase {"carriageReturnOnly", 76, QStringLiteral("\r"), QStringLiteral("key 76")},
        LayoutCase {"blanksOnly", 18, QStringLiteral(" \n\t"), QStringLiteral("key 18")},
        // A control character alone would show as an empty key cap.
        LayoutCase {"controlCharacter", 122, QStringLiteral("\u0010"), QStringLiteral("key 122")},
        LayoutCase {"deleteCharacter", 117, QStringLiteral("\u007F"), QStringLiteral("key 117")}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(KeyNameRangeTest, CodesNoKeyEventCarriesNeverReachTheLayout)
{
    FakeKeyCodeNamer namer;
    namer.setText(0, QStringLiteral("a"));
    namer.setText(quint16(70000), QStringLiteral("z"));
    EXPECT_EQ(keyLabel(-1, namer), QStringLiteral("key -1"));
    EXPECT_EQ(keyLabel(70000, namer), QStringLiteral("key 70000"));
    EXPECT_EQ(keyLabel(65536, namer), QStringLiteral("key 65536"));
    EXPECT_EQ(namer.calls(), 0);
    EXPECT_EQ(keyLabel(65535, namer), QStringLiteral("key 65535"));
    EXPECT_EQ(namer.calls(), 1);
}

// What each key of a keyboard types unmodified in the group now in effect, as the X server would
// say it.
class FakeMapping final : public X11KeyboardMapping {
public:
    unsigned long unmodifiedKeysym(unsigned keycode) const override
    {
        auto it = typed.find(keycode);
        return it == typed.end() ? 0 : it->second;
    }
    std::map<unsigned, unsigned long> typed;
};

class MappingNamer final : public KeyCodeNamer {
public:
    MappingNamer(const X11PhysicalKeys& keys, const X11KeyboardMapping& mapping)
        : keys_(keys)
        , mapping_(mapping)
    {
    }
    std::optional<QString> character(quint16 keyCode) const override
    {
        return characterForVirtualKey(keyCode, keys_, mapping_);
    }
    std::optional<int> virtualKey(quint32 nativeKeyCode) const override { return keys_.virtualKey(nativeKeyCode); }

private:
    const X11PhysicalKeys& keys_;
    const X11KeyboardMapping& mapping_;
};

struct X11Case {
    const char* name;
    int virtualKey;
    unsigned keycode;
    std::string_view keyName;
    unsigned long types;
    std::optional<QString> character;
    QString label;
};

class X11KeyNameTest : public ::testing::TestWithParam<X11Case> { };

TEST_P(X11KeyNameTest, VirtualKeyIsNamedByWhatItsKeyTypesAndFoundFromItsKey)
{
    const X11Case& c = GetParam();
    const X11PhysicalKeys::KeyName key {c.keycode, c.keyName};
    const X11PhysicalKeys keys({&key, 1}, {});
    FakeMapping mapping;
    mapping.typed[c.keycode] = c.types;
    EXPECT_EQ(characterForVirtualKey(quint16(c.virtualKey), keys, mapping), c.character);
    EXPECT_EQ(keyLabel(c.virtualKey, MappingNamer(keys, mapping)), c.label);
    // Whatever the key types now, it is the key in the virtual key's place.
    EXPECT_EQ(keys.virtualKey(c.keycode), c.virtualKey);
}

INSTANTIATE_TEST_SUITE_P(Layouts, X11KeyNameTest,
    ::testing::Values(X11Case {"usLetter", 35, 33, "AD10", XK_p, QStringLiteral("p"), QStringLiteral("P")},
        // French layout: the key of 1 types & without Shift, the key of Q types a.
        X11Case {"frenchDigitRow", 18, 10, "AE01", XK_ampersand, QStringLiteral("&"), QStringLiteral("&")},
        X11Case {"frenchLetterRow", 12, 24, "AD01", XK_a, QStringLiteral("a"), QStringLiteral("A")},
        // German layout: the key of Y types z.
        X11Case {"germanLetterRow", 16, 29, "AD06", XK_z, QStringLiteral("z"), QStringLiteral("Z")},
        // Russian layout: the P key types the Cyrillic ze.
        X11Case {"cyrillic", 35, 33, "AD10", XK_Cyrillic_ze, QStringLiteral("\u0437"), QStringLiteral("\u0417")},
        X11Case {"keypadDigit", 83, 87, "KP1", XK_KP_1, QStringLiteral("1"), QStringLiteral("1")},
        X11Case {"deadKeyTypesNothingYet", 33, 34, "AD11", XK_dead_circumflex, std::nullopt, QStringLiteral("key 33")},
        X11Case {"functionKey", 122, 67, "FK01", XK_F1, std::nullopt, QStringLiteral("key 122")},
        X11Case {"keypadEnterIsBlank", 76, 104, "KPEN", XK_KP_Enter, QStringLiteral("\r"), QStringLiteral("key 76")},
        X11Case {"forwardDeleteIsControl", 117, 119, "DELE", XK_Delete, QStringLiteral("\u007F"),
            QStringLiteral("key 117")},
        X11Case {"keyTypesNoSymbol", 0, 38, "AC01", 0, std::nullopt, QStringLiteral("key 0")}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(X11PhysicalKeysTest, AKeyIsFoundByItsPlaceOrAnAliasOfItAndOnlyThere)
{
    // A keycodes file that calls the key beside Return by its ISO name and the US one an alias.
    const std::vector<X11PhysicalKeys::KeyName> names {{51, "AC12"}, {33, "AD10"}, {94, "LSGT"}};
    const std::vector<X11PhysicalKeys::Alias> aliases {{"BKSL", "AC12"}, {"LatP", "AD10"}};
    const X11PhysicalKeys keys(names, aliases);
    EXPECT_EQ(keys.keycode(42), 51u);
    EXPECT_EQ(keys.virtualKey(51), 42);
    EXPECT_EQ(keys.keycode(35), 33u);
    // A key in no place of the table (the ISO key beside left Shift) has no virtual key; a place
    // this keyboard lacks (A) has no key, whatever another key types.
    EXPECT_EQ(keys.virtualKey(94), std::nullopt);
    FakeMapping mapping;
    mapping.typed[94] = XK_a;
    EXPECT_EQ(characterForVirtualKey(0, keys, mapping), std::nullopt);
    // Codes the table leaves out (10 is the ISO section key, 63 Function) and codes past it.
    for (int code : {10, 63, 128, 60000, -1})
        EXPECT_EQ(keys.keycode(code), 0u) << code;
}

} // namespace
} // namespace tolvane
