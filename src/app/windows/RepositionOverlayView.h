#pragma once
// The reposition editor's view: laid over the game window's whole area, it dims the game, outlines
// the game's own HUD zones, draws a grid and one chip per panel for the user to drag, with a tab
// bar of game modes at the top, a size badge at the top right and a toolbar at the bottom. All
// editing rules live in the model; this view draws it and turns clicks and drags into its actions.

#include "core/overlay/RepositionEditorModel.h"

#include <QColor>
#include <QList>
#include <QRectF>
#include <QString>
#include <QWidget>

#include <array>
#include <optional>

namespace tolvane {

class RepositionOverlayView : public QWidget {
    Q_OBJECT
public:
    // Where everything stands for the current state, in the view's points (origin top-left).
    struct Layout {
        enum class ItemKind { label, divider, link, undo, reset, done };
        struct Item {
            ItemKind kind;
            QRectF rect;
            QString text;
        };
        // One of the game's HUD zones of the active mode, outlined, with its label.
        struct Zone {
            QRectF rect;
            QColor colour;
            QString label;
            QRectF labelRect;
        };

        double scale = 1; // of the tab bar and toolbar
        QRectF tabBar;
        std::array<QRectF, 3> tabs; // in RepositionMode order
        QList<QRectF> tabDividers;
        QRectF badge;
        QString badgeText;
        QRectF toolbar;
        QList<Item> toolbarItems;
        QList<Zone> zones;

        const Item* item(ItemKind kind) const;
    };

    // Runs the model's appearance step at once: the view is shown right after it is made.
    RepositionOverlayView(QSizeF gameSize, PanelSizes panelSizes, PanelPoints initialPositions,
        PanelPositionStore positionStore, OverlaySettingsStore settingsStore, RepositionEditorModel::OnDone onDone,
        QWidget* parent = nullptr, Qt::WindowFlags flags = {});

    RepositionEditorModel& model() { return model_; }
    const RepositionEditorModel& model() const { return model_; }

    Layout editorLayout() const;
    // The chip's drawn rectangle.
    QRectF chipRect(PanelID id) const;
    // The centre of the link mark under the popular-build chip; none while unlinked.
    std::optional<QPointF> linkMarkCenter() const;

    static constexpr double dimOpacity = 0.45;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    enum class Control { none, tabSR, tabARAM, tabArena, link, undo, reset, done };

    Control controlAt(const Layout& layout, QPointF point) const;
    bool coveredByBars(const Layout& layout, QPointF point) const;
    std::optional<PanelID> chipAt(QPointF point) const;
    void trigger(Control control);

    RepositionEditorModel model_;

    Control pressedControl_ = Control::none;
    std::optional<PanelID> pressedChip_;
    QPointF pressPoint_;
    bool dragging_ = false;
};

} // namespace tolvane
