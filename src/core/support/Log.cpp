#include "core/support/Log.h"

#include <utility>

namespace tolvane::log {

void error(const QLoggingCategory& category, const QString& message)
{
    if (category.isCriticalEnabled())
        QMessageLogger(nullptr, 0, nullptr, category.categoryName()).critical().noquote() << message;
}

void info(const QLoggingCategory& category, const QString& message)
{
    if (category.isInfoEnabled())
        QMessageLogger(nullptr, 0, nullptr, category.categoryName()).info().noquote() << message;
}

void warning(const QLoggingCategory& category, const QString& message)
{
    if (category.isWarningEnabled())
        QMessageLogger(nullptr, 0, nullptr, category.categoryName()).warning().noquote() << message;
}

RepeatedLine::RepeatedLine(std::chrono::milliseconds period, Clock clock)
    : period_(period)
    , clock_(clock ? std::move(clock) : Clock([] { return std::chrono::steady_clock::now(); }))
{
}

RepeatedLine::Say RepeatedLine::occurred()
{
    const auto now = clock_();
    const bool periodOver = said_ && now - lastSaid_ >= period_;
    if (!said_ || (periodOver && pending_ == 0)) {
        said_ = true;
        lastSaid_ = now;
        return Say::line;
    }
    ++pending_;
    if (!periodOver)
        return Say::nothing;
    lastSaid_ = now;
    counted_ = std::exchange(pending_, 0);
    return Say::count;
}

} // namespace tolvane::log
