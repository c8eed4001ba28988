#include "app/panels/WindowFontScale.h"

#include <QGuiApplication>
#include <QPaintDevice>
#include <QScreen>

#include <algorithm>
#include <array>

namespace tolvane {

namespace {

double logicalDpi(const QPaintDevice* device)
{
    double dpi = 0;
    if (device)
        dpi = device->logicalDpiY();
    else if (const QScreen* screen = QGuiApplication::primaryScreen())
        dpi = screen->logicalDotsPerInchY();
    return dpi > 0 ? dpi : 96.0;
}

} // namespace

double windowFontScaleForTextSizeIndex(int64_t index)
{
    static constexpr std::array<double, 4> steps {1.0, 1.18, 1.36, 1.55};
    return steps[size_t(std::clamp<int64_t>(index, 0, int64_t(steps.size()) - 1))];
}

QFont WinFont::font(const QPaintDevice* device, bool monospacedDigits) const
{
    // Inter's figures are proportional and Qt 6.4 cannot switch on its tabular ones, so counting
    // figures use DejaVu Sans, whose digits share one width. Neither has Chinese, Japanese or
    // Korean letters (players' names from those servers): those come from a CJK face.
    QFont font;
    font.setFamilies({monospacedDigits ? QStringLiteral("DejaVu Sans") : QStringLiteral("Inter"), cjkFallbackFamily});
    font.setStyleHint(QFont::SansSerif);
    // QFont's point sizes follow the device's logical dpi; ours are device-independent pixels,
    // so convert, which also keeps fractional sizes that setPixelSize would round.
    font.setPointSizeF(std::max(size(), 0.1) * 72.0 / logicalDpi(device));
    font.setWeight(weight);
    return font;
}

WinFont winSmall(double scale)
{
    return {scale, 9.5, QFont::Medium, FontDesign::rounded};
}

WinFont winBody(double scale)
{
    return {scale, 11.5, QFont::Medium, FontDesign::rounded};
}

WinFont winStrong(double scale)
{
    return {scale, 12, QFont::DemiBold, FontDesign::rounded};
}

WinFont winBig(double scale)
{
    return {scale, 24, QFont::ExtraBold, FontDesign::rounded};
}

} // namespace tolvane
