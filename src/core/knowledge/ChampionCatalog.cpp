#include "core/knowledge/ChampionCatalog.h"

#include "core/support/Log.h"

TOLVANE_LOG_CATEGORY(lcChampCatalog, "champcatalog")

namespace tolvane {

const ChampionCatalog& ChampionCatalog::empty()
{
    static const ChampionCatalog value;
    return value;
}

json::Decoded<ChampionCatalog> ChampionCatalog::decode(QByteArrayView bytes, const QString& version)
{
    return json::decode<ChampionCatalog>(bytes, [&](json::Value root) {
        ChampionCatalog catalog;
        catalog.patch = version;
        root.toObject().required("data", [&](json::Value data) {
            data.toObject().forEach([&](std::string_view key, json::Value entryValue) {
                const json::Object entry = entryValue.toObject();
                ChampionInfo info;
                info.id = QString::fromUtf8(key.data(), qsizetype(key.size()));
                info.numericId
                    = parseDecimalInt64(entry.required("key", [](json::Value v) { return v.toStringView(); }));
                const QString name = entry.string("name");
                entry.required("tags", [&](json::Value v) {
                    v.toArray().forEach([&](json::Value tag) { info.tags.append(tag.toString()); });
                    return 0;
                });
                entry.required("info", [&](json::Value v) {
                    const json::Object ratings = v.toObject();
                    info.attack = ratings.int64("attack");
                    info.magic = ratings.int64("magic");
                    return 0;
                });
                catalog.byName.insert_or_assign(name, std::move(info));
            });
            return 0;
        });
        return catalog;
    });
}

ChampionCatalogLoader::ChampionCatalogLoader(QString base, HttpTimeouts timeouts)
    : session_(std::make_shared<HttpSession>(HttpPeer::dataDragon, timeouts))
    , base_(std::move(base))
{
}

namespace {

QCoro::Task<ChampionCatalog> loadChampions(std::shared_ptr<HttpSession> session, QString base)
{
    const auto file = co_await fetchDDragonFile(session, base, QStringLiteral("data/en_US/champion.json"));
    QString error = file.error;
    if (file) {
        auto decoded = ChampionCatalog::decode(file.value->body, file.value->version);
        if (decoded) {
            log::info(lcChampCatalog(),
                QStringLiteral("Loaded champion catalog: %1 champs at patch %2")
                    .arg(decoded.value->byName.size())
                    .arg(decoded.value->patch));
            co_return std::move(*decoded.value);
        }
        error = decoded.error;
    }
    log::error(lcChampCatalog(), QStringLiteral("Champion catalog load failed: %1").arg(error));
    co_return ChampionCatalog::empty();
}

} // namespace

QCoro::Task<ChampionCatalog> ChampionCatalogLoader::load() const
{
    return loadChampions(session_, base_);
}

} // namespace tolvane
