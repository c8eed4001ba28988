#pragma once
// The farm panel: CS per minute in large figures and the CS count, and for a laner how much of
// the lane CS spawned so far was taken, as a coloured bar and a percentage.

#include "app/panels/FarmViewModel.h"
#include "app/panels/HudColumn.h"
#include "app/panels/HudPanelContent.h"

#include <QColor>
#include <QPointer>
#include <QString>

#include <optional>

namespace tolvane {

class FarmOverlayView : public HudPanelContent {
    Q_OBJECT
public:
    static constexpr double defaultWidth = 200;

    // The view model must outlive the view or be destroyed with it.
    FarmOverlayView(FarmViewModel* vm, double width = defaultWidth, QObject* parent = nullptr);

    QSizeF naturalSize() const override;
    void paint(QPainter& painter) override;

    // The pure parts.
    static QString csPerMinText(std::optional<double> csPerMin); // "7.5", or a dash
    // The share of the spawned lane CS taken, between 0 and 1; available is at least 1.
    static double caughtShare(int64_t cs, int64_t available);
    static QColor caughtColor(double share);
    static QString caughtText(int64_t cs, int64_t available); // "67% of 120 lane CS spawned"
    // The bar's fill for a bar that wide.
    static double caughtFillWidth(double barWidth, double share);

    // What the panel draws of a readout: the figures as written, not the numbers behind them, so
    // a CS-per-minute that moves in the second decimal repaints nothing.
    struct Look {
        bool inGame = false;
        std::optional<QString> lane;
        QString rate;
        int64_t cs = 0;
        std::optional<int64_t> laneAvailable;
        bool operator==(const Look&) const = default;
    };
    static Look lookOf(const std::optional<FarmViewModel::Readout>& readout);

private:
    HudColumn column() const;
    void modelChanged();

    QPointer<FarmViewModel> vm_;
    double width_;
    Look shown_;
};

} // namespace tolvane
