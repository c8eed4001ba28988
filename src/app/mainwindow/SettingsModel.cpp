#include "app/mainwindow/SettingsModel.h"

#include "app/panels/WindowFontScale.h"
#include "core/overlay/OverlaySettingsStore.h"

#include <QThread>

namespace tolvane {

QString SettingsModel::rawValue(SettingsTab tab)
{
    switch (tab) {
    case SettingsTab::panels:
        return QStringLiteral("panels");
    case SettingsTab::layout:
        return QStringLiteral("layout");
    case SettingsTab::advanced:
        return QStringLiteral("advanced");
    }
    return {};
}

std::optional<SettingsModel::SettingsTab> SettingsModel::settingsTabFromRawValue(const QString& raw)
{
    for (SettingsTab tab : allSettingsTabs) {
        if (rawValue(tab) == raw)
            return tab;
    }
    return std::nullopt;
}

SettingsModel::SettingsModel(OverlaySettingsStore& store, QObject* parent)
    : QObject(parent)
    , store_(store)
{
    const VisibilityTriggers triggers = store_.triggers();
    tab_ = triggers.contains(VisibilityTriggers::tab());
    shop_ = triggers.contains(VisibilityTriggers::shop());
    always_ = triggers.contains(VisibilityTriggers::always());
    showPopular_ = store_.showPopular();
    showMatchup_ = store_.showMatchup();
    showGold_ = store_.showGold();
    showCooldowns_ = store_.showCooldowns();
    showFarm_ = store_.showFarm();
    showCombos_ = store_.showCombos();
    const RightStackLayout layout = store_.layout();
    inset_ = layout.insetFraction;
    raise_ = layout.raiseFraction;
    gap_ = layout.gap;
    shopKeyCode_ = store_.shopKeyCode();
    fallbackKeyCode_ = store_.fallbackKeyCode();
    cooldownFormat_ = store_.cooldownFormat().value_or(CDTimeFormat::seconds);
    textSizeIndex_ = store_.windowTextSizeIndex();
    cdOpacity_ = store_.cdPanelOpacity();
    twoBuildLinked_ = store_.twoBuildLinked();
    usagePing_ = store_.usagePingEnabled();
}

void SettingsModel::writeTriggers()
{
    // Built from the three switches alone, so bits no switch shows are dropped on the first edit.
    VisibilityTriggers triggers;
    if (tab_)
        triggers.insert(VisibilityTriggers::tab());
    if (shop_)
        triggers.insert(VisibilityTriggers::shop());
    if (always_)
        triggers.insert(VisibilityTriggers::always());
    store_.setTriggers(triggers);
}

void SettingsModel::writeLayout()
{
    store_.setLayout(RightStackLayout {inset_, raise_, gap_});
}

void SettingsModel::setTab(bool value)
{
    tab_ = value;
    writeTriggers();
    emit changed();
}

void SettingsModel::setShop(bool value)
{
    shop_ = value;
    writeTriggers();
    emit changed();
}

void SettingsModel::setAlways(bool value)
{
    always_ = value;
    writeTriggers();
    emit changed();
}

void SettingsModel::setShowPopular(bool value)
{
    showPopular_ = value;
    store_.setShowPopular(value);
    emit changed();
}

void SettingsModel::setShowMatchup(bool value)
{
    showMatchup_ = value;
    store_.setShowMatchup(value);
    emit changed();
}

void SettingsModel::setShowGold(bool value)
{
    showGold_ = value;
    store_.setShowGold(value);
    emit changed();
}

void SettingsModel::setShowCooldowns(bool value)
{
    showCooldowns_ = value;
    store_.setShowCooldowns(value);
    emit changed();
}

void SettingsModel::setShowFarm(bool value)
{
    showFarm_ = value;
    store_.setShowFarm(value);
    emit changed();
}

void SettingsModel::setShowCombos(bool value)
{
    showCombos_ = value;
    store_.setShowCombos(value);
    emit changed();
}

void SettingsModel::setInset(double value)
{
    inset_ = value;
    writeLayout();
    emit changed();
}

void SettingsModel::setRaise(double value)
{
    raise_ = value;
    writeLayout();
    emit changed();
}

void SettingsModel::setGap(double value)
{
    gap_ = value;
    writeLayout();
    emit changed();
}

void SettingsModel::setShopKeyCode(qint64 value)
{
    shopKeyCode_ = value;
    store_.setShopKeyCode(value);
    emit changed();
}

void SettingsModel::setFallbackKeyCode(qint64 value)
{
    fallbackKeyCode_ = value;
    store_.setFallbackKeyCode(value);
    emit changed();
}

void SettingsModel::setCooldownFormat(CDTimeFormat value)
{
    cooldownFormat_ = value;
    store_.setCooldownFormat(value);
    emit changed();
}

void SettingsModel::setTextSizeIndex(qint64 value)
{
    textSizeIndex_ = value;
    store_.setWindowTextSizeIndex(value);
    emit changed();
}

void SettingsModel::setCdOpacity(double value)
{
    cdOpacity_ = value;
    store_.setCdPanelOpacity(value);
    emit changed();
}

void SettingsModel::setActiveTab(SettingsTab value)
{
    activeTab_ = value;
    emit changed();
}

void SettingsModel::setTwoBuildLinked(bool value)
{
    twoBuildLinked_ = value;
    store_.setTwoBuildLinked(value);
    emit changed();
}

void SettingsModel::setUsagePing(bool value)
{
    usagePing_ = value;
    store_.setUsagePingEnabled(value);
    emit changed();
}

void SettingsModel::reloadFromStore()
{
    // Each value goes through its setter, so it is written back: a reload after the store's
    // reset leaves every default stored, as the overlays' other readers expect.
    const VisibilityTriggers triggers = store_.triggers();
    setTab(triggers.contains(VisibilityTriggers::tab()));
    setShop(triggers.contains(VisibilityTriggers::shop()));
    setAlways(triggers.contains(VisibilityTriggers::always()));
    setShowPopular(store_.showPopular());
    setShowMatchup(store_.showMatchup());
    setShowGold(store_.showGold());
    setShowCooldowns(store_.showCooldowns());
    setShowFarm(store_.showFarm());
    setShowCombos(store_.showCombos());
    const RightStackLayout layout = store_.layout();
    setInset(layout.insetFraction);
    setRaise(layout.raiseFraction);
    setGap(layout.gap);
    setShopKeyCode(store_.shopKeyCode());
    setFallbackKeyCode(store_.fallbackKeyCode());
    setCooldownFormat(store_.cooldownFormat().value_or(CDTimeFormat::seconds));
    setTextSizeIndex(store_.windowTextSizeIndex());
    setCdOpacity(store_.cdPanelOpacity());
    setTwoBuildLinked(store_.twoBuildLinked());
    setUsagePing(store_.usagePingEnabled());
}

double SettingsModel::fontScale() const
{
    return windowFontScaleForTextSizeIndex(textSizeIndex_);
}

std::optional<SkillModePreset> SettingsModel::matchingMode() const
{
    Q_ASSERT(QThread::currentThread() == thread());
    for (SkillModePreset preset : SkillModePresets::allCases) {
        if (SkillModePresets::showPopular(preset) == showPopular_
            && SkillModePresets::showMatchup(preset) == showMatchup_ && SkillModePresets::showGold(preset) == showGold_
            && SkillModePresets::showCooldowns(preset) == showCooldowns_
            && SkillModePresets::showCombos(preset) == showCombos_)
            return preset;
    }
    return std::nullopt;
}

void SettingsModel::applyMode(SkillModePreset preset)
{
    setShowPopular(SkillModePresets::showPopular(preset));
    setShowMatchup(SkillModePresets::showMatchup(preset));
    setShowGold(SkillModePresets::showGold(preset));
    setShowCooldowns(SkillModePresets::showCooldowns(preset));
    setShowCombos(SkillModePresets::showCombos(preset));
}

} // namespace tolvane
