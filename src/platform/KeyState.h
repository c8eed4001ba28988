#pragma once
// Whether a key is held right now, asked of the whole session rather than of our own windows:
// the overlay polls Tab and the shop keys while the game has the keyboard focus.

#include <cstddef>
#include <functional>
#include <set>
#include <span>
#include <utility>

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

    // Asks to be told, on this thread, whenever a key may have gone down or up since it was last
    // told (or the keyboard's keys changed), so that a poll can rest while nothing moves. Once
    // watching, the state stays current between readings. Each change is told as it is taken in:
    // a reading made while being told sees that change and none after it, so a tap whose release
    // came in with its press still reads held once. False where the platform cannot tell: the
    // caller then reads at its own pace. One watcher at a time; a new one replaces the last.
    virtual bool watchChanges(std::function<void()> changed) const
    {
        (void)changed;
        return false;
    }
    // Tells no more; the state is kept current only as far as readings need it.
    virtual void stopWatching() const { }
};

// Test double: holds exactly the keys it is told to, and counts how often it was read. Tells a
// watcher of every change when asked to watch, like a reader fed by key events.
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
    bool watchChanges(std::function<void()> changed) const override
    {
        if (!tellsChanges)
            return false;
        watcher_ = std::move(changed);
        return true;
    }
    void stopWatching() const override { watcher_ = nullptr; }
    bool watched() const { return watcher_ != nullptr; }

    void setDown(int virtualKeyCode, bool down)
    {
        const bool changed = down ? held_.insert(virtualKeyCode).second : held_.erase(virtualKeyCode) > 0;
        if (changed && watcher_)
            watcher_();
    }

    // Whether it offers to tell of changes, as a reader fed by key events does.
    bool tellsChanges = false;
    // Readings of the keyboard so far: one per isKeyDown, one per readKeys.
    mutable int reads = 0;

private:
    std::set<int> held_;
    mutable std::function<void()> watcher_;
};

} // namespace tolvane
