#pragma once
// Captures log lines while alive (then restores the previous handler), so tests can assert on
// the lines that are part of the behaviour.

#include <QList>
#include <QString>
#include <QtGlobal>

namespace tolvane::test {

struct LogLine {
    QtMsgType type;
    QString category;
    QString message;
};

class LogCapture {
public:
    LogCapture();
    ~LogCapture();
    LogCapture(const LogCapture&) = delete;
    LogCapture& operator=(const LogCapture&) = delete;

    QList<LogLine> lines() const;
    // Lines of one category (the part after "local.tolvane.").
    QList<LogLine> lines(const QString& category) const;
    int count(const QString& message) const;
    bool contains(const QString& fragment) const;
    void clear();

private:
    QtMessageHandler previous_;
};

} // namespace tolvane::test
