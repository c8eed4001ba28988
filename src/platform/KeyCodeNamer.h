#pragma once
// What the user's keyboard layout types for a key, so that a stored key binding can be shown by
// the character on the key cap rather than by its code.

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
    void setText(quint16 keyCode, const QString& text) { texts_[keyCode] = text; }
    int calls() const { return calls_; }

private:
    std::map<quint16, QString> texts_;
    mutable int calls_ = 0;
};

} // namespace tolvane
