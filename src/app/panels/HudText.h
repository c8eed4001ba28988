#pragma once
// Text as the HUD draws it: a named size, a colour, letter spacing and optionally figures of one
// width, measured and drawn from a top-left corner so that rows can be laid out by hand.

#include "app/panels/WindowFontScale.h"

#include <QColor>
#include <QFont>
#include <QPointF>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class QPainter;
class QPaintDevice;

namespace tolvane {

struct HudTextStyle {
    WinFont font;
    QColor color;
    double tracking = 0; // points added after each character
    bool monospacedDigits = false;

    QFont qfont(const QPaintDevice* device = nullptr) const;
    // One line's height and the distance from its top to the baseline.
    double lineHeight() const;
    double ascent() const;
    double width(const QString& text) const;
    QSizeF size(const QString& text) const { return {width(text), lineHeight()}; }
};

// One line from its top-left corner.
void drawHudText(QPainter& painter, QPointF topLeft, const QString& text, const HudTextStyle& style);

// One line inside a box (top-aligned), placed by the horizontal part of alignment. Too wide, it
// shrinks down to minimumScale of its size and then is cut with an ellipsis.
void drawHudLine(QPainter& painter, const QRectF& box, const QString& text, const HudTextStyle& style,
    Qt::Alignment alignment = Qt::AlignLeft, double minimumScale = 1.0);

// Text wrapped at word boundaries within a width (0 or less: one line): its height, and drawing
// it from the top of a box.
double wrappedTextHeight(const QString& text, const HudTextStyle& style, double width);
// Whether wrapping within the width breaks a word: one of its words is wider than the width.
bool wrapBreaksAWord(const QString& text, const HudTextStyle& style, double width);
void drawWrappedText(QPainter& painter, const QRectF& box, const QString& text, const HudTextStyle& style,
    Qt::Alignment alignment = Qt::AlignLeft);

// Up to maxLines lines wrapped within the width, shrinking down to minimumScale of the size
// before the last line is cut with an ellipsis.
struct FittedLines {
    double fontSize = 0; // the size the text is drawn at
    QStringList lines;
    double height = 0;
};
FittedLines fitLines(const QString& text, const HudTextStyle& style, double width, int maxLines, double minimumScale);
void drawFittedLines(QPainter& painter, const QRectF& box, const FittedLines& fitted, const HudTextStyle& style,
    Qt::Alignment alignment = Qt::AlignHCenter);

// Told of every line cut with an ellipsis while set (tests watch for text that does not fit).
void setHudElisionObserver(std::function<void(const QString& text)> observer);
// Told of every wrapped text drawn with a line broken inside a word (a word wider than its line)
// while set.
void setHudWordBreakObserver(std::function<void(const QString& text)> observer);

// The font size a line ends up drawn at in a box of that width (for tests and layout).
double fittedFontSize(const QString& text, const HudTextStyle& style, double width, double minimumScale);

// The short lane word the panels' headers show for a live position ("MIDDLE" gives "mid"), any
// case; none for an unknown or missing position.
std::optional<QString> hudLaneLabel(const std::optional<QString>& position);

} // namespace tolvane
