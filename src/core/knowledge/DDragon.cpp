#include "core/knowledge/DDragon.h"

#include "core/support/Json.h"

#include <charconv>

namespace tolvane {

std::optional<QUrl> ddragonAddress(const QString& base, const QString& path)
{
    QUrl url(base + path, QUrl::StrictMode);
    if (!url.isValid() || url.scheme().isEmpty() || url.host().isEmpty())
        return std::nullopt;
    return url;
}

QCoro::Task<DDragonResult<QString>> fetchLatestDDragonVersion(std::shared_ptr<HttpSession> session, QString base)
{
    const auto address = ddragonAddress(base, QStringLiteral("/api/versions.json"));
    if (!address)
        co_return DDragonResult<QString>::failure(QStringLiteral("cannot form the versions address from %1").arg(base));
    const HttpResult result = co_await session->get(*address);
    if (!result.arrived())
        co_return DDragonResult<QString>::failure(
            result.detail.isEmpty() ? QStringLiteral("transport error") : result.detail);
    co_return latestDDragonVersion(result.reply->body);
}

DDragonResult<QString> latestDDragonVersion(QByteArrayView body)
{
    auto decoded = json::decode<std::vector<QString>>(
        body, [](json::Value root) { return root.toArray().map([](json::Value v) { return v.toString(); }); });
    if (!decoded)
        return DDragonResult<QString>::failure(decoded.error);
    if (decoded.value->empty())
        return DDragonResult<QString>::failure(QString::fromLatin1(ddragonBadServerResponse));
    return DDragonResult<QString> {decoded.value->front(), {}};
}

QCoro::Task<DDragonResult<DDragonFile>> fetchDDragonFile(
    std::shared_ptr<HttpSession> session, QString base, QString pathAfterVersion)
{
    const auto version = co_await fetchLatestDDragonVersion(session, base);
    if (!version)
        co_return DDragonResult<DDragonFile>::failure(version.error);
    const auto address
        = ddragonAddress(base, QStringLiteral("/cdn/") + *version.value + QLatin1Char('/') + pathAfterVersion);
    if (!address)
        co_return DDragonResult<DDragonFile>::failure(
            QStringLiteral("cannot form a data address from version \"%1\"").arg(*version.value));
    const HttpResult result = co_await session->get(*address);
    if (!result.arrived())
        co_return DDragonResult<DDragonFile>::failure(
            result.detail.isEmpty() ? QStringLiteral("transport error") : result.detail);
    co_return DDragonResult<DDragonFile> {DDragonFile {*version.value, result.reply->body}, {}};
}

namespace DDragonImage {

std::optional<QUrl> item(int64_t id, const QString& version, const QString& base)
{
    if (version.isEmpty() || id < 1)
        return std::nullopt;
    // Joined, not formatted: a version holding "%2" must not take the id's place.
    return ddragonAddress(base,
        QStringLiteral("/cdn/") + version + QStringLiteral("/img/item/") + QString::number(id)
            + QStringLiteral(".png"));
}

std::optional<QUrl> champion(const QString& key, const QString& version, const QString& base)
{
    if (key.isEmpty() || version.isEmpty())
        return std::nullopt;
    return ddragonAddress(
        base, QStringLiteral("/cdn/") + version + QStringLiteral("/img/champion/") + key + QStringLiteral(".png"));
}

std::optional<QUrl> summonerSpell(const QString& key, const QString& version, const QString& base)
{
    if (key.isEmpty() || version.isEmpty())
        return std::nullopt;
    return ddragonAddress(
        base, QStringLiteral("/cdn/") + version + QStringLiteral("/img/spell/") + key + QStringLiteral(".png"));
}

std::optional<QUrl> ability(const QString& key, const QString& version, const QString& base)
{
    return summonerSpell(key, version, base);
}

std::optional<QUrl> rune(const QString& icon, const QString& base)
{
    if (icon.isEmpty())
        return std::nullopt;
    return ddragonAddress(base, QStringLiteral("/cdn/img/") + icon);
}

} // namespace DDragonImage

std::optional<int64_t> parseDecimalInt64(std::string_view text)
{
    const bool plus = !text.empty() && text.front() == '+';
    if (plus)
        text.remove_prefix(1);
    // from_chars takes a leading minus itself (but not after a plus); anything else must be a digit.
    const size_t firstDigit = !plus && !text.empty() && text.front() == '-' ? 1 : 0;
    if (text.size() <= firstDigit || text[firstDigit] < '0' || text[firstDigit] > '9')
        return std::nullopt;
    int64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

} // namespace tolvane
