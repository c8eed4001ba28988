#include "app/panels/HudColumn.h"

#include <QColor>
#include <QPainter>

namespace tolvane {

void HudColumn::addDivider(const QColor& colour)
{
    add(1, [colour](QPainter& painter, const QRectF& slot) { painter.fillRect(slot, colour); });
}

double HudColumn::height() const
{
    double total = 0;
    for (const Row& row : rows_)
        total += row.height;
    if (rows_.size() > 1)
        total += spacing_ * double(rows_.size() - 1);
    return total;
}

std::vector<QRectF> HudColumn::rowRects(const QRectF& area) const
{
    std::vector<QRectF> result;
    double y = area.top();
    for (const Row& row : rows_) {
        result.emplace_back(area.left(), y, area.width(), row.height);
        y += row.height + spacing_;
    }
    return result;
}

void HudColumn::paint(QPainter& painter, const QRectF& area) const
{
    const std::vector<QRectF> places = rowRects(area);
    for (size_t i = 0; i < rows_.size(); ++i) {
        painter.save();
        rows_[i].draw(painter, places[i]);
        painter.restore();
    }
}

} // namespace tolvane
