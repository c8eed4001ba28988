#include "core/overlay/KeyCodes.h"

#include <algorithm>
#include <array>

namespace tolvane {

namespace {

constexpr std::array<int, 36> readableKeyCodes {// modifiers
    54, 55, 56, 60, 59, 62, 58, 61, 57, 63,
    // editing and navigation
    48, 53, 36, 76, 51, 117, 115, 119, 116, 121, 123, 124, 125, 126,
    // function keys F1 to F12
    122, 120, 99, 118, 96, 97, 98, 100, 101, 109, 103, 111};

} // namespace

bool isReadableWithoutInputMonitoring(qint64 keyCode)
{
    return std::find(readableKeyCodes.begin(), readableKeyCodes.end(), keyCode) != readableKeyCodes.end();
}

} // namespace tolvane
