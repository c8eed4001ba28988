#include "app/windows/RepositionOverlayController.h"

#include "app/windows/RepositionOverlayView.h"
#include "platform/OverlayWindowNative.h"
#include "platform/ScreenSpace.h"

#include <QWindow>

namespace tolvane {

RepositionOverlayController::RepositionOverlayController(OverlayWindowNative& native, QObject* parent)
    : QObject(parent)
    , native_(native)
{
}

RepositionOverlayController::~RepositionOverlayController()
{
    dismiss();
}

void RepositionOverlayController::show(QRectF gameFrame, const std::map<PanelID, QRectF>& livePanels,
    PanelPositionStore positionStore, OverlaySettingsStore settingsStore, RepositionEditorModel::OnDone onDone)
{
    dismiss();

    PanelSizes liveSizes;
    for (const auto& [id, frame] : livePanels)
        liveSizes[id] = frame.size();
    panelSizes_ = RepositionEditorModel::chipSizesFor(gameFrame.height(), liveSizes);
    const PanelPoints initial = RepositionEditorModel::initialPositionsFor(gameFrame.size(), positionStore);

    QPointer<RepositionOverlayController> self(this);
    auto done = [self, onDone = std::move(onDone)](PanelPoints centers, RepositionMode mode) {
        if (self)
            self->dismiss();
        if (onDone)
            onDone(std::move(centers), mode);
    };
    auto* view = new RepositionOverlayView(gameFrame.size(), panelSizes_, initial, std::move(positionStore),
        std::move(settingsStore), std::move(done), nullptr, native_.panelFlags());
    view_ = view;

    // The one conversion from screen coordinates to Qt's: without a screen, the frame's own top
    // edge stands in for the primary screen's height.
    const double primaryHeight = ScreenSpace::primaryScreenHeight().value_or(gameFrame.y() + gameFrame.height());
    view->setGeometry(ScreenSpace::flipped(gameFrame, primaryHeight).toRect());
    view->show();
    if (QWindow* window = view->windowHandle())
        native_.raise(*window);
}

void RepositionOverlayController::dismiss()
{
    if (!view_)
        return;
    RepositionOverlayView* view = view_;
    view_ = nullptr;
    view->hide();
    // Done reaches here from inside the view's own click handling: let that unwind first.
    view->deleteLater();
}

} // namespace tolvane
