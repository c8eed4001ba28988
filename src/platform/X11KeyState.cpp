// Key state over X11: the keys held on the whole display, whichever window has the focus, which is
// what polling Tab and the shop keys over the game needs. Where the server has XInput 2.1, raw key
// events keep a copy of the keyboard's state in the process and a reading only takes what has
// already arrived on the connection; otherwise each reading is one XQueryKeymap round trip,
// shared by the keys asked together. Keys are found by their place on the keyboard, so the layout
// in effect does not change which key is read. A watcher of the raw stream hears of each change
// as its event arrives on the connection, so that a poll can rest while no key moves.
#include "core/support/Log.h"
#include "platform/X11Connection.h"
#include "platform/X11PhysicalKeys.h"
#include "platform/X11Platform.h"
#include "platform/X11RawKeys.h"

#include <QSocketNotifier>
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

    bool watchChanges(std::function<void()> changed) const override
    {
        Display* display = connection_.display();
        if (!raw_ || display == nullptr)
            return false;
        watcher_ = std::move(changed);
        if (!incoming_) {
            incoming_ = std::make_unique<QSocketNotifier>(ConnectionNumber(display), QSocketNotifier::Read);
            QObject::connect(incoming_.get(), &QSocketNotifier::activated, incoming_.get(),
                [this, display] { takeEvents(display); });
        }
        // The stream runs for as long as the watch does, read or not.
        unread_.stop();
        ensureRunning();
        // Whatever came in with the keymap's reply is already off the socket.
        takeEvents(display);
        return true;
    }

    void stopWatching() const override
    {
        if (!watcher_)
            return;
        watcher_ = nullptr;
        incoming_.reset();
        // Nobody reads it now: a stream nobody reads would only pile up.
        if (raw_ && raw_->running())
            raw_->stop();
    }

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
            // Events that came in with the names' replies left the socket with them: a watcher
            // would not hear of them until the next one.
            if (raw_)
                takeEvents(display);
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
        ensureRunning();
        takeEvents(display);
        return raw_->keymap();
    }

    void ensureRunning() const
    {
        if (raw_->running())
            return;
        raw_->start();
        // Notices were dropped while the stream was stopped.
        keyboardChanged_ = true;
        if (!watcher_)
            unread_.start();
    }

    // Applies what the server has sent already: the socket is read without waiting and nothing
    // is asked of the server. Tells the watcher of each change of a key as it is applied, before
    // the next event: a tap's press and release often arrive together, and a watcher told only
    // once both were in would read the key up, or not be told at all. A change of the keyboard is
    // told with the key change that follows it, else at the end: it comes just before the first
    // key of another keyboard, and a watcher that read on it would take that key's press as news
    // it already had.
    void takeEvents(Display* display) const
    {
        // A reading made while the watcher is told takes nothing more: it would apply the rest of
        // the batch under the watcher's feet.
        if (telling_)
            return;
        bool untoldNotice = false;
        while (raw_->running() && XEventsQueued(display, QueuedAfterReading) > 0) {
            XEvent event;
            XNextEvent(display, &event);
            if (changes_.isNotice(event)) {
                keyboardChanged_ = true;
                untoldNotice = true;
                continue;
            }
            const X11RawKeys::Keymap before = raw_->keymap();
            raw_->handle(event);
            if (raw_->keymap() != before) {
                untoldNotice = false;
                tellWatcher();
            }
        }
        if (untoldNotice)
            tellWatcher();
    }

    void tellWatcher() const
    {
        if (!watcher_)
            return;
        // A copy: the watcher may stop watching while it is told.
        const std::function<void()> tell = watcher_;
        telling_ = true;
        tell();
        telling_ = false;
    }

    // Not while a watch runs: the watch keeps the timer stopped.
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
    mutable std::function<void()> watcher_;
    mutable std::unique_ptr<QSocketNotifier> incoming_;
    mutable bool readSinceCheck_ = false;
    mutable bool telling_ = false;
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
