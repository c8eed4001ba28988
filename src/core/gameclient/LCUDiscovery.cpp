#include "core/gameclient/LCUDiscovery.h"

#include <QProcess>
#include <QStringList>

namespace tolvane {

namespace {

// ps only reads /proc, but a process stuck in the kernel can stall that read; a discovery that
// never returns would stall every later poll, so a run this long counts as "not found".
constexpr int psLimitMs = 15000;

} // namespace

std::optional<ClientCredentials> LCUDiscovery::discover()
{
    QProcess ps;
    ps.setProgram(QStringLiteral("/bin/ps"));
    ps.setArguments({QStringLiteral("-A"), QStringLiteral("-o"), QStringLiteral("command")});
    ps.setInputChannelMode(QProcess::ForwardedInputChannel);
    ps.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    ps.start(QIODevice::ReadOnly);
    if (!ps.waitForStarted())
        return std::nullopt;
    if (!ps.waitForFinished(psLimitMs)) {
        ps.kill();
        ps.waitForFinished();
        return std::nullopt;
    }
    return fromProcessList(ps.readAllStandardOutput());
}

std::optional<ClientCredentials> LCUDiscovery::fromProcessList(const QByteArray& psOutput)
{
    // Decoded leniently: one process whose name is not valid UTF-8 must not hide the client's
    // line, so invalid bytes become U+FFFD instead of emptying the whole list.
    const QString text = QString::fromUtf8(psOutput);
    for (const QString& line : text.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        if (!line.contains(QLatin1String("LeagueClientUx")) || !line.contains(QLatin1String("--app-port=")))
            continue;
        auto parsed = ClientCredentials::fromProcessArgs(line);
        if (auto* creds = std::get_if<ClientCredentials>(&parsed))
            return *creds;
        return std::nullopt;
    }
    return std::nullopt;
}

} // namespace tolvane
