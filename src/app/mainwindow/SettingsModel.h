#pragma once
// The Settings tab's mirror of the overlay settings: every persisted field is written through to
// the shared store the moment it is assigned, so the overlays, which read the store on each tick,
// follow a change live and there is no separate save step.

#include "core/knowledge/CDTimeFormat.h"
#include "core/overlay/SkillModePreset.h"

#include <QObject>
#include <QString>

#include <array>
#include <optional>

namespace tolvane {

class OverlaySettingsStore;

class SettingsModel : public QObject {
    Q_OBJECT

public:
    // The selected page of the Settings tab; not persisted.
    enum class SettingsTab { panels, layout, advanced };
    static constexpr std::array<SettingsTab, 3> allSettingsTabs {
        SettingsTab::panels, SettingsTab::layout, SettingsTab::advanced};
    static QString rawValue(SettingsTab tab);
    static std::optional<SettingsTab> settingsTabFromRawValue(const QString& raw);

    // Reads every persisted value once; writes nothing.
    // The store is the one the application owns; it outlives the model.
    explicit SettingsModel(OverlaySettingsStore& store, QObject* parent = nullptr);

    OverlaySettingsStore& store() const { return store_; }

    // Every setter writes the store, then emits changed(), also when the value is the one already
    // held; observers thus find the model and the store agreeing.
    bool tab() const { return tab_; }
    void setTab(bool value);
    bool shop() const { return shop_; }
    void setShop(bool value);
    bool always() const { return always_; }
    void setAlways(bool value);

    bool showPopular() const { return showPopular_; }
    void setShowPopular(bool value);
    bool showMatchup() const { return showMatchup_; }
    void setShowMatchup(bool value);
    bool showGold() const { return showGold_; }
    void setShowGold(bool value);
    bool showCooldowns() const { return showCooldowns_; }
    void setShowCooldowns(bool value);
    bool showFarm() const { return showFarm_; }
    void setShowFarm(bool value);
    bool showCombos() const { return showCombos_; }
    void setShowCombos(bool value);

    double inset() const { return inset_; }
    void setInset(double value);
    double raise() const { return raise_; }
    void setRaise(double value);
    double gap() const { return gap_; }
    void setGap(double value);

    qint64 shopKeyCode() const { return shopKeyCode_; }
    void setShopKeyCode(qint64 value);
    qint64 fallbackKeyCode() const { return fallbackKeyCode_; }
    void setFallbackKeyCode(qint64 value);

    // The store's format, seconds when it holds none; always written as a format.
    CDTimeFormat cooldownFormat() const { return cooldownFormat_; }
    void setCooldownFormat(CDTimeFormat value);

    // Stored as given; only fontScale() clamps it.
    qint64 textSizeIndex() const { return textSizeIndex_; }
    void setTextSizeIndex(qint64 value);
    double cdOpacity() const { return cdOpacity_; }
    void setCdOpacity(double value);

    SettingsTab activeTab() const { return activeTab_; }
    void setActiveTab(SettingsTab value);

    bool twoBuildLinked() const { return twoBuildLinked_; }
    void setTwoBuildLinked(bool value);
    bool usagePing() const { return usagePing_; }
    void setUsagePing(bool value);

    // Brings every persisted field back in line with the store (changes made while the window was
    // hidden, or a reset) and writes each value read straight back, so afterwards every key is
    // present in the store. The selected page stays.
    void reloadFromStore();

    // The window text scale for the text-size index, clamped to the four steps.
    double fontScale() const;

    // The preset whose five panel switches equal the current ones (farm is no part of any), or
    // none for a custom choice.
    std::optional<SkillModePreset> matchingMode() const;
    // Sets the five panel switches of the preset, one write each; farm keeps its value.
    void applyMode(SkillModePreset preset);

signals:
    void changed();

private:
    void writeTriggers();
    void writeLayout();

    OverlaySettingsStore& store_;
    bool tab_ = false;
    bool shop_ = false;
    bool always_ = false;
    bool showPopular_ = true;
    bool showMatchup_ = true;
    bool showGold_ = true;
    bool showCooldowns_ = true;
    bool showFarm_ = true;
    bool showCombos_ = true;
    double inset_ = 0;
    double raise_ = 0;
    double gap_ = 0;
    qint64 shopKeyCode_ = 0;
    qint64 fallbackKeyCode_ = 0;
    CDTimeFormat cooldownFormat_ = CDTimeFormat::seconds;
    qint64 textSizeIndex_ = 0;
    double cdOpacity_ = 0;
    SettingsTab activeTab_ = SettingsTab::panels;
    bool twoBuildLinked_ = true;
    bool usagePing_ = true;
};

} // namespace tolvane
