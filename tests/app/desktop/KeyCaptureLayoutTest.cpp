// Binding a key under layouts that type other characters than the US one on the same keys
// (Russian alone, Russian before US, German, French): the key is taken by its place on the
// keyboard, named by what the layout types on it, and is the key the overlay reads while it is
// held, whatever the layout in effect.

#include "../mainwindow/MainWindowViewFixture.h"
#include "Await.h"
#include "DesktopSupport.h"

#include "app/mainwindow/KeyNaming.h"
#include "app/mainwindow/MainWindowController.h"
#include "app/mainwindow/MainWindowView.h"
#include "platform/X11KeyCodeNamer.h"
#include "platform/X11Platform.h"

#include <QMainWindow>

#include <X11/keysym.h>

namespace tolvane::test {
namespace {

using namespace std::chrono_literals;

struct LayoutCase {
    const char* name;
    const char* layouts; // for setxkbmap, the first in effect
    unsigned keycode; // the key pressed, by the X server's (evdev) number
    int virtualKey; // the code of the key's place
    const char16_t* label; // what the layout types on it, upper-cased
};

void PrintTo(const LayoutCase& c, std::ostream* os)
{
    *os << c.name;
}

class KeyCaptureOnAnotherLayout : public MainWindowModels, public ::testing::WithParamInterface<LayoutCase> {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(keyboard.isOpen());
        // The key numbers below are the evdev ones, which every current X server uses.
        ASSERT_EQ(keyboard.keycode(XK_p), 33u);
        // The key state is read once under the US layout first: what it keeps must still hold
        // after the switch.
        EXPECT_FALSE(keys->isKeyDown(GetParam().virtualKey));
        ASSERT_TRUE(setKeyboardLayouts(QString::fromLatin1(GetParam().layouts)));
    }
    void TearDown() override
    {
        keyboard.press(GetParam().keycode, false);
        setKeyboardLayouts(QStringLiteral("us"));
        MainWindowModels::TearDown();
    }

    FakeKeyboard keyboard;
    const std::unique_ptr<KeyState> keys = makeX11KeyState();
};

TEST_P(KeyCaptureOnAnotherLayout, AKeyIsBoundByItsPlaceNamedByTheLayoutAndReadWhileHeld)
{
    const LayoutCase& c = GetParam();
    MainWindowController controller(
        store, *champVM, runeVM, [] { return true; }, [] {});
    controller.show(MainTab::settings);
    ASSERT_TRUE(spinUntil([&] { return controller.window()->isActiveWindow(); }, 30s));

    controller.view().callbacks().onCaptureShop();
    keyboard.tap(c.keycode);
    ASSERT_TRUE(spinUntil([&] { return !controller.isCapturing(); }, 30s)) << "the key was not taken";
    EXPECT_EQ(store.shopKeyCode(), c.virtualKey);
    EXPECT_EQ(SettingsWindowController::keyLabel(store.shopKeyCode(), *makeX11KeyCodeNamer()),
        QString::fromUtf16(c.label));

    keyboard.press(c.keycode, true);
    EXPECT_TRUE(spinUntil([&] { return keys->isKeyDown(int(store.shopKeyCode())); }, 30s)) << "not read as held";
    keyboard.press(c.keycode, false);
    EXPECT_TRUE(spinUntil([&] { return !keys->isKeyDown(int(store.shopKeyCode())); }, 30s)) << "still read as held";
}

INSTANTIATE_TEST_SUITE_P(Layouts, KeyCaptureOnAnotherLayout,
    ::testing::Values(
        // The P key types з; no key of a Russian-only keyboard types a Latin letter.
        LayoutCase {"russianOnly", "ru", 33, 35, u"\u0417"},
        // The Z key types я in the Russian group in effect.
        LayoutCase {"russianBeforeUs", "ru,us", 52, 6, u"\u042F"},
        // Y and Z change places.
        LayoutCase {"german", "de", 29, 16, u"Z"},
        // A and Q change places; the digit row types & and the like unshifted.
        LayoutCase {"french", "fr", 24, 12, u"A"}, LayoutCase {"frenchDigitRow", "fr", 10, 18, u"&"}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace tolvane::test
