#include "core/knowledge/CounterBuildTypes.h"

namespace tolvane {

std::optional<DamageType> damageTypeFromCode(QStringView code)
{
    if (code == u"ad")
        return DamageType::ad;
    if (code == u"ap")
        return DamageType::ap;
    if (code == u"mixed")
        return DamageType::mixed;
    if (code == u"unknown")
        return DamageType::unknown;
    return std::nullopt;
}

QString damageTypeCode(DamageType type)
{
    switch (type) {
    case DamageType::ad:
        return QStringLiteral("ad");
    case DamageType::ap:
        return QStringLiteral("ap");
    case DamageType::mixed:
        return QStringLiteral("mixed");
    case DamageType::unknown:
        break;
    }
    return QStringLiteral("unknown");
}

} // namespace tolvane
