#include "core/advice/MetaQuery.h"

#include <QStringView>

#include <algorithm>

namespace tolvane {

QString metaRoleRawValue(MetaRole role)
{
    switch (role) {
    case MetaRole::top:
        return QStringLiteral("top");
    case MetaRole::jungle:
        return QStringLiteral("jungle");
    case MetaRole::mid:
        return QStringLiteral("mid");
    case MetaRole::adc:
        return QStringLiteral("adc");
    case MetaRole::support:
        return QStringLiteral("support");
    case MetaRole::unknown:
        break;
    }
    return QStringLiteral("unknown");
}

std::optional<MetaRole> metaRoleFromRawValue(const QString& raw)
{
    for (MetaRole role : allMetaRoles)
        if (metaRoleRawValue(role) == raw)
            return role;
    return std::nullopt;
}

MetaRole metaRoleFromLivePosition(const std::optional<QString>& position)
{
    if (!position)
        return MetaRole::unknown;
    const QString upper = position->toUpper();
    if (upper == u"TOP")
        return MetaRole::top;
    if (upper == u"JUNGLE")
        return MetaRole::jungle;
    if (upper == u"MIDDLE")
        return MetaRole::mid;
    if (upper == u"BOTTOM")
        return MetaRole::adc;
    if (upper == u"UTILITY")
        return MetaRole::support;
    return MetaRole::unknown;
}

MetaRole metaRoleInferredFromTags(const std::vector<QString>& tags)
{
    auto has = [&tags](QStringView tag) {
        return std::any_of(tags.begin(), tags.end(), [tag](const QString& t) { return t == tag; });
    };
    if (has(u"Marksman"))
        return MetaRole::adc;
    if (has(u"Support"))
        return MetaRole::support;
    if (has(u"Mage") || has(u"Assassin"))
        return MetaRole::mid;
    if (has(u"Fighter") || has(u"Tank"))
        return MetaRole::top;
    return MetaRole::unknown;
}

QString metrionPosition(MetaRole role)
{
    return metaRoleRawValue(role);
}

QString MetaQuery::metrionGameMode() const
{
    return aram_ ? QStringLiteral("aram") : QStringLiteral("ranked");
}

QString MetaQuery::metrionPosition() const
{
    return aram_ ? QStringLiteral("mid") : tolvane::metrionPosition(role_);
}

MetaModeRoute resolveMetaMode(std::optional<int64_t> mapNumber)
{
    if (!mapNumber || *mapNumber == 11)
        return MetaModeRoute::summonersRift();
    if (*mapNumber == 12)
        return MetaModeRoute::aram();
    if (*mapNumber == 30)
        return MetaModeRoute::arena();
    return MetaModeRoute::unsupported(QStringLiteral("map ") + QString::number(*mapNumber));
}

MetaModeRoute resolveMetaMode(const std::optional<QString>& gameMode, std::optional<int64_t> mapNumber)
{
    if (mapNumber && *mapNumber == 12)
        return MetaModeRoute::aram();
    if (mapNumber && *mapNumber == 30)
        return MetaModeRoute::arena();
    if (!gameMode)
        return MetaModeRoute::summonersRift();
    if (*gameMode == u"ARAM")
        return MetaModeRoute::aram();
    if (*gameMode == u"CLASSIC")
        return MetaModeRoute::summonersRift();
    return MetaModeRoute::unsupported(*gameMode);
}

} // namespace tolvane
