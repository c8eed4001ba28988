#include "core/advice/MetaBuild.h"

#include <map>

namespace tolvane {

const std::set<int64_t>& MetaBuild::knownBootIDs()
{
    static const std::set<int64_t> ids
        = {3005, 3006, 3008, 3009, 3010, 3020, 3047, 3111, 3117, 3158, 3170, 3171, 3172, 3173, 3174, 3175, 3176};
    return ids;
}

MetaBuildAdvice MetaBuildAdvice::unavailable(QString reason)
{
    return {Unavailable {std::move(reason)}, MetaFreshness::unverified(), metrionProvenance()};
}

QString BuildSlot::rawValue(Kind kind)
{
    switch (kind) {
    case Kind::starter:
        return QStringLiteral("starter");
    case Kind::boots:
        return QStringLiteral("boots");
    case Kind::core:
        return QStringLiteral("core");
    case Kind::situational:
        break;
    }
    return QStringLiteral("situational");
}

std::optional<QString> StatShardLabel::label(int64_t runeId)
{
    static const std::map<int64_t, QString> labels = {
        {5001, QStringLiteral("Health Scaling")},
        {5005, QStringLiteral("Attack Speed")},
        {5007, QStringLiteral("Ability Haste")},
        {5008, QStringLiteral("Adaptive Force")},
        {5010, QStringLiteral("Move Speed")},
        {5011, QStringLiteral("Health")},
        {5013, QStringLiteral("Tenacity & Slow Resist")},
    };
    auto it = labels.find(runeId);
    if (it == labels.end())
        return std::nullopt;
    return it->second;
}

} // namespace tolvane
