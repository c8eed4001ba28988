#include "app/startup/PanelPlacement.h"

#include "app/startup/OverlayLoopState.h"
#include "app/windows/PanelWindow.h"
#include "core/overlay/OverlayGeometry.h"
#include "core/overlay/PanelPositionStore.h"

#include <algorithm>
#include <cmath>

namespace tolvane {

PanelPlacement::PanelPlacement(OverlayPanels panels, OverlayLoopServices services)
    : panels_(panels)
    , services_(services)
{
}

double PanelPlacement::overlayScale(QRectF gameFrame)
{
    const double height = gameFrame.height();
    if (!std::isfinite(height) || height <= 1)
        return 1.0;
    return std::clamp(height / referenceHeight, minimumScale, maximumScale);
}

QPointF PanelPlacement::storedOrigin(QPointF fraction, QSizeF size, QRectF gameFrame)
{
    const double centreX = gameFrame.x() + gameFrame.width() * fraction.x();
    const double centreY = gameFrame.y() + gameFrame.height() - gameFrame.height() * fraction.y();
    const QPointF origin(centreX - size.width() * 0.5, centreY - size.height() * 0.5);
    return OverlayGeometry::clamp(origin, size, gameFrame);
}

void PanelPlacement::positionPanel(PanelWindow& window, OverlayWindowPosition anchor, QRectF gameFrame) const
{
    window.isProgrammaticallyMoving = true;
    const auto id = panels_.panelID(&window);
    const auto fraction = id ? storedFraction(*id, services_.state.currentMode) : std::nullopt;
    if (fraction)
        window.setFrameOrigin(storedOrigin(*fraction, window.frame().size(), gameFrame));
    else
        window.align(gameFrame, anchor);
    window.lastProgrammaticOrigin = window.frame().topLeft();
    window.isProgrammaticallyMoving = false;
}

std::optional<QPointF> PanelPlacement::storedFraction(PanelID panel, RepositionMode mode) const
{
    const quint64 revision = services_.positionStore.defaults()->revision();
    if (fractionsReadAt_ != revision) {
        fractions_.clear();
        fractionsReadAt_ = revision;
    }
    const auto key = std::make_pair(panel, mode);
    auto found = fractions_.find(key);
    if (found == fractions_.end())
        found = fractions_.emplace(key, services_.positionStore.fraction(panel, mode)).first;
    return found->second;
}

} // namespace tolvane
