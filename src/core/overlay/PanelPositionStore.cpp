#include "core/overlay/PanelPositionStore.h"

#include <QVariantList>

#include <cmath>
#include <utility>

namespace tolvane {

namespace {

const QString keyPrefix = QStringLiteral("panelFraction.");

struct LegacyKey {
    const char* anchor;
    PanelID panel;
};

constexpr LegacyKey legacyKeys[] = {
    {"topLeft", PanelID::combos},
    {"leftCenter", PanelID::cooldowns},
    {"rightUpper", PanelID::popularBuild},
    {"rightLower", PanelID::matchup},
    {"bottomCenter", PanelID::goldTracker},
    {"hudRight", PanelID::farmBenchmark},
};

} // namespace

PanelPositionStore::PanelPositionStore(std::shared_ptr<UserDefaults> defaults)
    : defaults_(std::move(defaults))
{
}

QString PanelPositionStore::key(PanelID panel, RepositionMode mode)
{
    return keyPrefix + rawValue(panel) + QLatin1Char('.') + rawValue(mode);
}

std::optional<QPointF> PanelPositionStore::fraction(PanelID panel, RepositionMode mode) const
{
    const auto array = defaults_->arrayValue(key(panel, mode));
    if (!array || array->size() != 2)
        return std::nullopt;
    const auto x = UserDefaults::toNumber(array->at(0));
    const auto y = UserDefaults::toNumber(array->at(1));
    if (!x || !y || !std::isfinite(*x) || !std::isfinite(*y))
        return std::nullopt;
    return QPointF(*x, *y);
}

void PanelPositionStore::setFraction(PanelID panel, QPointF point, RepositionMode mode)
{
    defaults_->set(key(panel, mode), QVariantList {point.x(), point.y()});
}

void PanelPositionStore::clear(RepositionMode mode)
{
    for (PanelID panel : allPanelIDs)
        defaults_->remove(key(panel, mode));
}

void PanelPositionStore::clearAll()
{
    for (RepositionMode mode : allRepositionModes)
        clear(mode);
}

void PanelPositionStore::clearIfNewFormat()
{
    if (defaults_->boolValue(formatFlagKey))
        return;
    clearAll();
    defaults_->set(formatFlagKey, true);
}

void PanelPositionStore::migrateIfNeeded()
{
    for (const LegacyKey& legacy : legacyKeys) {
        const QString newKey = key(legacy.panel, RepositionMode::summonersRift);
        if (defaults_->contains(newKey))
            continue;
        const QString oldKey = keyPrefix + QLatin1String(legacy.anchor);
        if (const auto value = defaults_->object(oldKey)) {
            defaults_->set(newKey, *value);
            defaults_->remove(oldKey);
        }
    }
}

} // namespace tolvane
