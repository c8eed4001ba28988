#pragma once
// Log categories: one per component, all under "local.tolvane". Failures go out at error
// (critical) level, successful loads at info level, as the rest of the code expects.

#include <QLoggingCategory>
#include <QString>

// Defines a category function `fn` for "local.tolvane.<name>" in the including .cpp file.
#define TOLVANE_LOG_CATEGORY(fn, name) Q_LOGGING_CATEGORY(fn, "local.tolvane." name, QtInfoMsg)

namespace tolvane::log {

void error(const QLoggingCategory& category, const QString& message);
void info(const QLoggingCategory& category, const QString& message);
void warning(const QLoggingCategory& category, const QString& message);

} // namespace tolvane::log
