#pragma once
// The factor by which the main window's text (and the HUD kit drawn inside it) grows with the
// user's text-size setting, and the named text sizes that follow it. Overlay panels never set it
// and draw at the default 1.0; their zoom comes from the panel window instead.

#include <QFont>
#include <QString>

#include <cstdint>

class QPaintDevice;

namespace tolvane {

inline constexpr double defaultWindowFontScale = 1.0;

// The face that draws what the main faces lack: Chinese, Japanese and Korean text.
inline const QString cjkFallbackFamily = QStringLiteral("WenQuanYi Micro Hei");

// The stored text-size index picks one of four steps; anything out of range takes the nearest.
double windowFontScaleForTextSizeIndex(int64_t index);

enum class FontDesign { standard, rounded };

// A text size: base points times the window text scale, with a weight and a design. One point is
// one device-independent pixel.
struct WinFont {
    double scale = defaultWindowFontScale;
    double base = 0;
    QFont::Weight weight = QFont::Normal;
    FontDesign design = FontDesign::rounded;

    double size() const { return base * scale; }
    // Inter (else the system sans) at size(); with monospacedDigits a face whose digits are all
    // one width, so counting figures do not jitter. The device decides how points become pixels;
    // without one the primary screen's does, which is what QFontMetricsF(font) measures with.
    QFont font(const QPaintDevice* device = nullptr, bool monospacedDigits = false) const;

    bool operator==(const WinFont&) const = default;
};

WinFont winSmall(double scale = defaultWindowFontScale);
WinFont winBody(double scale = defaultWindowFontScale);
WinFont winStrong(double scale = defaultWindowFontScale);
WinFont winBig(double scale = defaultWindowFontScale);

} // namespace tolvane
