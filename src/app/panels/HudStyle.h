#pragma once
// The HUD look shared by the overlay panels, the champion-select cards and the main window: the
// named colours and the named text sizes, which follow the window text scale.

#include "app/panels/WindowFontScale.h"

#include <QColor>

namespace tolvane {

namespace HUD {
const QColor& panelTop();
const QColor& panelBottom();
const QColor& stroke(); // the one translucent entry
const QColor& iconBg();
const QColor& gold();
const QColor& teal();
const QColor& violet();
const QColor& ahead();
const QColor& behind();
const QColor& amber();
const QColor& neutral();
const QColor& textPrimary();
const QColor& textSecondary();
// The main window's Home tab only.
const QColor& silverHi();
const QColor& silverMid();
const QColor& silverLo();
} // namespace HUD

QColor withAlpha(QColor colour, double opacity);

WinFont hudHeaderFont(double s = defaultWindowFontScale);
WinFont hudSmallFont(double s = defaultWindowFontScale);
WinFont hudBodyFont(double s = defaultWindowFontScale);
WinFont hudStrongFont(double s = defaultWindowFontScale);
WinFont hudBigFont(double s = defaultWindowFontScale);
// For the drawn symbols: plain (not rounded) design.
WinFont hudGlyphFont(double size, QFont::Weight weight, double s = defaultWindowFontScale);

} // namespace tolvane
