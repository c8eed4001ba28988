#include "core/knowledge/SynergyCatalog.h"

#include "core/knowledge/ResourceFile.h"
#include "core/support/Log.h"

TOLVANE_LOG_CATEGORY(lcSynergy, "synergy")

namespace tolvane {

QStringList SynergyDuo::readableChannels() const
{
    QStringList out;
    out.reserve(channels.size());
    for (const QString& channel : channels)
        out.append(QString(channel).replace(QLatin1Char('_'), QLatin1Char(' ')));
    return out;
}

SynergyCatalog::SynergyCatalog(const std::vector<SynergyDuo>& duos)
{
    for (const SynergyDuo& duo : duos)
        byPair.insert_or_assign(duo.adc + QLatin1Char('|') + duo.support, duo);
}

const SynergyCatalog& SynergyCatalog::empty()
{
    static const SynergyCatalog value;
    return value;
}

std::optional<SynergyDuo> SynergyCatalog::duo(const QString& adc, const QString& support) const
{
    const auto it = byPair.find(adc + QLatin1Char('|') + support);
    if (it == byPair.end())
        return std::nullopt;
    return it->second;
}

json::Decoded<SynergyCatalog> SynergyCatalog::decode(QByteArrayView bytes)
{
    return json::decode<SynergyCatalog>(bytes, [](json::Value root) {
        const auto duos = root.toObject().required("duos", [](json::Value v) {
            return v.toArray().map([](json::Value d) {
                const json::Object o = d.toObject();
                SynergyDuo duo;
                duo.adc = o.string("adc");
                duo.support = o.string("support");
                duo.score = o.number("score");
                o.required("channels", [&](json::Value c) {
                    c.toArray().forEach([&](json::Value label) { duo.channels.append(label.toString()); });
                    return 0;
                });
                return duo;
            });
        });
        return SynergyCatalog(duos);
    });
}

SynergyCatalog SynergyCatalogLoader::load(const ResourceBundle& bundle) const
{
    if (const auto bytes = readResource(bundle, QStringLiteral("adc-support-synergy"), QStringLiteral("json"))) {
        if (auto decoded = SynergyCatalog::decode(*bytes))
            return std::move(*decoded.value);
    }
    log::error(lcSynergy(),
        QStringLiteral("adc-support-synergy.json missing or undecodable — synergy panel stays hidden "
                       "(fail-closed)"));
    return SynergyCatalog::empty();
}

} // namespace tolvane
