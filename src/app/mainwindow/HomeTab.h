#pragma once
// The main window's Home tab: the product header with glyph and wordmark, trust pills, a live
// status block (game client, what the player is doing, overlay switch), the quick start, a
// button to the Settings tab and the data-sources footer. It keeps no state: it reads both view
// models and redraws when either changes.

#include "app/champselect/ChampSelectViewModel.h"

#include <QColor>
#include <QRectF>
#include <QString>
#include <QWidget>

#include <functional>
#include <vector>

namespace tolvane {

class ResetPillButton;
class RuneBuildViewModel;

class HomeTab : public QWidget {
public:
    struct StatusRow {
        QString label;
        QString value;
        QColor colour;
        bool operator==(const StatusRow&) const = default;
    };
    // The three status rows for the models' state, first matching condition per row.
    static std::vector<StatusRow> statusRows(ChampSelectViewModel::Phase phase, bool inGame, bool overlayEnabled);

    static const QString tagline;
    static const std::vector<QString> pills;
    static const std::vector<QString> quickStart;
    static const QString footer;

    // Both models must outlive the tab.
    HomeTab(ChampSelectViewModel& champVM, RuneBuildViewModel& runeVM, bool isOverlayEnabled,
        std::function<void()> onOpenSettings, double s = 1.0, QWidget* parent = nullptr);

    std::vector<StatusRow> statusRows() const;
    // Where each block lands at a width, from the tab's top-left corner.
    struct Layout {
        QRectF logo;
        QRectF wordmark;
        QRectF tagline;
        std::vector<QRectF> pills;
        double pillScale = 1; // the pills' shared font shrink, 0.7 at least
        QRectF statusHeader;
        std::vector<QRectF> statusRows;
        QRectF quickStartHeader;
        std::vector<QRectF> badges;
        std::vector<QRectF> steps;
        QRectF button;
        QRectF footer;
        double height = 0;
    };
    Layout layoutFor(double width) const;
    bool showsWordmarkImage() const;
    ResetPillButton* openSettingsButton() const { return button_; }

    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent*) override;
    void resizeEvent(QResizeEvent*) override;

private:
    ChampSelectViewModel& champVM_;
    RuneBuildViewModel& runeVM_;
    bool isOverlayEnabled_;
    double s_;
    ResetPillButton* button_;
};

} // namespace tolvane
