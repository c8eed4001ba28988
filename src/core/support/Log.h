#pragma once
// Log categories: one per component, all under "local.tolvane". Failures go out at error
// (critical) level, successful loads at info level, as the rest of the code expects.

#include <QLoggingCategory>
#include <QString>

#include <chrono>
#include <functional>

// Defines a category function `fn` for "local.tolvane.<name>" in the including .cpp file.
#define TOLVANE_LOG_CATEGORY(fn, name) Q_LOGGING_CATEGORY(fn, "local.tolvane." name, QtInfoMsg)

namespace tolvane::log {

void error(const QLoggingCategory& category, const QString& message);
void info(const QLoggingCategory& category, const QString& message);
void warning(const QLoggingCategory& category, const QString& message);

// A line that may come again and again: the first occurrence is said, the ones after it only as a
// count, at most once a period. After a quiet period the line is said again in full.
class RepeatedLine {
public:
    using Clock = std::function<std::chrono::steady_clock::time_point()>;
    enum class Say { nothing, line, count };

    explicit RepeatedLine(std::chrono::milliseconds period = std::chrono::minutes(1), Clock clock = {});

    // Notes one occurrence and tells what to log for it.
    Say occurred();
    // The occurrences the count stands for, after occurred() said Say::count.
    qint64 count() const { return counted_; }

private:
    std::chrono::milliseconds period_;
    Clock clock_;
    std::chrono::steady_clock::time_point lastSaid_;
    bool said_ = false;
    qint64 pending_ = 0;
    qint64 counted_ = 0;
};

} // namespace tolvane::log
