#include "core/gameclient/ClientCredentials.h"

#include <QStringList>

#include <limits>

namespace tolvane {

namespace {

constexpr QStringView portFlag = u"--app-port=";
constexpr QStringView tokenFlag = u"--remoting-auth-token=";

// The flag's value: from just after the flag to the first white space (QChar::isSpace is exactly
// the Unicode White_Space set), or the end of the line. Absent when the flag is not in the line.
std::optional<QStringView> flagValue(QStringView line, QStringView flag)
{
    const qsizetype at = line.indexOf(flag, 0, Qt::CaseSensitive);
    if (at < 0)
        return std::nullopt;
    const qsizetype start = at + flag.size();
    qsizetype end = start;
    while (end < line.size() && !line[end].isSpace())
        ++end;
    return line.mid(start, end - start);
}

} // namespace

std::optional<int64_t> parseDecimalInt64(QStringView text)
{
    qsizetype i = 0;
    bool negative = false;
    if (!text.isEmpty() && (text[0] == u'+' || text[0] == u'-')) {
        negative = text[0] == u'-';
        i = 1;
    }
    if (i == text.size())
        return std::nullopt;
    // Accumulated as a negative number so that the most negative value fits too.
    int64_t value = 0;
    for (; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c < u'0' || c > u'9')
            return std::nullopt;
        if (__builtin_mul_overflow(value, 10, &value) || __builtin_sub_overflow(value, int64_t(c - u'0'), &value))
            return std::nullopt;
    }
    if (negative)
        return value;
    if (value == std::numeric_limits<int64_t>::min())
        return std::nullopt;
    return -value;
}

std::variant<ClientCredentials, CredentialError> ClientCredentials::fromProcessArgs(const QString& processArgs)
{
    const auto portText = flagValue(processArgs, portFlag);
    if (!portText)
        return CredentialError::missingProcessArgs;
    const auto port = parseDecimalInt64(*portText);
    if (!port)
        return CredentialError::missingProcessArgs;
    const auto token = flagValue(processArgs, tokenFlag);
    if (!token)
        return CredentialError::missingProcessArgs;
    return ClientCredentials {*port, token->toString(), QStringLiteral("https")};
}

std::variant<ClientCredentials, CredentialError> ClientCredentials::fromLockfileContents(
    const QString& lockfileContents)
{
    const QStringList fields = lockfileContents.trimmed().split(QLatin1Char(':'), Qt::KeepEmptyParts);
    if (fields.size() != 5)
        return CredentialError::malformedLockfile;
    const auto port = parseDecimalInt64(fields[2]);
    if (!port)
        return CredentialError::malformedLockfile;
    return ClientCredentials {*port, fields[3], fields[4]};
}

} // namespace tolvane
