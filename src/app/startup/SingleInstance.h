#pragma once
// One running copy of the app per user session. The first launch listens on a local socket
// named after the user, in the user's runtime folder; a later launch finds it, hands the running
// copy a "reopen" (which shows its main window) and ends. A socket left behind by a copy that
// was killed accepts no connection: the next launch removes it and takes its place.

#include <QObject>
#include <QString>

#include <memory>

class QLocalServer;
class QLocalSocket;

namespace tolvane {

class SingleInstance : public QObject {
    Q_OBJECT
public:
    enum class Role {
        // This process runs the app; reopen requests arrive through reopenRequested().
        primary,
        // Another copy runs and was asked to reopen: this process should end.
        secondary,
    };

    // The socket's path: "tolvane-<user>" in the user's runtime folder.
    static QString defaultServerName();

    explicit SingleInstance(QString serverName = defaultServerName(), QObject* parent = nullptr);
    ~SingleInstance() override;

    // Blocks for a moment at most. A copy that cannot listen (the folder is not writable) still
    // runs, alone and unreachable, rather than not at all.
    Role claim();
    // Gives up the name, so that a copy started from now on runs instead of reopening this one
    // (a restart).
    void release();

    bool isListening() const;
    const QString& serverName() const { return serverName_; }

signals:
    void reopenRequested();

private:
    bool handOff();
    void listen();
    void serve(QLocalSocket* socket);

    QString serverName_;
    std::unique_ptr<QLocalServer> server_;
};

} // namespace tolvane
