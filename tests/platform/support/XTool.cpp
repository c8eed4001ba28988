#include "XTool.h"

#include <QProcess>

#include <cstdio>

namespace tolvane::test {

bool xdotool(const QStringList& arguments)
{
    QProcess process;
    process.start(QStringLiteral("xdotool"), arguments);
    if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        std::fprintf(stderr, "xdotool %s failed: %s\n", qPrintable(arguments.join(u' ')),
            process.readAllStandardError().constData());
        return false;
    }
    return true;
}

} // namespace tolvane::test
