#include "app/panels/HudStyle.h"

namespace tolvane {

namespace {

QColor srgb(double red, double green, double blue, double opacity = 1)
{
    return QColor::fromRgbF(float(red), float(green), float(blue), float(opacity));
}

QColor white(double w)
{
    return srgb(w, w, w);
}

} // namespace

namespace HUD {

#define TOLVANE_HUD_COLOUR(name, value)                                                                                \
    const QColor& name()                                                                                               \
    {                                                                                                                  \
        static const QColor colour = value;                                                                            \
        return colour;                                                                                                 \
    }

TOLVANE_HUD_COLOUR(panelTop, srgb(0.07, 0.08, 0.11))
TOLVANE_HUD_COLOUR(panelBottom, srgb(0.03, 0.035, 0.05))
TOLVANE_HUD_COLOUR(stroke, srgb(0.8, 0.67, 0.42, 0.3))
TOLVANE_HUD_COLOUR(iconBg, srgb(0.1, 0.11, 0.14))
TOLVANE_HUD_COLOUR(gold, srgb(0.784, 0.667, 0.431))
TOLVANE_HUD_COLOUR(teal, srgb(0.23, 0.82, 0.76))
TOLVANE_HUD_COLOUR(violet, srgb(0.635, 0.412, 0.937))
TOLVANE_HUD_COLOUR(ahead, srgb(0.36, 0.87, 0.55))
TOLVANE_HUD_COLOUR(behind, srgb(0.97, 0.42, 0.42))
TOLVANE_HUD_COLOUR(amber, srgb(0.97, 0.74, 0.34))
TOLVANE_HUD_COLOUR(neutral, white(0.62))
TOLVANE_HUD_COLOUR(textPrimary, white(0.96))
TOLVANE_HUD_COLOUR(textSecondary, white(0.6))
TOLVANE_HUD_COLOUR(silverHi, srgb(0.957, 0.953, 0.953))
TOLVANE_HUD_COLOUR(silverMid, srgb(0.643, 0.639, 0.639))
TOLVANE_HUD_COLOUR(silverLo, srgb(0.365, 0.361, 0.369))

#undef TOLVANE_HUD_COLOUR

} // namespace HUD

QColor withAlpha(QColor colour, double opacity)
{
    colour.setAlphaF(float(colour.alphaF() * opacity));
    return colour;
}

WinFont hudHeaderFont(double s)
{
    return {s, 10, QFont::DemiBold, FontDesign::rounded};
}

WinFont hudSmallFont(double s)
{
    return winSmall(s);
}

WinFont hudBodyFont(double s)
{
    return winBody(s);
}

WinFont hudStrongFont(double s)
{
    return winStrong(s);
}

WinFont hudBigFont(double s)
{
    return winBig(s);
}

WinFont hudGlyphFont(double size, QFont::Weight weight, double s)
{
    return {s, size, weight, FontDesign::standard};
}

} // namespace tolvane
