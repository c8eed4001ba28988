#pragma once
// The combo panel: the champion's popular skill combos as numbered rows under a violet header,
// with a caption saying where they come from. Draws nothing while there is nothing to show.

#include "app/panels/ComboViewModel.h"
#include "app/panels/HudPanelContent.h"

#include <QRectF>
#include <QString>

#include <vector>

namespace tolvane {

class ComboOverlayView : public HudPanelContent {
    Q_OBJECT
public:
    static constexpr double columnSpacing = 7;
    static constexpr double rowSpacing = 4;
    static constexpr double numberSpacing = 6;
    // A long combo name shrinks this far before it is cut.
    static constexpr double nameMinimumScale = 0.7;

    // Where everything goes, in the content's own coordinates, for the view model's state now.
    struct Layout {
        struct Row {
            QString number;
            QString name;
            QRectF numberBox;
            QRectF nameBox;
        };

        bool shown = false;
        QSizeF size; // 1 by 1 when nothing is shown
        double contentHeight = 0;
        QRectF header;
        std::vector<Row> rows;
        QRectF pill;
    };

    // maxShown below 0 counts as 0.
    ComboOverlayView(ComboViewModel& vm, double width, int maxShown, QObject* parent = nullptr);

    Layout layout() const;

    QSizeF naturalSize() const override;
    void paint(QPainter& painter) override;

private:
    ComboViewModel& vm_;
    double width_;
    int maxShown_;
};

} // namespace tolvane
