#pragma once
// How a cooldown countdown is written: "m:ss", whole seconds, or whole minutes rounded up.

#include <QString>

#include <array>
#include <cstdint>
#include <optional>

namespace tolvane {

class CDTimeFormat {
public:
    enum Value { minutesSeconds, seconds, minutes };

    constexpr CDTimeFormat(Value value)
        : value_(value)
    {
    }
    constexpr operator Value() const { return value_; }

    static constexpr std::array<Value, 3> allCases {minutesSeconds, seconds, minutes};
    // Exact raw values only: "m:ss", "seconds", "minutes".
    static std::optional<CDTimeFormat> fromRawValue(const QString& raw);
    // The game's own numeric setting: 0 is m:ss, 2 minutes, anything else seconds.
    static CDTimeFormat fromNumericCooldownFormat(int64_t value);

    QString rawValue() const;
    QString menuTitle() const { return rawValue(); }
    // The text of a remaining time in seconds.
    QString string(double seconds) const;

private:
    Value value_;
};

} // namespace tolvane
