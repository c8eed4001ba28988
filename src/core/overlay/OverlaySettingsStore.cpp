#include "core/overlay/OverlaySettingsStore.h"

#include "core/overlay/KeyCodes.h"

#include <utility>

namespace tolvane {

OverlaySettingsStore::OverlaySettingsStore(std::shared_ptr<UserDefaults> defaults)
    : defaults_(std::move(defaults))
{
}

bool OverlaySettingsStore::boolOr(const QString& key, bool fallback) const
{
    const auto stored = defaults_->object(key);
    return stored ? UserDefaults::toBool(*stored) : fallback;
}

qint64 OverlaySettingsStore::integerOr(const QString& key, qint64 fallback) const
{
    const auto stored = defaults_->object(key);
    return stored ? UserDefaults::toInteger(*stored) : fallback;
}

double OverlaySettingsStore::doubleOr(const QString& key, double fallback) const
{
    const auto stored = defaults_->object(key);
    return stored ? UserDefaults::toDouble(*stored) : fallback;
}

qint64 OverlaySettingsStore::keyCodeOr(const QString& key, qint64 fallback) const
{
    const qint64 code = integerOr(key, fallback);
    return code < VirtualKey::minimum || code > VirtualKey::maximum ? fallback : code;
}

VisibilityTriggers OverlaySettingsStore::triggers() const
{
    return VisibilityTriggers(integerOr(Keys::triggers, Defaults::triggers));
}

void OverlaySettingsStore::setTriggers(VisibilityTriggers value)
{
    defaults_->set(Keys::triggers, value.rawValue);
}

bool OverlaySettingsStore::showPopular() const
{
    return boolOr(Keys::showPopular, true);
}

void OverlaySettingsStore::setShowPopular(bool value)
{
    defaults_->set(Keys::showPopular, value);
}

bool OverlaySettingsStore::showMatchup() const
{
    return boolOr(Keys::showMatchup, true);
}

void OverlaySettingsStore::setShowMatchup(bool value)
{
    defaults_->set(Keys::showMatchup, value);
}

bool OverlaySettingsStore::showGold() const
{
    return boolOr(Keys::showGold, true);
}

void OverlaySettingsStore::setShowGold(bool value)
{
    defaults_->set(Keys::showGold, value);
}

bool OverlaySettingsStore::showCooldowns() const
{
    return boolOr(Keys::showCooldowns, true);
}

void OverlaySettingsStore::setShowCooldowns(bool value)
{
    defaults_->set(Keys::showCooldowns, value);
}

bool OverlaySettingsStore::showFarm() const
{
    return boolOr(Keys::showFarm, true);
}

void OverlaySettingsStore::setShowFarm(bool value)
{
    defaults_->set(Keys::showFarm, value);
}

bool OverlaySettingsStore::showCombos() const
{
    return boolOr(Keys::showCombos, true);
}

void OverlaySettingsStore::setShowCombos(bool value)
{
    defaults_->set(Keys::showCombos, value);
}

bool OverlaySettingsStore::usagePingEnabled() const
{
    return boolOr(Keys::usagePingEnabled, true);
}

void OverlaySettingsStore::setUsagePingEnabled(bool value)
{
    defaults_->set(Keys::usagePingEnabled, value);
}

bool OverlaySettingsStore::mainWindowDismissed() const
{
    return defaults_->boolValue(Keys::mainWindowDismissed);
}

void OverlaySettingsStore::setMainWindowDismissed(bool value)
{
    defaults_->set(Keys::mainWindowDismissed, value);
}

qint64 OverlaySettingsStore::windowTextSizeIndex() const
{
    return defaults_->integerValue(Keys::windowTextSizeIndex);
}

void OverlaySettingsStore::setWindowTextSizeIndex(qint64 value)
{
    defaults_->set(Keys::windowTextSizeIndex, value);
}

bool OverlaySettingsStore::twoBuildLinked() const
{
    return boolOr(Keys::twoBuildLinked, true);
}

void OverlaySettingsStore::setTwoBuildLinked(bool value)
{
    defaults_->set(Keys::twoBuildLinked, value);
}

RightStackLayout OverlaySettingsStore::layout() const
{
    const RightStackLayout standard = RightStackLayout::standard();
    return {doubleOr(Keys::layoutInset, standard.insetFraction), doubleOr(Keys::layoutRaise, standard.raiseFraction),
        doubleOr(Keys::layoutGap, standard.gap)};
}

void OverlaySettingsStore::setLayout(RightStackLayout value)
{
    defaults_->set(Keys::layoutInset, value.insetFraction);
    defaults_->set(Keys::layoutRaise, value.raiseFraction);
    defaults_->set(Keys::layoutGap, value.gap);
}

qint64 OverlaySettingsStore::shopKeyCode() const
{
    return keyCodeOr(Keys::shopKeyCode, Defaults::shopKeyCode);
}

void OverlaySettingsStore::setShopKeyCode(qint64 value)
{
    defaults_->set(Keys::shopKeyCode, value);
}

qint64 OverlaySettingsStore::fallbackKeyCode() const
{
    return keyCodeOr(Keys::fallbackKeyCode, Defaults::fallbackKeyCode);
}

void OverlaySettingsStore::setFallbackKeyCode(qint64 value)
{
    defaults_->set(Keys::fallbackKeyCode, value);
}

std::optional<CDTimeFormat> OverlaySettingsStore::cooldownFormat() const
{
    const auto stored = defaults_->stringValue(Keys::cooldownFormat);
    return stored ? CDTimeFormat::fromRawValue(*stored) : std::nullopt;
}

void OverlaySettingsStore::setCooldownFormat(std::optional<CDTimeFormat> value)
{
    if (value)
        defaults_->set(Keys::cooldownFormat, value->rawValue());
    else
        defaults_->remove(Keys::cooldownFormat);
}

double OverlaySettingsStore::cdPanelOpacity() const
{
    return doubleOr(Keys::cdPanelOpacity, Defaults::cdPanelOpacity);
}

void OverlaySettingsStore::setCdPanelOpacity(double value)
{
    defaults_->set(Keys::cdPanelOpacity, value);
}

void OverlaySettingsStore::applyPreset(SkillModePreset preset)
{
    setShowPopular(SkillModePresets::showPopular(preset));
    setShowMatchup(SkillModePresets::showMatchup(preset));
    setShowGold(SkillModePresets::showGold(preset));
    setShowCooldowns(SkillModePresets::showCooldowns(preset));
    setShowCombos(SkillModePresets::showCombos(preset));
}

std::optional<SkillModePreset> OverlaySettingsStore::matchingPreset() const
{
    for (SkillModePreset preset : SkillModePresets::allCases) {
        if (showPopular() == SkillModePresets::showPopular(preset)
            && showMatchup() == SkillModePresets::showMatchup(preset)
            && showGold() == SkillModePresets::showGold(preset)
            && showCooldowns() == SkillModePresets::showCooldowns(preset)
            && showCombos() == SkillModePresets::showCombos(preset))
            return preset;
    }
    return std::nullopt;
}

OverlayLoopSettings OverlaySettingsStore::loopSettings() const
{
    return OverlayLoopSettings {triggers(), showPopular(), showMatchup(), showGold(), showCooldowns(), showFarm(),
        showCombos(), layout(), shopKeyCode(), fallbackKeyCode(), cooldownFormat(), cdPanelOpacity()};
}

void OverlaySettingsStore::reset()
{
    for (const QString* key : {&Keys::triggers, &Keys::showPopular, &Keys::showMatchup, &Keys::showGold,
             &Keys::showCooldowns, &Keys::showFarm, &Keys::showCombos, &Keys::layoutInset, &Keys::layoutRaise,
             &Keys::layoutGap, &Keys::shopKeyCode, &Keys::fallbackKeyCode, &Keys::cdPanelOpacity})
        defaults_->remove(*key);
}

CachedLoopSettings::CachedLoopSettings(OverlaySettingsStore store)
    : store_(std::move(store))
{
}

const OverlayLoopSettings& CachedLoopSettings::current()
{
    const quint64 revision = store_.defaults()->revision();
    if (readAt_ != revision) {
        settings_ = store_.loopSettings();
        readAt_ = revision;
    }
    return settings_;
}

} // namespace tolvane
