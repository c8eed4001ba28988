#pragma once
// Where a shown panel goes over the game window: the centre the user stored for it in the game
// mode in use, kept 8 pt inside the game window, else its default anchor; and the zoom of every
// panel from the game window's height. Screen coordinates (origin bottom-left, y upward). A panel
// re-placed on every tick reads its stored centre from memory until the store is written.

#include "app/startup/OverlayLoopServices.h"
#include "app/startup/OverlayPanels.h"
#include "app/windows/OverlayWindowPosition.h"
#include "core/overlay/PanelID.h"

#include <QPointF>
#include <QRectF>
#include <QSizeF>

#include <map>
#include <optional>
#include <utility>

namespace tolvane {

class PanelWindow;

class PanelPlacement {
public:
    // The height at which panels are drawn at their own size, and the zoom's bounds.
    static constexpr double referenceHeight = 1440;
    static constexpr double minimumScale = 0.6;
    static constexpr double maximumScale = 1.7;

    PanelPlacement(OverlayPanels panels, OverlayLoopServices services);

    // Moves the window as the application's own move, so the move tracking does not take it for a
    // drag, and remembers where it put it.
    void positionPanel(PanelWindow& window, OverlayWindowPosition anchor, QRectF gameFrame) const;

    // 1.0 for a degenerate game window (1 pt high or less).
    static double overlayScale(QRectF gameFrame);
    // The origin of a panel of `size` whose centre lies at a stored fraction of the game window,
    // measured from its top-left corner, x rightward and y downward; kept 8 pt inside it.
    static QPointF storedOrigin(QPointF fraction, QSizeF size, QRectF gameFrame);

private:
    // The stored centre, kept from one placement to the next until the store is written.
    std::optional<QPointF> storedFraction(PanelID panel, RepositionMode mode) const;

    OverlayPanels panels_;
    OverlayLoopServices services_;
    mutable std::map<std::pair<PanelID, RepositionMode>, std::optional<QPointF>> fractions_;
    mutable std::optional<quint64> fractionsReadAt_;
};

} // namespace tolvane
