#pragma once
// One client connection to the X display for a platform service (internal to the X11
// implementations), and a trap that turns X errors into a failed call instead of the default
// handler, which would end the process when another program's window vanishes under us.

struct _XDisplay;

namespace tolvane {

class X11Connection {
public:
    X11Connection();
    ~X11Connection();
    X11Connection(const X11Connection&) = delete;
    X11Connection& operator=(const X11Connection&) = delete;

    // Null when no display could be opened.
    _XDisplay* display() const { return display_; }

private:
    _XDisplay* display_ = nullptr;
};

// While alive, X errors on the display are counted instead of reported. failed() waits for the
// server to answer everything sent so far.
class X11ErrorTrap {
public:
    explicit X11ErrorTrap(_XDisplay* display);
    ~X11ErrorTrap();
    X11ErrorTrap(const X11ErrorTrap&) = delete;
    X11ErrorTrap& operator=(const X11ErrorTrap&) = delete;

    bool failed();

private:
    _XDisplay* display_;
    int errorsBefore_;
    int (*previous_)(_XDisplay*, void*);
};

} // namespace tolvane
