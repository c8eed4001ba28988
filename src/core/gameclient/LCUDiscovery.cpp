#include "core/gameclient/LCUDiscovery.h"

#include "core/support/Log.h"

#include <QProcess>

#include <utility>

TOLVANE_LOG_CATEGORY(lcDiscovery, "lcu")

namespace tolvane {

namespace {

// ps only reads /proc, but a process stuck in the kernel can stall that read; a discovery that
// never returns would stall every later poll, so a run this long counts as "not found".
constexpr int psLimitMs = 15000;

} // namespace

std::optional<ClientCredentials> LCUDiscovery::discover()
{
    // One for the whole program, so that a run of failures is told once however many pollers ask.
    static ProcessLister ps(
        QStringLiteral("/bin/ps"), {QStringLiteral("-A"), QStringLiteral("-o"), QStringLiteral("command")});
    const std::optional<QByteArray> output = ps.run();
    if (!output)
        return std::nullopt;
    return fromProcessList(*output);
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

LCUDiscovery::ProcessLister::ProcessLister(QString program, QStringList arguments)
    : program_(std::move(program))
    , arguments_(std::move(arguments))
{
}

std::optional<QByteArray> LCUDiscovery::ProcessLister::run()
{
    QProcess process;
    process.setProgram(program_);
    process.setArguments(arguments_);
    process.setInputChannelMode(QProcess::ForwardedInputChannel);
    // Whatever it complains of (no /proc, for one) would come again on every poll.
    process.setStandardErrorFile(QProcess::nullDevice());
    process.start(QIODevice::ReadOnly);
    if (!process.waitForStarted()) {
        failed(QStringLiteral("could not be started (%1)").arg(process.errorString()));
        return std::nullopt;
    }
    if (!process.waitForFinished(psLimitMs)) {
        process.kill();
        process.waitForFinished();
        failed(QStringLiteral("did not finish within %1 s").arg(psLimitMs / 1000));
        return std::nullopt;
    }
    if (process.exitStatus() == QProcess::CrashExit)
        failed(QStringLiteral("was ended by a signal"));
    else if (process.exitCode() != 0)
        failed(QStringLiteral("exited with status %1").arg(process.exitCode()));
    else
        succeeded();
    // Read whatever the status: a list that ends early may still hold the client's line.
    return process.readAllStandardOutput();
}

void LCUDiscovery::ProcessLister::failed(const QString& what)
{
    if (failures_.fetch_add(1) == 0)
        log::error(lcDiscovery(),
            QStringLiteral("cannot list processes, so the game client cannot be found: %1 %2").arg(program_, what));
}

void LCUDiscovery::ProcessLister::succeeded()
{
    const qint64 failures = failures_.exchange(0);
    if (failures > 0)
        log::info(lcDiscovery(),
            QStringLiteral("%1 lists processes again after %2 failed %3")
                .arg(program_)
                .arg(failures)
                .arg(failures == 1 ? QStringLiteral("run") : QStringLiteral("runs")));
}

} // namespace tolvane
