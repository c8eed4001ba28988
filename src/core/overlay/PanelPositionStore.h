#pragma once
// Where the user put each overlay panel, per game mode: the panel's centre as fractions of the
// game window, x from its left edge, y from its top edge downward. Kept in the user-defaults
// store, with the move from the older one-mode key layout and the one-time clearing for the
// current format.

#include "core/overlay/PanelID.h"
#include "core/overlay/UserDefaults.h"

#include <QPointF>
#include <QString>

#include <map>
#include <memory>
#include <optional>

namespace tolvane {

class PanelPositionStore {
public:
    explicit PanelPositionStore(std::shared_ptr<UserDefaults> defaults);

    const std::shared_ptr<UserDefaults>& defaults() const { return defaults_; }

    static QString key(PanelID panel, RepositionMode mode);

    // None for a missing value, anything but exactly two numbers, or a coordinate that is not
    // finite (the panel then takes its default anchor instead of an impossible position).
    std::optional<QPointF> fraction(PanelID panel, RepositionMode mode) const;
    void setFraction(PanelID panel, QPointF point, RepositionMode mode);

    void clear(RepositionMode mode);
    void clearAll();
    // Clears every position once, the first time it runs with the format flag unset.
    void clearIfNewFormat();
    // Moves positions of the older layout (Summoner's Rift only) to their new keys.
    void migrateIfNeeded();

    static inline const QString formatFlagKey = QStringLiteral("panelPositionFormatV2");

private:
    std::shared_ptr<UserDefaults> defaults_;
};

// One undo step of the reposition editor: each panel's centre fraction.
struct RepositionSnapshot {
    std::map<PanelID, QPointF> centerFractions;

    friend bool operator==(const RepositionSnapshot&, const RepositionSnapshot&) = default;
};

} // namespace tolvane
