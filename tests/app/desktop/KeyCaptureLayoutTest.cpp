// Binding a key while a non-Latin layout is in effect (Russian first, US second, as a Russian
// user types): the key is taken by where it is on the keyboard, named by what the layout types
// on it, and is one the overlay can read while it is held.

#include "../mainwindow/MainWindowViewFixture.h"
#include "Await.h"
#include "DesktopSupport.h"

#include "app/mainwindow/KeyNaming.h"
#include "app/mainwindow/MainWindowController.h"
#include "app/mainwindow/MainWindowView.h"
#include "platform/X11KeyCodeNamer.h"
#include "platform/X11Platform.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMainWindow>

#include <X11/keysym.h>

namespace tolvane::test {
namespace {

using namespace std::chrono_literals;

// The texts of the key presses the application receives.
class TypedTexts : public QObject {
public:
    TypedTexts() { qApp->installEventFilter(this); }
    ~TypedTexts() override { qApp->removeEventFilter(this); }
    QStringList texts;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress)
            texts << static_cast<QKeyEvent*>(event)->text();
        return false;
    }
};

class KeyCaptureOnARussianLayout : public MainWindowModels {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(keyboard.isOpen());
        ASSERT_TRUE(setKeyboardLayouts(QStringLiteral("ru,us")));
    }
    void TearDown() override
    {
        setKeyboardLayouts(QStringLiteral("us"));
        MainWindowModels::TearDown();
    }

    FakeKeyboard keyboard;
};

TEST_F(KeyCaptureOnARussianLayout, AKeyIsBoundByItsPlaceAndNamedByTheLayout)
{
    MainWindowController controller(
        store, *champVM, runeVM, [] { return true; }, [] {});
    controller.show(MainTab::settings);
    ASSERT_TRUE(spinUntil([&] { return controller.window()->isActiveWindow(); }, 30s));

    // The Z key of the Latin group types "я" in the Russian one.
    const unsigned keyZ = keyboard.keycode(XK_z);
    ASSERT_NE(keyZ, 0u);
    // Until the application has read the new layout its presses still type "z".
    TypedTexts typed;
    ASSERT_TRUE(spinUntil(
        [&] {
            typed.texts.clear();
            keyboard.tap(keyZ);
            spinUntil([&] { return !typed.texts.isEmpty(); }, 1s);
            return typed.texts.contains(QStringLiteral("\u044F"));
        },
        30s));

    controller.view().callbacks().onCaptureShop();
    keyboard.tap(keyZ);
    ASSERT_TRUE(spinUntil([&] { return !controller.isCapturing(); }, 30s)) << "the key was not taken";
    EXPECT_EQ(store.shopKeyCode(), 6); // the Z key's code

    EXPECT_EQ(
        SettingsWindowController::keyLabel(store.shopKeyCode(), *makeX11KeyCodeNamer()), QStringLiteral("\u042F"));
    const std::unique_ptr<KeyState> keys = makeX11KeyState();
    keyboard.press(keyZ, true);
    EXPECT_TRUE(spinUntil([&] { return keys->isKeyDown(int(store.shopKeyCode())); }, 30s));
    keyboard.press(keyZ, false);
}

} // namespace
} // namespace tolvane::test
