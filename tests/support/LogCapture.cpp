#include "LogCapture.h"

#include <QMutex>

namespace tolvane::test {

namespace {
QMutex mutex;
QList<LogLine> captured;

void handler(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    QMutexLocker lock(&mutex);
    captured.append({type, QString::fromUtf8(context.category ? context.category : ""), message});
}
} // namespace

LogCapture::LogCapture()
{
    clear();
    previous_ = qInstallMessageHandler(handler);
}

LogCapture::~LogCapture()
{
    qInstallMessageHandler(previous_);
}

QList<LogLine> LogCapture::lines() const
{
    QMutexLocker lock(&mutex);
    return captured;
}

QList<LogLine> LogCapture::lines(const QString& category) const
{
    QList<LogLine> out;
    for (const LogLine& line : lines())
        if (line.category == QStringLiteral("local.tolvane.") + category)
            out.append(line);
    return out;
}

int LogCapture::count(const QString& message) const
{
    int n = 0;
    for (const LogLine& line : lines())
        n += line.message == message ? 1 : 0;
    return n;
}

bool LogCapture::contains(const QString& fragment) const
{
    for (const LogLine& line : lines())
        if (line.message.contains(fragment))
            return true;
    return false;
}

void LogCapture::clear()
{
    QMutexLocker lock(&mutex);
    captured.clear();
}

} // namespace tolvane::test
