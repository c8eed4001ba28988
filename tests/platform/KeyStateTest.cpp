// The key state read from the X server while xdotool holds keys, as a user would.
#include "XTool.h"

#include "Await.h"
#include "platform/X11KeyTable.h"
#include "platform/X11Platform.h"

#include <map>

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

// The table maps 105 codes, each to keysyms of its own: a keysym under two codes would read one
// key as both, and a code listed twice silently loses one of its two entries.
TEST(X11KeyTable, EveryKeyIsListedOnceWithKeysymsOfItsOwn)
{
    std::map<unsigned long, int> codeOf;
    int codes = 0;
    for (int code = 0; code < 128; ++code) {
        const auto keysyms = X11KeyTable::keysymsForVirtualKey(code);
        codes += keysyms ? 1 : 0;
        for (unsigned long keysym : keysyms.value_or(X11KeyTable::Keysyms {})) {
            if (keysym == 0)
                continue;
            const auto [first, fresh] = codeOf.emplace(keysym, code);
            EXPECT_TRUE(fresh) << "keysym " << keysym << " of code " << code << " is already code " << first->second;
        }
    }
    EXPECT_EQ(codes, 105);
}

} // namespace
} // namespace tolvane
