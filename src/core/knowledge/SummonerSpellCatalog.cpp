#include "core/knowledge/SummonerSpellCatalog.h"

#include "core/support/Json.h"
#include "core/support/Log.h"

TOLVANE_LOG_CATEGORY(lcSpellCatalog, "spellcatalog")

namespace tolvane {

const SummonerSpellCatalog& SummonerSpellCatalog::empty()
{
    static const SummonerSpellCatalog value;
    return value;
}

namespace {

json::Decoded<SummonerSpellCatalog> decodeStrict(QByteArrayView bytes)
{
    return json::decode<SummonerSpellCatalog>(bytes, [](json::Value root) {
        SummonerSpellCatalog catalog;
        root.toObject().required("data", [&](json::Value data) {
            data.toObject().forEach([&](std::string_view, json::Value spellValue) {
                const json::Object spell = spellValue.toObject();
                SummonerSpellInfo info {spell.string("id"), spell.string("name")};
                const auto key
                    = parseDecimalInt64(spell.required("key", [](json::Value v) { return v.toStringView(); }));
                if (key)
                    catalog.byId.insert_or_assign(*key, std::move(info));
            });
            return 0;
        });
        return catalog;
    });
}

QCoro::Task<SummonerSpellCatalog> loadSpells(std::shared_ptr<HttpSession> session, QString base)
{
    const auto file = co_await fetchDDragonFile(session, base, QStringLiteral("data/en_US/summoner.json"));
    if (!file) {
        log::error(lcSpellCatalog(), QStringLiteral("summoner-spell catalog load failed: %1").arg(file.error));
        co_return SummonerSpellCatalog::empty();
    }
    // An undecodable body is a failure too, not a success with no spells.
    auto decoded = decodeStrict(file.value->body);
    if (!decoded) {
        log::error(lcSpellCatalog(), QStringLiteral("summoner-spell catalog load failed: %1").arg(decoded.error));
        co_return SummonerSpellCatalog::empty();
    }
    log::info(
        lcSpellCatalog(), QStringLiteral("Loaded summoner-spell catalog: %1 spells").arg(decoded.value->byId.size()));
    co_return std::move(*decoded.value);
}

} // namespace

SummonerSpellCatalogLoader::SummonerSpellCatalogLoader(QString base, HttpTimeouts timeouts)
    : session_(std::make_shared<HttpSession>(HttpPeer::dataDragon, timeouts))
    , base_(std::move(base))
{
}

QCoro::Task<SummonerSpellCatalog> SummonerSpellCatalogLoader::load() const
{
    return loadSpells(session_, base_);
}

SummonerSpellCatalog SummonerSpellCatalogLoader::decode(QByteArrayView bytes)
{
    auto decoded = decodeStrict(bytes);
    return decoded ? std::move(*decoded.value) : SummonerSpellCatalog::empty();
}

} // namespace tolvane
