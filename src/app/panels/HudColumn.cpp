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
    for (const PanelRow& row : rows_)
        total += row.height;
    if (rows_.size() > 1)
        total += spacing_ * double(rows_.size() - 1);
    return total;
}

std::vector<QRectF> HudColumn::rowRects(const QRectF& area) const
{
    std::vector<QRectF> result;
    double y = area.top();
    for (const PanelRow& row : rows_) {
        result.emplace_back(area.left(), y, area.width(), row.height);
        y += row.height + spacing_;
    }
    return result;
}

void HudColumn::paint(QPainter& painter, const QRectF& area) const
{
    const std::vector<QRectF> places = rowRects(area);
    for (size_t i = 0; i < rows_.size(); ++i) {
        if (!rows_[i].paint)
            continue;
        painter.save();
        rows_[i].paint(painter, places[i]);
        painter.restore();
    }
}

std::vector<QString> HudColumn::names() const
{
    std::vector<QString> out;
    for (const PanelRow& row : rows_)
        out.push_back(row.name);
    return out;
}

} // namespace tolvane
