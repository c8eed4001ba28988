#pragma once
// Lays a panel's rows out top to bottom: each row is measured when added and drawn into its
// slot, the full width of the column. Panels build one from their state both to report their
// size and to paint, so the two always agree.

#include <QColor>
#include <QRectF>
#include <QString>

#include <functional>
#include <vector>

class QPainter;

namespace tolvane {

// One row: a name tests can look for, its height, and how it draws itself into a slot as wide
// as the column.
struct PanelRow {
    QString name;
    double height = 0;
    std::function<void(QPainter&, const QRectF&)> paint;
};

class HudColumn {
public:
    using Draw = std::function<void(QPainter&, const QRectF&)>;

    explicit HudColumn(double spacing)
        : spacing_(spacing)
    {
    }

    void add(double height, Draw draw) { rows_.push_back({QString(), height, std::move(draw)}); }
    void add(PanelRow row) { rows_.push_back(std::move(row)); }
    // A thin line in the given colour, as SwiftUI's divider between sections.
    void addDivider(const QColor& colour);

    size_t count() const { return rows_.size(); }
    const std::vector<PanelRow>& rows() const { return rows_; }
    std::vector<QString> names() const;
    double height() const;
    // Where each row goes inside an area that starts at top.
    std::vector<QRectF> rowRects(const QRectF& area) const;
    void paint(QPainter& painter, const QRectF& area) const;

private:
    double spacing_;
    std::vector<PanelRow> rows_;
};

} // namespace tolvane
