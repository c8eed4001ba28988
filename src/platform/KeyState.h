#pragma once
// Whether a key is held right now, asked of the whole session rather than of our own windows:
// the overlay polls Tab and the shop keys while the game has the keyboard focus.

#include <set>

namespace tolvane {

class KeyState {
public:
    virtual ~KeyState() = default;
    // By the overlay's virtual key code (core/overlay/KeyCodes.h). False for codes the
    // platform cannot read; never blocks for long.
    virtual bool isKeyDown(int virtualKeyCode) const = 0;
};

// Test double: holds exactly the keys it is told to.
class FakeKeyState final : public KeyState {
public:
    bool isKeyDown(int virtualKeyCode) const override { return held_.contains(virtualKeyCode); }
    void setDown(int virtualKeyCode, bool down)
    {
        if (down)
            held_.insert(virtualKeyCode);
        else
            held_.erase(virtualKeyCode);
    }

private:
    std::set<int> held_;
};

} // namespace tolvane
