#include "app/windows/RepositionStyle.h"

#include <QFontDatabase>
#include <QPaintDevice>

namespace tolvane {

namespace {

QColor srgb(double red, double green, double blue)
{
    return QColor::fromRgbF(float(red), float(green), float(blue));
}

QFont sizedFont(QFont font, double points, QFont::Weight weight, const QPaintDevice* device)
{
    // QFont's point sizes follow the device's logical dpi; our points are device-independent
    // pixels, so convert, which also keeps fractional sizes that setPixelSize would round.
    const double dpi = device ? device->logicalDpiY() : 96.0;
    font.setPointSizeF(points * 72.0 / (dpi > 0 ? dpi : 96.0));
    font.setWeight(weight);
    return font;
}

} // namespace

QColor chipColor(PanelID id)
{
    switch (id) {
    case PanelID::combos:
        return srgb(0.47, 0.22, 0.94);
    case PanelID::cooldowns:
        return QColor(Qt::gray);
    case PanelID::popularBuild:
        return srgb(0.43, 0.2, 0.9);
    case PanelID::matchup:
        return srgb(0, 0.59, 0.75);
    case PanelID::goldTracker:
        return QColor(Qt::yellow);
    case PanelID::farmBenchmark:
        return srgb(0, 0.78, 0.39);
    }
    return QColor(Qt::white);
}

QString chipLabel(PanelID id)
{
    switch (id) {
    case PanelID::combos:
        return QStringLiteral("Combos");
    case PanelID::cooldowns:
        return QStringLiteral("Cooldowns");
    case PanelID::popularBuild:
        return QStringLiteral("Popular build");
    case PanelID::matchup:
        return QStringLiteral("Matchup");
    case PanelID::goldTracker:
        return QStringLiteral("Gold tracker");
    case PanelID::farmBenchmark:
        return QStringLiteral("Farm benchmark");
    }
    return {};
}

QFont repositionFont(double points, QFont::Weight weight, const QPaintDevice* device)
{
    QFont font(QStringLiteral("Inter"));
    font.setStyleHint(QFont::SansSerif);
    return sizedFont(font, points, weight, device);
}

QFont repositionMonoFont(double points, QFont::Weight weight, const QPaintDevice* device)
{
    return sizedFont(QFontDatabase::systemFont(QFontDatabase::FixedFont), points, weight, device);
}

QColor withOpacity(QColor colour, double opacity)
{
    colour.setAlphaF(float(opacity));
    return colour;
}

QColor ModeTabStyle::background() const
{
    return active ? withOpacity(Qt::yellow, 0.88) : QColor(Qt::transparent);
}

QColor ModeTabStyle::text() const
{
    return active ? QColor(Qt::black) : QColor(Qt::gray);
}

QColor ToolbarButtonStyle::background() const
{
    switch (variant) {
    case Variant::primary:
        return withOpacity(Qt::yellow, 0.09);
    case Variant::secondary:
        return withOpacity(Qt::white, 0.05);
    case Variant::toggle:
        return withOpacity(Qt::yellow, 0.18);
    case Variant::done:
        return withOpacity(Qt::yellow, 0.9);
    }
    return Qt::transparent;
}

QColor ToolbarButtonStyle::text() const
{
    switch (variant) {
    case Variant::primary:
    case Variant::toggle:
        return Qt::yellow;
    case Variant::secondary:
        return srgb(0.55, 0.55, 0.55);
    case Variant::done:
        return Qt::black;
    }
    return Qt::white;
}

QColor ToolbarButtonStyle::outline() const
{
    switch (variant) {
    case Variant::primary:
        return withOpacity(Qt::yellow, 0.3);
    case Variant::secondary:
        return withOpacity(Qt::white, 0.18);
    case Variant::toggle:
        return withOpacity(Qt::yellow, 0.5);
    case Variant::done:
        return Qt::transparent;
    }
    return Qt::transparent;
}

} // namespace tolvane
