#pragma once
// Where the game client's REST interface listens and the password it expects, read from the
// client's own command line (or from its lockfile text).

#include <QString>

#include <cstdint>
#include <optional>
#include <variant>

namespace tolvane {

enum class CredentialError { malformedLockfile, missingProcessArgs };

struct ClientCredentials {
    int64_t port = 0;
    QString password; // the remoting auth token
    QString scheme; // "https" from a command line; whatever the lockfile says otherwise

    // One whole process command line: "--app-port=" and "--remoting-auth-token=" flags, first
    // occurrence of each wins. Fails with missingProcessArgs.
    static std::variant<ClientCredentials, CredentialError> fromProcessArgs(const QString& processArgs);
    // "name:pid:port:password:scheme". Fails with malformedLockfile.
    static std::variant<ClientCredentials, CredentialError> fromLockfileContents(const QString& lockfileContents);

    bool operator==(const ClientCredentials&) const = default;
};

// A decimal integer with an optional single sign, ASCII digits only, fitting 64 bits.
std::optional<int64_t> parseDecimalInt64(QStringView text);

} // namespace tolvane
