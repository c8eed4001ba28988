#include "core/overlay/OverlayGeometry.h"

#include <algorithm>
#include <cmath>

namespace tolvane::OverlayGeometry {

namespace {

double clampAxis(double value, double extent, double rectMin, double rectExtent)
{
    const double low = rectMin + margin;
    const double high = std::max(low, rectMin + rectExtent - extent - margin);
    if (!std::isfinite(value) || !std::isfinite(high))
        return low;
    return std::min(high, std::max(low, value));
}

double finiteOrZero(double value)
{
    return std::isfinite(value) ? value : 0.0;
}

} // namespace

QPointF clamp(QPointF origin, QSizeF size, QRectF rect)
{
    return {clampAxis(origin.x(), size.width(), rect.x(), rect.width()),
        clampAxis(origin.y(), size.height(), rect.y(), rect.height())};
}

QPointF fraction(QPointF origin, QRectF rect)
{
    if (!(rect.width() > 0 && rect.height() > 0))
        return {0, 0};
    const QPointF result((origin.x() - rect.x()) / rect.width(), (origin.y() - rect.y()) / rect.height());
    if (!std::isfinite(result.x()) || !std::isfinite(result.y()))
        return {0, 0};
    return result;
}

QPointF origin(QPointF fraction, QRectF rect)
{
    return {
        rect.x() + rect.width() * finiteOrZero(fraction.x()), rect.y() + rect.height() * finiteOrZero(fraction.y())};
}

} // namespace tolvane::OverlayGeometry
