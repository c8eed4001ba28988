#pragma once
// Whether a key is held right now, asked of the whole session rather than of our own windows:
// the overlay polls Tab and the shop keys while the game has the keyboard focus.

#include <cstddef>
#include <set>
#include <span>

namespace tolvane {

class KeyState {
public:
    virtual ~KeyState() = default;
    // By the overlay's virtual key code (core/overlay/KeyCodes.h). False for codes the
    // platform cannot read; never blocks for long.
    virtual bool isKeyDown(int virtualKeyCode) const = 0;
    // Several keys from one reading of the keyboard: down[i] for virtualKeyCodes[i]. The spans
    // have the same length. A poll that asks for several keys pays for one reading, not one each.
    virtual void readKeys(std::span<const int> virtualKeyCodes, std::span<bool> down) const
    {
        for (std::size_t i = 0; i < virtualKeyCodes.size() && i < down.size(); ++i)
            down[i] = isKeyDown(virtualKeyCodes[i]);
    }
};

// Test double: holds exactly the keys it is told to, and counts how often it was read.
class FakeKeyState final : public KeyState {
public:
    bool isKeyDown(int virtualKeyCode) const override
    {
        ++reads;
        return held_.contains(virtualKeyCode);
    }
    void readKeys(std::span<const int> virtualKeyCodes, std::span<bool> down) const override
    {
        ++reads;
        for (std::size_t i = 0; i < virtualKeyCodes.size() && i < down.size(); ++i)
            down[i] = held_.contains(virtualKeyCodes[i]);
    }
    void setDown(int virtualKeyCode, bool down)
    {
        if (down)
            held_.insert(virtualKeyCode);
        else
            held_.erase(virtualKeyCode);
    }

    // Readings of the keyboard so far: one per isKeyDown, one per readKeys.
    mutable int reads = 0;

private:
    std::set<int> held_;
};

} // namespace tolvane
