#pragma once
// Finds the running game client in the process list and reads its credentials from its command
// line. Blocking: it runs "/bin/ps" and waits for it, so callers run it off the main thread.

#include "core/gameclient/ClientCredentials.h"

#include <QByteArray>

#include <optional>

namespace tolvane {

class LCUDiscovery {
public:
    LCUDiscovery() = delete;

    // No value when no usable game-client process is found; never logs.
    static std::optional<ClientCredentials> discover();

    // The choice discover makes over the raw output of "ps -A -o command".
    static std::optional<ClientCredentials> fromProcessList(const QByteArray& psOutput);
};

} // namespace tolvane
