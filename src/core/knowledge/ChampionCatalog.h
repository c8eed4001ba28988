#pragma once
// Data Dragon's champion table: per display name the champion's id, numeric game id, class tags
// and attack/magic ratings, with the data version it came from.

#include "core/knowledge/DDragon.h"
#include "core/support/HttpSession.h"
#include "core/support/Json.h"

#include <QByteArrayView>
#include <QHash> // std::hash<QString>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <memory>
#include <optional>
#include <unordered_map>

#include <QCoroTask>

namespace tolvane {

struct ChampionInfo {
    QString id; // Data Dragon id, which names icons and per-champion files
    std::optional<int64_t> numericId;
    QStringList tags;
    int64_t attack = 0;
    int64_t magic = 0;

    bool operator==(const ChampionInfo&) const = default;
};

struct ChampionCatalog {
    // Keyed by display name exactly as Data Dragon writes it (the snapshot's championName).
    std::unordered_map<QString, ChampionInfo> byName;
    QString patch;

    static const ChampionCatalog& empty();
    // Builds the catalog from the bytes of "champion.json" for the given version.
    static json::Decoded<ChampionCatalog> decode(QByteArrayView bytes, const QString& version);

    bool operator==(const ChampionCatalog&) const = default;
};

class ChampionCatalogLoader {
public:
    explicit ChampionCatalogLoader(
        QString base = ddragonDefaultBase(), HttpTimeouts timeouts = HttpTimeouts::remoteService());

    // Never fails towards the caller: a failure is logged and gives the empty catalog.
    QCoro::Task<ChampionCatalog> load() const;

private:
    std::shared_ptr<HttpSession> session_;
    QString base_;
};

} // namespace tolvane
