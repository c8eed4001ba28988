#pragma once
// One connection attempt to an address, and no more. The network library's sockets try every
// address twice before they report it refused; for a port that is closed most of the time (the
// game's, between matches) that doubles the attempts of every poll. A probe asks once.

#include "core/support/Async.h"

#include <QHostAddress>

#include <chrono>

#include <QCoroTask>

namespace tolvane {

enum class ProbeResult {
    accepting, // a connection was made (and closed at once)
    refused, // nothing listens there
    unknown, // anything else: no answer within the limit, cancelled, an address it cannot use
};

QCoro::Task<ProbeResult> probeConnection(
    QHostAddress host, quint16 port, std::chrono::milliseconds limit, CancelToken cancel = {});

} // namespace tolvane
