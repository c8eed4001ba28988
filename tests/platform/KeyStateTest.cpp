// The key state read from the X server while xdotool holds keys, as a user would: from raw key
// events kept in the process, and by asking the server at each reading where those are missing.
#include "XTool.h"

#include "Await.h"
#include "core/overlay/ComboEdgeDetector.h"
#include "platform/X11KeyTable.h"
#include "platform/X11PhysicalKeys.h"
#include "platform/X11Platform.h"

#include <QGuiApplication>
#include <QProcess>
#include <QScopeGuard>
#include <QTimer>

#include <array>
#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <string_view>
#include <thread>
#include <utility>

#include <gtest/gtest.h>

#include <X11/Xlib.h>

namespace tolvane {
namespace {

struct HeldKey {
    int virtualKeyCode;
    const char* keysym;
};

class X11KeyStateTest : public ::testing::TestWithParam<HeldKey> {
protected:
    void TearDown() override { test::xdotool({QStringLiteral("keyup"), QString::fromLatin1(GetParam().keysym)}); }
    std::unique_ptr<X11KeyState> keys = makeX11KeyState();
};

TEST_P(X11KeyStateTest, ReadsHeldWhileTheKeyIsDownAndNotAfterwards)
{
    const HeldKey key = GetParam();
    // The X server of the tests has XInput2: these readings come from raw events.
    ASSERT_TRUE(keys->readsRawEvents());
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
    for (const X11KeyReading reading : {X11KeyReading::rawEventsWhereAvailable, X11KeyReading::roundTrip}) {
        auto keys = makeX11KeyState(reading);
        ASSERT_TRUE(test::xdotool({QStringLiteral("keydown"), QStringLiteral("Tab")}));
        ASSERT_TRUE(test::spinUntil([&] { return keys->isKeyDown(48); }));
        // Function (63) has no X key; the others are not key codes at all.
        for (int code : {63, -1, 10, 200, 70000})
            EXPECT_FALSE(keys->isKeyDown(code)) << code;
        test::xdotool({QStringLiteral("keyup"), QStringLiteral("Tab")});
        ASSERT_TRUE(test::spinUntil([&] { return !keys->isKeyDown(48); }));
    }
}

// The shop-key poll's keys (shop key, Tab as a fallback key, Esc) read fifty times a second by both
// readers side by side, each into an edge detector as the poll has.
class BothReadings : public ::testing::Test {
protected:
    static constexpr std::array<int, 3> codes {35, 48, 53};
    static inline const std::array<const char*, 3> keysyms {"p", "Tab", "Escape"};
    using Held = std::array<bool, 3>;

    struct Poll {
        explicit Poll(std::unique_ptr<X11KeyState> reader)
            : keys(std::move(reader))
        {
        }

        std::unique_ptr<X11KeyState> keys;
        ComboEdgeDetector edges {3};
        Held last {};
        QStringList fired;

        void read()
        {
            keys->readKeys(codes, last);
            for (const int index : edges.firedEdges({last[0], last[1], last[2]}))
                fired << QString::fromLatin1(keysyms[std::size_t(index)]);
        }
    };

    void TearDown() override
    {
        for (const char* keysym : keysyms)
            test::xdotool({QStringLiteral("keyup"), QString::fromLatin1(keysym)});
        if (grabbed_)
            ungrabKeyboard();
    }

    // Another client takes the keyboard, as a game in full screen or a menu does.
    void grabKeyboard()
    {
        Display* display = qGuiApp->nativeInterface<QNativeInterface::QX11Application>()->display();
        grabbed_ = XGrabKeyboard(display, DefaultRootWindow(display), False, GrabModeAsync, GrabModeAsync, CurrentTime)
            == GrabSuccess;
    }
    void ungrabKeyboard()
    {
        Display* display = qGuiApp->nativeInterface<QNativeInterface::QX11Application>()->display();
        XUngrabKeyboard(display, CurrentTime);
        XSync(display, False);
        grabbed_ = false;
    }

    bool grabbed_ = false;
};

TEST_F(BothReadings, GiveTheSameEdgesForTheSameKeys)
{
    Poll raw {makeX11KeyState(X11KeyReading::rawEventsWhereAvailable)};
    Poll roundTrip {makeX11KeyState(X11KeyReading::roundTrip)};
    // And a poll that reads only after it was told a key moved, as the shop-key poll rests.
    Poll watched {makeX11KeyState(X11KeyReading::rawEventsWhereAvailable)};
    ASSERT_TRUE(raw.keys->readsRawEvents());
    ASSERT_FALSE(roundTrip.keys->readsRawEvents());
    ASSERT_FALSE(roundTrip.keys->watchChanges([] {}));
    bool moved = true;
    bool rested = false; // a turn of the watched poll found nothing told
    ASSERT_TRUE(watched.keys->watchChanges([&] { moved = true; }));
    QTimer poll;
    poll.setInterval(std::chrono::milliseconds(20));
    QObject::connect(&poll, &QTimer::timeout, [&] {
        raw.read();
        roundTrip.read();
        if (std::exchange(moved, false))
            watched.read();
        else
            rested = true;
    });
    poll.start();

    struct Step {
        QStringList xdotool;
        Held held;
    };
    const std::vector<Step> steps {
        {{"keydown", "p"}, {true, false, false}},
        {{"keydown", "Tab"}, {true, true, false}},
        {{"keyup", "p"}, {false, true, false}},
        {{"keydown", "p"}, {true, true, false}},
        {{"keyup", "Tab", "p"}, {false, false, false}},
        {{"keydown", "Escape"}, {false, false, true}},
        {{"keydown", "p"}, {true, false, true}},
        {{"keyup", "Escape", "p"}, {false, false, false}},
        // Both again while another client has the keyboard.
        {{"keydown", "p"}, {true, false, false}},
        {{"keyup", "p"}, {false, false, false}},
        {{"keydown", "Escape"}, {false, false, true}},
        {{"keyup", "Escape"}, {false, false, false}},
    };
    for (std::size_t i = 0; i < steps.size(); ++i) {
        if (i == 8) {
            grabKeyboard();
            ASSERT_TRUE(grabbed_);
        }
        const Step& step = steps[i];
        ASSERT_TRUE(test::xdotool(step.xdotool));
        ASSERT_TRUE(test::spinUntil([&] {
            return raw.last == step.held && roundTrip.last == step.held && watched.last == step.held;
        })) << "the readings after xdotool "
            << step.xdotool.join(u' ').toStdString();
        // The watched poll rests before the next step, so only being told can wake it.
        rested = false;
        ASSERT_TRUE(test::spinUntil([&] { return rested; })) << "the watched poll never rested";
    }
    EXPECT_EQ(raw.fired, roundTrip.fired);
    EXPECT_EQ(watched.fired, raw.fired);
    EXPECT_EQ(raw.fired, QStringList({"p", "Tab", "p", "Escape", "p", "p", "Escape"}));
}

// Taps far shorter than the poll's interval, met by a watcher that reads as the shop-key poll does:
// at once on each change it is told of. The event loop is busy while each tap is made, so the
// tap's press and release come in together, after the notices of a new keymap where one is loaded
// first (as when the player switches keyboards), or right after another key's tap; the reading as
// the press is told must still see the key held.
TEST_F(BothReadings, ARestingPollWokenByATapShorterThanItsIntervalSeesIt)
{
    Poll resting {makeX11KeyState(X11KeyReading::rawEventsWhereAvailable)};
    ASSERT_TRUE(resting.keys->watchChanges([&] { resting.read(); }));

    struct Tap {
        QString keysym;
        bool newKeymap = false;
        QString after {}; // a key tapped 15 ms before
    };
    QStringList expected;
    for (const Tap& tap :
        {Tap {"p"}, Tap {"p"}, Tap {"Escape"}, Tap {"p", true}, Tap {"Tab"}, Tap {"p", true}, Tap {"p", false, "q"}}) {
        // The same layout again: the server loads it anew and says so.
        if (tap.newKeymap) {
            ASSERT_EQ(QProcess::execute(QStringLiteral("setxkbmap"), {"-layout", "us"}), 0);
        }
        QStringList steps;
        if (!tap.after.isEmpty())
            steps = {"keydown", "--delay", "0", tap.after, "keyup", "--delay", "0", tap.after, "sleep", "0.015"};
        steps += {"keydown", "--delay", "0", tap.keysym, "sleep", "0.005", "keyup", "--delay", "0", tap.keysym};
        ASSERT_TRUE(test::xdotool(steps));
        expected << tap.keysym;
        ASSERT_TRUE(test::spinUntil([&] { return resting.fired.size() == expected.size(); }))
            << "the tap of " << tap.keysym.toStdString() << " was not seen";
        // The release is read too, so the next tap is a fresh press.
        ASSERT_TRUE(test::spinUntil([&] { return resting.last == Held {}; }));
    }
    EXPECT_EQ(resting.fired, expected);
}

TEST_F(BothReadings, AKeyHeldBeforeTheFirstReadingReadsHeld)
{
    ASSERT_TRUE(test::xdotool({QStringLiteral("keydown"), QStringLiteral("Tab")}));
    // The server has the key down once a reading that asks it says so.
    const auto asking = makeX11KeyState(X11KeyReading::roundTrip);
    ASSERT_TRUE(test::spinUntil([&] { return asking->isKeyDown(48); }));

    const auto raw = makeX11KeyState();
    EXPECT_TRUE(raw->isKeyDown(48));
    // And its release still comes through, from the events.
    ASSERT_TRUE(test::xdotool({QStringLiteral("keyup"), QStringLiteral("Tab")}));
    EXPECT_TRUE(test::spinUntil([&] { return !raw->isKeyDown(48); }));
}

// A watcher hears of each key as its event arrives, with no reading at all, and of none once it
// stops watching; readings go on either way.
TEST(X11RawKeyState, AWatcherIsToldOfEachKeyUntilItStops)
{
    const auto keys = makeX11KeyState();
    ASSERT_TRUE(keys->readsRawEvents());
    int told = 0;
    ASSERT_TRUE(keys->watchChanges([&] { ++told; }));
    const auto release = qScopeGuard([] { test::xdotool({QStringLiteral("keyup"), QStringLiteral("Tab")}); });

    ASSERT_TRUE(test::xdotool({QStringLiteral("keydown"), QStringLiteral("Tab")}));
    ASSERT_TRUE(test::spinUntil([&] { return told > 0; }));
    EXPECT_TRUE(keys->isKeyDown(48));

    keys->stopWatching();
    const int before = told;
    ASSERT_TRUE(test::xdotool({QStringLiteral("keyup"), QStringLiteral("Tab")}));
    EXPECT_TRUE(test::spinUntil([&] { return !keys->isKeyDown(48); }));
    // The readings keep the stream going again; what they take tells nobody.
    ASSERT_TRUE(test::xdotool({QStringLiteral("keydown"), QStringLiteral("Tab")}));
    EXPECT_TRUE(test::spinUntil([&] { return keys->isKeyDown(48); }));
    EXPECT_EQ(told, before);
}

// While another client holds the whole server, a request of ours would wait for its release: a
// reading from raw events must come back while the server is held.
TEST(X11RawKeyState, ReadsWithoutAskingTheServer)
{
    const auto keys = makeX11KeyState();
    ASSERT_TRUE(keys->readsRawEvents());
    EXPECT_FALSE(keys->isKeyDown(48)); // the stream starts here, with its one request

    std::mutex mutex;
    std::condition_variable changed;
    bool held = false;
    bool read = false;
    bool releasedUnread = false;
    std::thread holder([&] {
        Display* display = XOpenDisplay(nullptr);
        if (display != nullptr) {
            XGrabServer(display);
            XSync(display, False);
        }
        std::unique_lock lock(mutex);
        held = true;
        changed.notify_all();
        // Generous: the reading takes microseconds when it asks the server nothing.
        releasedUnread = !changed.wait_for(lock, std::chrono::seconds(20), [&] { return read; });
        lock.unlock();
        if (display != nullptr) {
            XUngrabServer(display);
            XCloseDisplay(display);
        }
    });
    {
        std::unique_lock lock(mutex);
        changed.wait(lock, [&] { return held; });
    }
    keys->isKeyDown(48);
    {
        std::lock_guard lock(mutex);
        read = true;
    }
    changed.notify_all();
    holder.join();
    EXPECT_FALSE(releasedUnread) << "the reading waited for the server";
}

// The table maps 105 codes, each to a place of its own: a place under two codes would read one key
// as both. And each place is a key of the server's keyboard (the xkeyboard-config names every X
// server uses), so a misspelt name shows here rather than as a key that is never read.
TEST(X11KeyTable, EveryKeyIsListedOnceInAPlaceOfItsOwnThatTheKeyboardHas)
{
    const X11PhysicalKeys keyboard
        = X11PhysicalKeys::read(qGuiApp->nativeInterface<QNativeInterface::QX11Application>()->display());
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
