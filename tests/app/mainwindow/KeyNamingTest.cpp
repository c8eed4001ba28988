#include "app/mainwindow/KeyNaming.h"

#include "platform/KeyCodeNamer.h"
#include "platform/X11KeyCodeNamer.h"

#include <gtest/gtest.h>

#include <map>

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

// A keyboard mapping as the X server would describe it: which key carries which keysyms, and
// what each key types unmodified in the group now in effect.
class FakeMapping final : public X11KeyboardMapping {
public:
    unsigned keycodeForKeysym(unsigned long keysym) const override
    {
        ++asked;
        auto it = carriers.find(keysym);
        return it == carriers.end() ? 0 : it->second;
    }
    unsigned long unmodifiedKeysym(unsigned keycode) const override
    {
        auto it = typed.find(keycode);
        return it == typed.end() ? 0 : it->second;
    }
    // The key carries the keysym somewhere and types `types` unmodified.
    void key(unsigned keycode, unsigned long carries, unsigned long types)
    {
        carriers[carries] = keycode;
        typed[keycode] = types;
    }

    std::map<unsigned long, unsigned> carriers;
    std::map<unsigned, unsigned long> typed;
    mutable int asked = 0;
};

class MappingNamer final : public KeyCodeNamer {
public:
    explicit MappingNamer(const X11KeyboardMapping& mapping)
        : mapping_(mapping)
    {
    }
    std::optional<QString> character(quint16 keyCode) const override
    {
        return characterForVirtualKey(keyCode, mapping_);
    }
    std::optional<int> virtualKey(quint32 nativeKeyCode) const override
    {
        return virtualKeyForKeycode(nativeKeyCode, mapping_);
    }

private:
    const X11KeyboardMapping& mapping_;
};

struct X11Case {
    const char* name;
    int virtualKey;
    unsigned keycode;
    unsigned long carries;
    unsigned long types;
    std::optional<QString> character;
    QString label;
};

class X11KeyNameTest : public ::testing::TestWithParam<X11Case> { };

TEST_P(X11KeyNameTest, VirtualKeyIsNamedByWhatItsKeyTypesAndFoundFromItsKey)
{
    const X11Case& c = GetParam();
    FakeMapping mapping;
    mapping.key(c.keycode, c.carries, c.types);
    EXPECT_EQ(characterForVirtualKey(quint16(c.virtualKey), mapping), c.character);
    EXPECT_EQ(keyLabel(c.virtualKey, MappingNamer(mapping)), c.label);
    // Whatever the key types now, it is the key that carries the virtual key's keysym.
    EXPECT_EQ(MappingNamer(mapping).virtualKey(c.keycode), c.virtualKey);
}

INSTANTIATE_TEST_SUITE_P(Layouts, X11KeyNameTest,
    ::testing::Values(X11Case {"usLetter", 35, 33, XK_p, XK_p, QStringLiteral("p"), QStringLiteral("P")},
        // French layout: the key carrying 1 types & without Shift.
        X11Case {"frenchDigitRow", 18, 10, XK_1, XK_ampersand, QStringLiteral("&"), QStringLiteral("&")},
        // Russian group in effect: the P key types the Cyrillic ze.
        X11Case {"cyrillicGroup", 35, 33, XK_p, XK_Cyrillic_ze, QStringLiteral("\u0437"), QStringLiteral("\u0417")},
        X11Case {"keypadDigit", 83, 87, XK_KP_1, XK_KP_1, QStringLiteral("1"), QStringLiteral("1")},
        X11Case {"deadKeyTypesNothingYet", 33, 34, XK_bracketleft, XK_dead_circumflex, std::nullopt,
            QStringLiteral("key 33")},
        X11Case {"functionKey", 122, 67, XK_F1, XK_F1, std::nullopt, QStringLiteral("key 122")},
        X11Case {
            "keypadEnterIsBlank", 76, 104, XK_KP_Enter, XK_KP_Enter, QStringLiteral("\r"), QStringLiteral("key 76")},
        X11Case {"forwardDeleteIsControl", 117, 119, XK_Delete, XK_Delete, QStringLiteral("\u007F"),
            QStringLiteral("key 117")},
        X11Case {"keyTypesNoSymbol", 0, 38, XK_a, 0, std::nullopt, QStringLiteral("key 0")}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(X11KeyNameLookupTest, SecondKeysymIsTriedWhenTheFirstIsOnNoKey)
{
    FakeMapping mapping;
    mapping.key(23, XK_ISO_Left_Tab, XK_Tab);
    EXPECT_EQ(characterForVirtualKey(48, mapping), QStringLiteral("\t"));
    EXPECT_EQ(mapping.asked, 2);
}

TEST(X11KeyNameLookupTest, KeyAbsentFromKeyboardOrTableHasNoCharacter)
{
    FakeMapping mapping;
    mapping.key(33, XK_p, XK_p);
    // No key of this keyboard carries an a.
    EXPECT_EQ(characterForVirtualKey(0, mapping), std::nullopt);
    // Codes the table leaves out (10 is the ISO section key, 63 Function) are not asked about.
    const int before = mapping.asked;
    EXPECT_EQ(characterForVirtualKey(10, mapping), std::nullopt);
    EXPECT_EQ(characterForVirtualKey(63, mapping), std::nullopt);
    EXPECT_EQ(characterForVirtualKey(60000, mapping), std::nullopt);
    EXPECT_EQ(mapping.asked, before);
}

} // namespace
} // namespace tolvane
