#include "core/knowledge/CounterRules.h"

#include "core/knowledge/ResourceFile.h"
#include "core/support/Log.h"

TOLVANE_LOG_CATEGORY(lcCounterRules, "counterrules")

namespace tolvane {

namespace {

QStringList stringList(json::Value v)
{
    QStringList out;
    v.toArray().forEach([&](json::Value s) { out.append(s.toString()); });
    return out;
}

} // namespace

const CounterRules& CounterRules::empty()
{
    static const CounterRules value;
    return value;
}

std::vector<int64_t> CounterRules::allItemIDs() const
{
    std::vector<int64_t> ids;
    ids.reserve(items.size());
    for (const ItemRule& rule : items)
        ids.push_back(rule.id);
    return ids;
}

json::Decoded<CounterRules> CounterRules::decode(QByteArrayView bytes)
{
    return json::decode<CounterRules>(bytes, [](json::Value root) {
        const json::Object o = root.toObject();
        CounterRules rules;
        rules.targetPatch = o.string("targetPatch");
        o.required("champOverrides", [&](json::Value v) {
            v.toObject().forEach([&](std::string_view name, json::Value entry) {
                const json::Object e = entry.toObject();
                ChampOverride override;
                override.damageType = e.optional("damageType", [](json::Value d) {
                    const auto type = damageTypeFromCode(d.toString());
                    if (!type)
                        throw json::DecodeError("unknown damage type");
                    return *type;
                });
                override.cc = e.optInt64("cc");
                rules.champOverrides.insert_or_assign(QString::fromUtf8(name.data(), qsizetype(name.size())), override);
            });
            return 0;
        });
        rules.items = o.required("items", [](json::Value v) {
            return v.toArray().map([](json::Value entry) {
                const json::Object e = entry.toObject();
                ItemRule rule;
                rule.id = e.int64("id");
                rule.name = e.string("name");
                rule.counters = e.required("counters", stringList);
                rule.classFit = e.required("classFit", stringList);
                rule.priority = e.int64("priority");
                rule.generic = e.boolean("generic");
                rule.group = e.optString("group");
                return rule;
            });
        });
        return rules;
    });
}

CounterRules CounterRulesLoader::load(const ResourceBundle& bundle) const
{
    if (const auto bytes = readResource(bundle, QStringLiteral("counter-rules"), QStringLiteral("json"))) {
        if (auto decoded = CounterRules::decode(*bytes))
            return std::move(*decoded.value);
    }
    log::error(lcCounterRules(), QStringLiteral("counter-rules.json missing or unparseable; using empty rules"));
    return CounterRules::empty();
}

} // namespace tolvane
