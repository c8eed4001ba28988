#pragma once
// Finds the running game client in the process list and reads its credentials from its command
// line. Blocking: it runs "/bin/ps" and waits for it, so callers run it off the main thread.

#include "core/gameclient/ClientCredentials.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <atomic>
#include <optional>

namespace tolvane {

class LCUDiscovery {
public:
    LCUDiscovery() = delete;

    // No value when no usable game-client process is found. A process list that cannot be had is
    // logged once for a run of such failures, not on every call.
    static std::optional<ClientCredentials> discover();

    // The choice discover makes over the raw output of "ps -A -o command".
    static std::optional<ClientCredentials> fromProcessList(const QByteArray& psOutput);

    // Runs the program that prints the process list. Discovery runs it on every poll, so its own
    // error output is dropped and its failures (not started, stopped, a non-zero exit status) are
    // logged when they begin and, with their count, when the program works again. Safe to share
    // between threads.
    class ProcessLister {
    public:
        ProcessLister(QString program, QStringList arguments);

        // The program's standard output, even after a non-zero exit status; no value when the
        // program could not be started or was stopped at its time limit.
        std::optional<QByteArray> run();

    private:
        void failed(const QString& what);
        void succeeded();

        QString program_;
        QStringList arguments_;
        std::atomic<qint64> failures_ {0};
    };
};

} // namespace tolvane
