#pragma once
// What the user's keyboard layout says about keys: what a key types, so that a stored key binding
// can be shown by the character on the key cap rather than by its code, and which key a key
// press came from, so that any key can be bound whatever the layout types on it.

#include <QString>

#include <map>
#include <optional>

namespace tolvane {

class KeyCodeNamer {
public:
    virtual ~KeyCodeNamer() = default;
    // The text the layout in effect now types for the key (an overlay virtual key code) with no
    // modifier held, exactly as produced (blank or control characters included); none when the
    // key types nothing or the layout cannot be read. Asked afresh on each call, so a change of
    // layout shows at once.
    virtual std::optional<QString> character(quint16 keyCode) const = 0;
    // The overlay virtual key code of the physical key with this native key code (the window
    // system's own number for the key, as a key event carries it): the code of the key's place on
    // the keyboard, as the key-state service finds keys, so that a key bound from a key press is
    // the key the overlay reads. The layout in effect does not matter. None for keys the overlay
    // has no code for.
    virtual std::optional<int> virtualKey(quint32 nativeKeyCode) const = 0;
};

// Test double: types exactly the texts it is given.
class FakeKeyCodeNamer final : public KeyCodeNamer {
public:
    std::optional<QString> character(quint16 keyCode) const override
    {
        ++calls_;
        if (auto it = texts_.find(keyCode); it != texts_.end())
            return it->second;
        return std::nullopt;
    }
    std::optional<int> virtualKey(quint32 nativeKeyCode) const override
    {
        if (auto it = keys_.find(nativeKeyCode); it != keys_.end())
            return it->second;
        return std::nullopt;
    }
    void setText(quint16 keyCode, const QString& text) { texts_[keyCode] = text; }
    void setKey(quint32 nativeKeyCode, int virtualKeyCode) { keys_[nativeKeyCode] = virtualKeyCode; }
    int calls() const { return calls_; }

private:
    std::map<quint16, QString> texts_;
    std::map<quint32, int> keys_;
    mutable int calls_ = 0;
};

} // namespace tolvane
