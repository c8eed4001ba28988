#pragma once
// Every summoner spell by numeric key, with its Data Dragon id (for its icon) and display name.

#include "core/knowledge/DDragon.h"
#include "core/support/HttpSession.h"

#include <QByteArrayView>
#include <QString>

#include <cstdint>
#include <memory>
#include <unordered_map>

#include <QCoroTask>

namespace tolvane {

struct SummonerSpellInfo {
    QString key; // the Data Dragon id ("SummonerFlash"), which names the icon
    QString name;

    bool operator==(const SummonerSpellInfo&) const = default;
};

struct SummonerSpellCatalog {
    std::unordered_map<int64_t, SummonerSpellInfo> byId; // by the file's numeric "key"

    static const SummonerSpellCatalog& empty();
    bool operator==(const SummonerSpellCatalog&) const = default;
};

class SummonerSpellCatalogLoader {
public:
    explicit SummonerSpellCatalogLoader(
        QString base = ddragonDefaultBase(), HttpTimeouts timeouts = HttpTimeouts::remoteService());

    QCoro::Task<SummonerSpellCatalog> load() const;
    // Never fails: undecodable bytes give the empty catalog.
    static SummonerSpellCatalog decode(QByteArrayView bytes);

private:
    std::shared_ptr<HttpSession> session_;
    QString base_;
};

} // namespace tolvane
