#pragma once
// The reposition editor's state and editing rules, apart from any window: the chips of the six
// panels in the editor's space (origin at the game window's top-left corner, y downward, a chip's
// position is its centre), the mode being edited, per-mode undo, reset, the link that makes the
// matchup chip follow the popular-build chip, and Done. Positions reach the store as fractions of
// the game window when the mode changes and on Done; Reset clears the mode's positions at once.

#include "core/overlay/OverlaySettingsStore.h"
#include "core/overlay/PanelID.h"
#include "core/overlay/PanelPositionStore.h"

#include <QPointF>
#include <QSizeF>

#include <functional>
#include <map>
#include <vector>

namespace tolvane {

using PanelPoints = std::map<PanelID, QPointF>;
using PanelSizes = std::map<PanelID, QSizeF>;

class RepositionEditorModel {
public:
    using OnDone = std::function<void(PanelPoints centers, RepositionMode mode)>;

    static constexpr double linkGap = 12.0;
    static constexpr double dragThreshold = 10.0;
    static constexpr QSizeF fallbackChipSize {120, 60};

    RepositionEditorModel(QSizeF gameSize, PanelSizes panelSizes, PanelPoints initialPositions,
        PanelPositionStore positionStore, OverlaySettingsStore settingsStore, OnDone onDone);

    // Chip sizes for an editor over a game window of the given height: each live panel window's
    // size when it is more than 50 pt in that dimension, else the default scaled by height / 1440;
    // the two build chips share one width so they can be stacked and linked.
    static PanelSizes chipSizesFor(double gameHeight, const PanelSizes& liveWindowSizes);
    // The stored Summoner's Rift centres in points of a game window of the given size.
    static PanelPoints initialPositionsFor(QSizeF gameSize, const PanelPositionStore& store);

    // Runs once when the editor is first shown.
    void appear();

    QSizeF gameSize() const { return gameSize_; }
    QSizeF chipSize(PanelID id) const;
    // The panel's default corner plus half its chip. Not kept inside the game area: the farm
    // chip's corner lies so low that the chip reaches past the bottom edge.
    QPointF defaultCenter(PanelID id) const;
    PanelPoints defaultChipCenters() const;
    // Every panel: its stored fraction for the mode in points, as stored even past an edge, else
    // its default centre.
    PanelPoints loadPositions(RepositionMode mode) const;
    void saveCurrentPositions(RepositionMode mode);
    PanelPoints centerFractions(const PanelPoints& centers) const;

    void switchMode(RepositionMode mode);
    void performUndo();
    void performReset();
    void performDone();
    void toggleLink();

    // One movement of a drag on a chip that has passed the threshold; translation from where the
    // drag began.
    void dragChanged(PanelID id, QSizeF chipSize, QPointF translation);
    void dragEnded(PanelID id);

    RepositionMode activeMode() const { return activeMode_; }
    const PanelPoints& chipCenters() const { return chipCenters_; }
    // Where the chip is drawn: its centre, or its default centre when it has none.
    QPointF chipCenter(PanelID id) const;
    bool twoBuildLinked() const { return twoBuildLinked_; }
    // Steps in the active mode's undo stack.
    int undoCount() const;
    int undoCount(RepositionMode mode) const;

private:
    QSizeF gameSize_;
    PanelSizes panelSizes_;
    PanelPoints initialPositions_;
    PanelPositionStore positionStore_;
    OverlaySettingsStore settingsStore_;
    OnDone onDone_;

    RepositionMode activeMode_ = RepositionMode::summonersRift;
    PanelPoints chipCenters_;
    PanelPoints preDragCenters_;
    std::map<RepositionMode, std::vector<RepositionSnapshot>> undoStacks_;
    bool twoBuildLinked_ = true;
    bool done_ = false;
};

} // namespace tolvane
