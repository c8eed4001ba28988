// The key state read from the X server while xdotool holds keys, as a user would.
#include "XTool.h"

#include "Await.h"
#include "platform/X11KeyTable.h"
#include "platform/X11PhysicalKeys.h"
#include "platform/X11Platform.h"

#include <QGuiApplication>

#include <map>
#include <string_view>

#include <gtest/gtest.h>

namespace tolvane {
namespace {

struct HeldKey {
    int virtualKeyCode;
    const char* keysym;
};

class X11KeyStateTest : public ::testing::TestWithParam<HeldKey> {
protected:
    void TearDown() override { test::xdotool({QStringLiteral("keyup"), QString::fromLatin1(GetParam().keysym)}); }
    std::unique_ptr<KeyState> keys = makeX11KeyState();
};

TEST_P(X11KeyStateTest, ReadsHeldWhileTheKeyIsDownAndNotAfterwards)
{
    const HeldKey key = GetParam();
    EXPECT_FALSE(keys->isKeyDown(key.virtualKeyCode));

    ASSERT_TRUE(test::xdotool({QStringLiteral("keydown"), QString::fromLatin1(key.keysym)}));
    EXPECT_TRUE(test::spinUntil([&] { return keys->isKeyDown(key.virtualKeyCode); }));
    // Another key is not taken for this one.
    const int other = key.virtualKeyCode == 53 ? 48 : 53;
    EXPECT_FALSE(keys->isKeyDown(other));

    ASSERT_TRUE(test::xdotool({QStringLiteral("keyup"), QString::fromLatin1(key.keysym)}));
    EXPECT_TRUE(test::spinUntil([&] { return !keys->isKeyDown(key.virtualKeyCode); }));
}

INSTANTIATE_TEST_SUITE_P(Keys, X11KeyStateTest,
    // One key of each kind: the table behind the others is the same lookup.
    ::testing::Values(HeldKey {48, "Tab"}, HeldKey {35, "p"}, HeldKey {55, "Super_L"}, HeldKey {111, "F12"},
        HeldKey {76, "KP_Enter"}),
    [](const auto& info) { return std::string(info.param.keysym); });

TEST(X11KeyState, CodesWithoutAKeyReadAsNotHeld)
{
    auto keys = makeX11KeyState();
    ASSERT_TRUE(test::xdotool({QStringLiteral("keydown"), QStringLiteral("Tab")}));
    ASSERT_TRUE(test::spinUntil([&] { return keys->isKeyDown(48); }));
    // Function (63) has no X key; the others are not key codes at all.
    for (int code : {63, -1, 10, 200, 70000})
        EXPECT_FALSE(keys->isKeyDown(code)) << code;
    test::xdotool({QStringLiteral("keyup"), QStringLiteral("Tab")});
}

// The table maps 105 codes, each to a place of its own: a place under two codes would read one key
// as both. And each place is a key of the server's keyboard (the xkeyboard-config names every X
// server uses), so a misspelt name shows here rather than as a key that is never read.
TEST(X11KeyTable, EveryKeyIsListedOnceInAPlaceOfItsOwnThatTheKeyboardHas)
{
    const X11PhysicalKeys keyboard = X11PhysicalKeys::read(qGuiApp->nativeInterface<QNativeInterface::QX11Application>()->display());
    std::map<std::string_view, int> codeOf;
    int codes = 0;
    for (int code = 0; code < X11KeyTable::codeBound; ++code) {
        const auto name = X11KeyTable::keyNameForVirtualKey(code);
        if (!name)
            continue;
        ++codes;
        const auto [first, fresh] = codeOf.emplace(*name, code);
        EXPECT_TRUE(fresh) << *name << " of code " << code << " is already code " << first->second;
        EXPECT_NE(keyboard.keycode(code), 0u) << "no key is named " << *name;
    }
    EXPECT_EQ(codes, 105);
}

} // namespace
} // namespace tolvane
