#pragma once
// The enemy summoner-spell panel: a portrait and the two spell icons per enemy, a countdown over
// a spell the player clicked. The one panel content that takes clicks.

#include "app/panels/CooldownPanelViewModel.h"
#include "app/panels/HudPanelContent.h"

#include <QPointer>
#include <QRectF>
#include <QString>
#include <QUrl>

#include <cstdint>
#include <optional>
#include <vector>

namespace tolvane {

class HudImageSource;

class CooldownOverlayView : public HudPanelContent {
    Q_OBJECT
public:
    static constexpr double contentWidth = 124;
    static constexpr double portraitEdge = 40;
    static constexpr double cellEdge = 34;
    static constexpr double iconRadius = 6;
    static constexpr double spacing = 8;
    static constexpr double countdownFontSize = 11;

    // Where everything goes, in the content's own coordinates, for the view model's state now.
    struct Layout {
        struct Cell {
            int64_t enemy = 0;
            int64_t slot = 0;
            QRectF rect;
            std::optional<QUrl> icon;
            double opacity = 1;
            std::optional<QString> countdown;
            bool operator==(const Cell&) const = default;
        };
        struct Row {
            QRectF portrait;
            std::optional<QUrl> portraitImage;
            std::vector<Cell> cells;
            bool operator==(const Row&) const = default;
        };

        bool shown = false;
        QSizeF size; // empty when nothing is shown
        double contentHeight = 0; // inside the panel frame
        QRectF header;
        std::vector<Row> rows;
        bool operator==(const Layout&) const = default;
    };

    // The images come from a shared source; without one every icon keeps its placeholder.
    explicit CooldownOverlayView(
        CooldownPanelViewModel& vm, HudImageSource* images = nullptr, QObject* parent = nullptr);

    Layout layout() const;

    QSizeF naturalSize() const override;
    void paint(QPainter& painter) override;
    // A click on a spell cell marks it (an untrackable one takes the click and changes nothing).
    bool mousePressed(QPointF point) override;

private:
    // Repaints only when what is drawn changed: a countdown moves on every snapshot, its text
    // (whole seconds, or minutes) less often.
    void modelChanged();
    void paintIcon(QPainter& painter, const QRectF& rect, const std::optional<QUrl>& address, double opacity) const;

    CooldownPanelViewModel& vm_;
    QPointer<HudImageSource> images_;
    Layout shown_;
    double shownOpacity_ = 0;
};

} // namespace tolvane
