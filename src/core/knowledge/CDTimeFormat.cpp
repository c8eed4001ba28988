#include "core/knowledge/CDTimeFormat.h"

#include <algorithm>
#include <cmath>

namespace tolvane {

namespace {

// Times beyond this (about 285 million years) are clamped before any integer conversion, so
// an absurd or infinite input gives a text instead of undefined behaviour; NaN reads as 0.
constexpr double maxSeconds = 9.0e15;

double sane(double x)
{
    if (std::isnan(x))
        return 0;
    return std::clamp(x, -maxSeconds, maxSeconds);
}

} // namespace

std::optional<CDTimeFormat> CDTimeFormat::fromRawValue(const QString& raw)
{
    for (Value value : allCases) {
        if (CDTimeFormat(value).rawValue() == raw)
            return CDTimeFormat(value);
    }
    return std::nullopt;
}

CDTimeFormat CDTimeFormat::fromNumericCooldownFormat(int64_t value)
{
    if (value == 0)
        return minutesSeconds;
    if (value == 2)
        return minutes;
    return seconds;
}

QString CDTimeFormat::rawValue() const
{
    switch (value_) {
    case minutesSeconds:
        return QStringLiteral("m:ss");
    case minutes:
        return QStringLiteral("minutes");
    case seconds:
        break;
    }
    return QStringLiteral("seconds");
}

QString CDTimeFormat::string(double x) const
{
    x = sane(x);
    const int64_t s = std::max<int64_t>(0, static_cast<int64_t>(std::floor(x)));
    switch (value_) {
    case minutesSeconds:
        return QStringLiteral("%1:%2").arg(s / 60).arg(s % 60, 2, 10, QLatin1Char('0'));
    case minutes:
        return QString::number(std::max<int64_t>(1, static_cast<int64_t>(std::ceil(x / 60.0)))) + QLatin1Char('m');
    case seconds:
        break;
    }
    return QString::number(s);
}

} // namespace tolvane
