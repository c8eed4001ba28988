// Key state over X11: the keys held on the whole display, whichever window has the focus, which is
// what polling Tab and the shop keys over the game needs. Where the server has XInput 2.1, raw key
// events keep a copy of the keyboard's state in the process and a reading only takes what has
// already arrived on the connection; otherwise each reading is one XQueryKeymap round trip,
// shared by the keys asked together. Keys are found by their place on the keyboard, so the layout
// in effect does not change which key is read.
#include "core/support/Log.h"
#include "platform/X11Connection.h"
#include "platform/X11PhysicalKeys.h"
#include "platform/X11Platform.h"
#include "platform/X11RawKeys.h"

#include <QTimer>

#include <algorithm>
#include <chrono>

#include <X11/Xlib.h>

TOLVANE_LOG_CATEGORY(lcKeyState, "platform")

namespace tolvane {

namespace {

using namespace std::chrono_literals;

class X11KeyStateReader final : public X11KeyState {
public:
    explicit X11KeyStateReader(X11KeyReading reading)
    {
        if (reading == X11KeyReading::rawEventsWhereAvailable && connection_.display() != nullptr) {
            raw_ = X11RawKeys::open(connection_.display());
            if (!raw_)
                log::info(lcKeyState(),
                    QStringLiteral("the X server has no XInput 2.1; held keys are asked of it at each reading"));
        }
        unread_.setInterval(unreadLimit);
        unread_.setTimerType(Qt::CoarseTimer);
        QObject::connect(&unread_, &QTimer::timeout, &unread_, [this] { stopWhenUnread(); });
    }

    bool readsRawEvents() const override { return raw_ != nullptr; }

    bool isKeyDown(int virtualKeyCode) const override
    {
        bool down = false;
        readKeys(std::span<const int>(&virtualKeyCode, 1), std::span<bool>(&down, 1));
        return down;
    }

    void readKeys(std::span<const int> virtualKeyCodes, std::span<bool> down) const override
    {
        for (bool& d : down)
            d = false;
        Display* display = connection_.display();
        if (display == nullptr)
            return;
        const std::size_t count = std::min(virtualKeyCodes.size(), down.size());
        // Only when some asked key exists: a code without a key costs no reading.
        bool anyKey = false;
        for (std::size_t i = 0; i < count && !anyKey; ++i)
            anyKey = X11KeyTable::keyNameForVirtualKey(virtualKeyCodes[i]).has_value();
        if (!anyKey)
            return;

        const X11RawKeys::Keymap& keys = raw_ ? rawKeymap(display) : queriedKeymap(display);
        // The names are read once and again only when the server says the keyboard changed; a
        // switch of layout leaves them as they are.
        if (keyboardChanged_ || !physicalRead_) {
            physical_ = X11PhysicalKeys::read(display);
            if (physical_.isEmpty() && !physicalRead_)
                log::warning(
                    lcKeyState(), QStringLiteral("the keyboard's key names cannot be read; no key reads as held"));
            physicalRead_ = true;
            keyboardChanged_ = false;
        }
        for (std::size_t i = 0; i < count; ++i) {
            const unsigned keycode = physical_.keycode(virtualKeyCodes[i]);
            down[i] = keycode != 0 && keycode < 256 && (keys[keycode / 8] & (1 << (keycode % 8))) != 0;
        }
    }

private:
    // A stream not read for this long is stopped until the next reading (after a match, say).
    static constexpr std::chrono::milliseconds unreadLimit = 2s;

    const X11RawKeys::Keymap& queriedKeymap(Display* display) const
    {
        XQueryKeymap(display, queried_.data());
        keyboardChanged_ = changes_.take() || keyboardChanged_;
        return queried_;
    }

    const X11RawKeys::Keymap& rawKeymap(Display* display) const
    {
        readSinceCheck_ = true;
        if (!raw_->running()) {
            raw_->start();
            // Notices were dropped while the stream was stopped.
            keyboardChanged_ = true;
            unread_.start();
        }
        // Only what the server has sent already: the socket is read without waiting and nothing
        // is asked of the server.
        while (XEventsQueued(display, QueuedAfterReading) > 0) {
            XEvent event;
            XNextEvent(display, &event);
            if (changes_.isNotice(event))
                keyboardChanged_ = true;
            else
                raw_->handle(event);
        }
        return raw_->keymap();
    }

    void stopWhenUnread()
    {
        if (!readSinceCheck_) {
            raw_->stop();
            unread_.stop();
        }
        readSinceCheck_ = false;
    }

    X11Connection connection_;
    mutable X11KeyboardChanges changes_ {connection_.display()};
    std::unique_ptr<X11RawKeys> raw_;
    mutable QTimer unread_;
    mutable bool readSinceCheck_ = false;
    mutable X11RawKeys::Keymap queried_ {};
    mutable X11PhysicalKeys physical_;
    mutable bool physicalRead_ = false;
    mutable bool keyboardChanged_ = false;
};

} // namespace

std::unique_ptr<X11KeyState> makeX11KeyState(X11KeyReading reading)
{
    return std::make_unique<X11KeyStateReader>(reading);
}

} // namespace tolvane
