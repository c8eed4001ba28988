#pragma once
// Data Dragon, the publisher's public static-data service: its host, the lookup of the current
// data version that every catalog load starts with, and the icon addresses the views show.

#include "core/support/HttpSession.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QUrl>

#include <cstdint>
#include <memory>
#include <optional>

#include <QCoroTask>

namespace tolvane {

// Every loader takes its base address in its constructor with this default, so tests can point
// it at a loopback server.
inline constexpr char ddragonHost[] = "https://ddragon.leagueoflegends.com";

inline QString ddragonDefaultBase()
{
    return QString::fromLatin1(ddragonHost);
}

// A Data Dragon step that may fail: the value, or a description of what went wrong.
template <class T> struct DDragonResult {
    std::optional<T> value;
    QString error;

    explicit operator bool() const { return value.has_value(); }
    static DDragonResult failure(QString why) { return {std::nullopt, std::move(why)}; }
};

// The text a URL-loading layer gives for an empty versions list.
inline constexpr char ddragonBadServerResponse[] = "bad server response (empty versions list)";

// The newest version listed at <base>/api/versions.json. The reply's status is not looked at.
QCoro::Task<DDragonResult<QString>> fetchLatestDDragonVersion(std::shared_ptr<HttpSession> session, QString base);

// The newest version in the body of versions.json: its first entry.
DDragonResult<QString> latestDDragonVersion(QByteArrayView body);

// One data file of the newest version: <base>/cdn/<version>/<pathAfterVersion>.
struct DDragonFile {
    QString version;
    QByteArray body;
};
QCoro::Task<DDragonResult<DDragonFile>> fetchDDragonFile(
    std::shared_ptr<HttpSession> session, QString base, QString pathAfterVersion);

// Joins base and path as text and parses the result; absent when it is not a usable address.
std::optional<QUrl> ddragonAddress(const QString& base, const QString& path);

// Icon addresses, built from the version the caller holds; absent where no icon can exist. The
// base is the one the catalogs were fetched from: there is no default, so an icon cannot quietly
// come from another host than the data.
namespace DDragonImage {
std::optional<QUrl> item(int64_t id, const QString& version, const QString& base);
std::optional<QUrl> champion(const QString& key, const QString& version, const QString& base);
std::optional<QUrl> summonerSpell(const QString& key, const QString& version, const QString& base);
// Ability icons live in the same folder as summoner-spell icons.
std::optional<QUrl> ability(const QString& key, const QString& version, const QString& base);
// Rune icons carry no version segment.
std::optional<QUrl> rune(const QString& icon, const QString& base);
} // namespace DDragonImage

// Strict decimal text: an optional sign, then digits only, within 64 bits.
std::optional<int64_t> parseDecimalInt64(std::string_view text);

} // namespace tolvane
