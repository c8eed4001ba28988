#pragma once
// The user's overlay settings: a stateless layer over the user-defaults store that reads every
// value when asked and writes it back at once, so any number of these objects over one store
// agree. A key that was never written reads as its default; a stored false or 0 is kept.

#include "core/knowledge/CDTimeFormat.h"
#include "core/overlay/RightStackLayout.h"
#include "core/overlay/SkillModePreset.h"
#include "core/overlay/UserDefaults.h"
#include "core/overlay/VisibilityTriggers.h"

#include <QString>

#include <memory>
#include <optional>

namespace tolvane {

// The settings the overlay's loops read several times a second, read together.
struct OverlayLoopSettings {
    VisibilityTriggers triggers;
    bool showPopular = true;
    bool showMatchup = true;
    bool showGold = true;
    bool showCooldowns = true;
    bool showFarm = true;
    bool showCombos = true;
    RightStackLayout layout;
    qint64 shopKeyCode = 0;
    qint64 fallbackKeyCode = 0;
    std::optional<CDTimeFormat> cooldownFormat;
    double cdPanelOpacity = 0;
};

class OverlaySettingsStore {
public:
    explicit OverlaySettingsStore(std::shared_ptr<UserDefaults> defaults);

    const std::shared_ptr<UserDefaults>& defaults() const { return defaults_; }

    VisibilityTriggers triggers() const;
    void setTriggers(VisibilityTriggers value);

    bool showPopular() const;
    void setShowPopular(bool value);
    bool showMatchup() const;
    void setShowMatchup(bool value);
    bool showGold() const;
    void setShowGold(bool value);
    bool showCooldowns() const;
    void setShowCooldowns(bool value);
    bool showFarm() const;
    void setShowFarm(bool value);
    bool showCombos() const;
    void setShowCombos(bool value);

    bool usagePingEnabled() const;
    void setUsagePingEnabled(bool value);
    bool mainWindowDismissed() const;
    void setMainWindowDismissed(bool value);
    qint64 windowTextSizeIndex() const;
    void setWindowTextSizeIndex(qint64 value);
    bool twoBuildLinked() const;
    void setTwoBuildLinked(bool value);

    // Each of the three keys falls back to its own default.
    RightStackLayout layout() const;
    void setLayout(RightStackLayout value);

    // A stored code outside the range any key event carries reads as the default key, so the
    // key poll never watches an unrelated key after narrowing the code to 16 bits.
    qint64 shopKeyCode() const;
    void setShopKeyCode(qint64 value);
    qint64 fallbackKeyCode() const;
    void setFallbackKeyCode(qint64 value);

    // None until the user (or the game's own setting, at launch) has chosen one; an unknown or
    // differently cased stored text also reads as none.
    std::optional<CDTimeFormat> cooldownFormat() const;
    // None removes the key.
    void setCooldownFormat(std::optional<CDTimeFormat> value);

    double cdPanelOpacity() const;
    void setCdPanelOpacity(double value);

    void applyPreset(SkillModePreset preset);
    // The first preset whose five switches equal the stored ones; none means a custom choice.
    std::optional<SkillModePreset> matchingPreset() const;

    // Every value the loops read, each as its own getter reads it.
    OverlayLoopSettings loopSettings() const;

    // Back to defaults for the overlay's look and triggers; keeps the usage switch, the main
    // window's state, the text size, the link flag and the cooldown format.
    void reset();

    struct Keys {
        static inline const QString triggers = QStringLiteral("settings.triggers");
        static inline const QString showPopular = QStringLiteral("settings.showPopular");
        static inline const QString showMatchup = QStringLiteral("settings.showMatchup");
        static inline const QString showGold = QStringLiteral("settings.showGold");
        static inline const QString showCooldowns = QStringLiteral("settings.showCooldowns");
        static inline const QString showFarm = QStringLiteral("settings.showFarm");
        static inline const QString showCombos = QStringLiteral("settings.showCombos");
        static inline const QString usagePingEnabled = QStringLiteral("settings.usagePingEnabled");
        static inline const QString mainWindowDismissed = QStringLiteral("settings.mainWindowDismissed");
        static inline const QString windowTextSizeIndex = QStringLiteral("settings.windowTextSizeIndex");
        static inline const QString twoBuildLinked = QStringLiteral("settings.twoBuildLinked");
        static inline const QString layoutInset = QStringLiteral("settings.layout.inset");
        static inline const QString layoutRaise = QStringLiteral("settings.layout.raise");
        static inline const QString layoutGap = QStringLiteral("settings.layout.gap");
        static inline const QString shopKeyCode = QStringLiteral("settings.shopKeyCode");
        static inline const QString fallbackKeyCode = QStringLiteral("settings.fallbackKeyCode");
        static inline const QString cooldownFormat = QStringLiteral("cdTimeFormat");
        static inline const QString cdPanelOpacity = QStringLiteral("settings.cdPanelOpacity");
    };

    struct Defaults {
        static constexpr qint64 triggers = 1;
        static constexpr qint64 shopKeyCode = 35;
        static constexpr qint64 fallbackKeyCode = 55;
        static constexpr double cdPanelOpacity = 0.7;
    };

private:
    bool boolOr(const QString& key, bool fallback) const;
    qint64 integerOr(const QString& key, qint64 fallback) const;
    double doubleOr(const QString& key, double fallback) const;
    qint64 keyCodeOr(const QString& key, qint64 fallback) const;

    std::shared_ptr<UserDefaults> defaults_;
};

// The loop settings kept in memory and read again only once the store behind them was written,
// so a loop running fifty times a second reads the store only when the user changed something,
// and still sees every change at its next run.
class CachedLoopSettings {
public:
    explicit CachedLoopSettings(OverlaySettingsStore store);

    const OverlayLoopSettings& current();

private:
    OverlaySettingsStore store_;
    std::optional<quint64> readAt_;
    OverlayLoopSettings settings_;
};

} // namespace tolvane
