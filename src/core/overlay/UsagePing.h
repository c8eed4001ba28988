#pragma once
// The anonymous usage heartbeat: every 300 s a random installation id, the application's version
// and the operating system's version go to the maker's heartbeat endpoint, nothing about the
// player or the game. The user's switch and the developer flag are read on every beat, so
// turning either on or off takes effect at the next beat without a restart. Replies and failures
// are ignored and nothing is logged.

#include "core/overlay/MakerWebHost.h"
#include "core/overlay/OverlaySettingsStore.h"
#include "core/overlay/Sleeper.h"
#include "core/overlay/UserDefaults.h"

#include <QObject>
#include <QString>
#include <QUrl>

#include <chrono>
#include <memory>

#include <QCoroTask>

namespace tolvane {

class CancelSource;
class HttpSession;

class UsagePing : public QObject {
    Q_OBJECT
public:
    struct Options {
        QUrl host = MakerWebHost::baseUrl();
        // None: the application's version, or "dev" when it has none.
        std::optional<QString> appVersion;
        std::chrono::milliseconds interval = std::chrono::seconds(300);
        std::shared_ptr<Sleeper> sleeper; // none: real time
    };

    explicit UsagePing(std::shared_ptr<UserDefaults> defaults, QObject* parent = nullptr);
    UsagePing(std::shared_ptr<UserDefaults> defaults, Options options, QObject* parent = nullptr);
    ~UsagePing() override;

    static inline const QString devFlagKey = QStringLiteral("usagePing.dev");
    static inline const QString installIDKey = QStringLiteral("usagePing.installID");

    // The heartbeat endpoint under a host: "/api/heartbeat".
    static QUrl endpoint(const QUrl& host = MakerWebHost::baseUrl());
    // The running system's version as major.minor.patch ("12.0.0" for a system that says "12").
    static QString osVersion();

    // The stored id, made and stored on first use.
    QString installID();
    QString appVersion() const { return appVersion_; }

    // Starts the loop unless one runs: one beat at once, then one per interval.
    void start();
    // Ends the loop at its next check; a later start() begins a new one.
    void stop();
    bool isRunning() const { return loop_ != nullptr; }

private:
    static QCoro::Task<void> run(QPointer<UsagePing> self, CancelToken token, std::shared_ptr<Sleeper> sleeper,
        std::chrono::milliseconds interval);
    // Sends one beat if allowed; the body is made before the first wait, so the object may go
    // away while the request runs.
    QCoro::Task<void> beat();

    std::shared_ptr<UserDefaults> defaults_;
    OverlaySettingsStore settings_;
    QString appVersion_;
    QUrl endpoint_;
    std::chrono::milliseconds interval_;
    std::shared_ptr<Sleeper> sleeper_;
    std::shared_ptr<HttpSession> session_;
    std::unique_ptr<CancelSource> loop_;
};

} // namespace tolvane
