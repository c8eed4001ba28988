#pragma once
// The keys held on the whole display, kept in the process by XInput2's raw key events, so that
// reading them costs no round trip to the server. Raw events are sent to the root window whatever
// window has the focus and, from XInput 2.1 on, whoever grabs the keyboard. Internal to the
// platform layer; the connection is the caller's and reads no other events but XKB notices.

#include <array>
#include <memory>

struct _XDisplay;
union _XEvent;

namespace tolvane {

class X11RawKeys {
public:
    // One bit a keycode, as XQueryKeymap reports them.
    using Keymap = std::array<char, 32>;

    // None when the server lacks XInput 2.1 or later (before 2.1 a grab of another client hides
    // the raw events).
    static std::unique_ptr<X11RawKeys> open(_XDisplay* display);
    ~X11RawKeys();
    X11RawKeys(const X11RawKeys&) = delete;
    X11RawKeys& operator=(const X11RawKeys&) = delete;

    // Selects the events and takes the keymap once from the server as the state they change.
    void start();
    // Selects no more events and drops those already sent (one round trip): a stream nobody
    // reads would pile up in the server as the player types.
    void stop();
    bool running() const { return running_; }

    // Applies an event taken off the connection's queue; false when it is not one of the stream's.
    // A change of the devices (one added, removed, enabled or disabled) takes the keymap from the
    // server again, since a key of a vanished keyboard is never released.
    bool handle(_XEvent& event);
    const Keymap& keymap() const { return keymap_; }

private:
    X11RawKeys(_XDisplay* display, int opcode);
    void select(bool on);
    void takeKeymap();

    _XDisplay* display_;
    int opcode_;
    bool running_ = false;
    Keymap keymap_ {};
};

} // namespace tolvane
