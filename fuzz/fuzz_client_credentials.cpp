// Feeds arbitrary text to the readers of the game client's credentials: one process command
// line, the whole process list the discovery reads, and the lockfile. Checks that a success
// reads back the same from a line or lockfile written from it, and that the two strict readers of
// decimal integers (the command line's and the data files') accept and give exactly the same.

#include "core/gameclient/ClientCredentials.h"
#include "core/gameclient/LCUDiscovery.h"
#include "core/knowledge/DDragon.h"

#include "FuzzCheck.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <string_view>
#include <variant>

namespace {

using namespace tolvane;
using fuzz::require;

const ClientCredentials* success(const std::variant<ClientCredentials, CredentialError>& parsed)
{
    return std::get_if<ClientCredentials>(&parsed);
}

void checkCommandLine(const QString& text)
{
    const auto parsed = ClientCredentials::fromProcessArgs(text);
    const ClientCredentials* creds = success(parsed);
    if (!creds) {
        require(std::get<CredentialError>(parsed) == CredentialError::missingProcessArgs, "command line error kind");
        return;
    }
    require(creds->scheme == QLatin1String("https"), "a command line means https");
    const QString line = QStringLiteral("LeagueClientUx --app-port=%1 --remoting-auth-token=%2")
                             .arg(QString::number(creds->port), creds->password);
    const auto again = ClientCredentials::fromProcessArgs(line);
    require(success(again) && *success(again) == *creds, "a command line written from a success reads the same");
}

void checkProcessList(const QByteArray& bytes)
{
    const auto found = LCUDiscovery::fromProcessList(bytes);
    if (!found)
        return;
    require(found->scheme == QLatin1String("https"), "the process list gives https credentials");
    require(QString::fromUtf8(bytes).contains(QLatin1String("--remoting-auth-token=") + found->password),
        "the password is the one in the list");
}

void checkLockfile(const QString& text)
{
    const auto parsed = ClientCredentials::fromLockfileContents(text);
    const ClientCredentials* creds = success(parsed);
    if (!creds) {
        require(std::get<CredentialError>(parsed) == CredentialError::malformedLockfile, "lockfile error kind");
        return;
    }
    const QString written = QStringLiteral("LeagueClient:1234:%1:%2:%3")
                                .arg(QString::number(creds->port), creds->password, creds->scheme);
    const auto again = ClientCredentials::fromLockfileContents(written);
    require(success(again) && *success(again) == *creds, "a lockfile written from a success reads the same");
}

void checkDecimalReaders(const QByteArray& bytes)
{
    const auto fromText = parseDecimalInt64(QStringView(QString::fromLatin1(bytes)));
    const auto fromBytes = parseDecimalInt64(std::string_view(bytes.constData(), size_t(bytes.size())));
    require(fromText == fromBytes, "both decimal readers agree");
    if (fromText)
        require(parseDecimalInt64(QStringView(QString::number(*fromText))) == fromText, "decimal text reads back");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::silenceLogs();
    const QByteArray bytes = fuzz::bytes(data, size);
    const QString text = QString::fromUtf8(bytes);
    checkCommandLine(text);
    checkProcessList(bytes);
    checkLockfile(text);
    checkDecimalReaders(bytes);
    return 0;
}
