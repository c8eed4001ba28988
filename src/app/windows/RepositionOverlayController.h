#pragma once
// Opens the reposition editor over the game window (or wherever the caller says the game is) and
// closes it. It sizes each panel's chip from the live panel windows, reads the stored Summoner's
// Rift positions, and hosts the editor in a borderless window above the game; the editor itself
// reads and writes the stores.

#include "core/overlay/RepositionEditorModel.h"

#include <QObject>
#include <QPointer>
#include <QRectF>

#include <map>

namespace tolvane {

class OverlayWindowNative;
class RepositionOverlayView;

class RepositionOverlayController : public QObject {
    Q_OBJECT
public:
    // The native services must outlive the controller.
    explicit RepositionOverlayController(OverlayWindowNative& native, QObject* parent = nullptr);
    ~RepositionOverlayController() override;

    // Opens a fresh editor over gameFrame (screen coordinates, origin bottom-left, y upward).
    // livePanels holds the current frames of the panel windows; only their sizes count. An editor
    // still open is closed first, so none is ever left behind on screen. onDone runs after the
    // editor has closed, with the chip centres in points and the mode that was being edited.
    void show(QRectF gameFrame, const std::map<PanelID, QRectF>& livePanels, PanelPositionStore positionStore,
        OverlaySettingsStore settingsStore, RepositionEditorModel::OnDone onDone);
    // Closes the editor if one is open.
    void dismiss();

    bool isOpen() const { return !view_.isNull(); }
    const PanelSizes& panelSizes() const { return panelSizes_; }
    RepositionOverlayView* view() const { return view_; }

private:
    OverlayWindowNative& native_;
    PanelSizes panelSizes_;
    QPointer<RepositionOverlayView> view_;
};

} // namespace tolvane
