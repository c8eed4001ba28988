#pragma once
// The few symbols the HUD shows, drawn as small shapes of our own inside a box of the glyph
// font's size.

#include <QColor>
#include <QRectF>
#include <QSizeF>

class QPainter;

namespace tolvane {

enum class HudSymbol { cubeFill, chevronCompactRight, equalCircleFill, arrowtriangleUpFill, arrowtriangleDownFill };

// The box a symbol takes at a font size of that many points.
QSizeF hudSymbolSize(HudSymbol symbol, double fontSize);
void drawHudSymbol(QPainter& painter, HudSymbol symbol, const QRectF& box, const QColor& colour);

} // namespace tolvane
