#include "core/support/Log.h"

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

} // namespace tolvane::log
