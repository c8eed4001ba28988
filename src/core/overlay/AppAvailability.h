#pragma once
// The maker can switch the application off remotely, with a message, by publishing a small status
// document. The check fails open: only an explicit "disabled" in a well-formed 200 reply switches
// the application off; no network, a slow or broken server and a malformed reply all count as
// available. It logs nothing itself; a request that fails is logged by its session.

#include "core/overlay/MakerWebHost.h"
#include "core/overlay/UserDefaults.h"

#include <QString>
#include <QUrl>

#include <memory>

#include <QCoroTask>

namespace tolvane {

class HttpSession;
struct HttpTimeouts;

namespace AppAvailability {

struct Status {
    enum class Kind { disabled, available };
    Kind kind = Kind::available;
    QString message; // only for disabled

    static Status available() { return {}; }
    static Status disabled(QString message) { return {Kind::disabled, std::move(message)}; }
    bool isAvailable() const { return kind == Kind::available; }

    friend bool operator==(const Status& a, const Status& b)
    {
        return a.kind == b.kind && (a.kind == Kind::available || a.message == b.message);
    }
};

// Shown when the reply switches the application off without a usable message.
QString defaultMessage();

// The status endpoint under a host: "/app-status.json".
QUrl statusEndpoint(const QUrl& host = MakerWebHost::baseUrl());

// The session the check is meant to run on: waits at most 8 s for the reply.
HttpTimeouts timeouts();

// One request to the status endpoint under `host`, with a fresh cache buster and, when the
// developer flag is set in `defaults`, "dev=1". Never fails: every failure gives available.
QCoro::Task<Status> check(
    std::shared_ptr<HttpSession> session, std::shared_ptr<UserDefaults> defaults, QUrl host = MakerWebHost::baseUrl());

} // namespace AppAvailability

} // namespace tolvane
