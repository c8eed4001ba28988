#pragma once
// The small pieces of the HUD look: the title row, the caption pill, item icons and rows of them,
// and the gold bar and gold difference badge. Each is a value measured and drawn with QPainter
// from a top-left corner; s is the window text scale (1.0 in the overlay panels).

#include "app/panels/HudImageCache.h"
#include "app/panels/HudSymbols.h"
#include "app/panels/HudText.h"
#include "app/panels/WindowFontScale.h"

#include <QColor>
#include <QRectF>
#include <QString>
#include <QUrl>

#include <cstdint>
#include <optional>
#include <vector>

class QPainter;

namespace tolvane {

// Title in upper case in the accent colour; an optional trailing text at the far end.
struct HUDHeader {
    QString title;
    QColor accent;
    std::optional<QString> trailing;
    double s = defaultWindowFontScale;

    HudTextStyle titleStyle() const;
    HudTextStyle trailingStyle() const;
    double height() const;
    void paint(QPainter& painter, const QRectF& row) const;
};

struct CaveatPill {
    QString text;
    QColor color;
    double s = defaultWindowFontScale;

    HudTextStyle textStyle() const;
    QSizeF size() const;
    void paint(QPainter& painter, QPointF topLeft) const;
};

// A square tile showing an item's icon; a placeholder while the image is not at hand.
struct ItemIconView {
    int64_t itemID = 0;
    QString version;
    double size = 0; // edge before the text scale
    double s = defaultWindowFontScale;
    HudImageSource* images = nullptr; // none: the placeholder stays

    static constexpr double cornerRadius = 5;

    enum class Shows { emptyTile, placeholder, image };

    double edge() const { return size * s; }
    // On the source's Data Dragon base; none without a source.
    std::optional<QUrl> imageAddress() const;
    // What a paint would draw now (asks the source for the image, like paint does). The tile stays
    // empty where no icon address exists: an empty version or an id below 1.
    Shows shows() const;
    void paint(QPainter& painter, QPointF topLeft) const;

private:
    struct Look {
        Shows shows;
        std::optional<QImage> image; // when it shows one
    };
    Look look() const;
};

struct ItemStrip {
    std::vector<int64_t> ids;
    QString version;
    double size = 0;
    bool connector = false;
    double s = defaultWindowFontScale;
    HudImageSource* images = nullptr;

    double spacing() const { return (connector ? 3 : 5) * s; }
    QSizeF chevronSize() const;
    // Where each icon and each chevron goes, from the strip's top-left corner.
    std::vector<QRectF> iconRects() const;
    std::vector<QRectF> chevronRects() const;
    QSizeF frameSize() const;
    void paint(QPainter& painter, QPointF topLeft) const;
};

// A bar that fills from its centre: rightwards and green when ahead, leftwards and red when behind.
struct DivergingGoldBar {
    int64_t delta = 0;
    int64_t maxMagnitude = 1; // must be positive; anything less counts as 1
    double baseWidth = 0;
    double baseHeight = 0;
    double s = defaultWindowFontScale;

    double trackWidth() const { return baseWidth * s; }
    double barHeight() const { return baseHeight * s; }
    double fillLength() const;
    QColor fillColor() const;
    QSizeF frameSize() const { return {trackWidth(), barHeight() + 5}; }
    // Relative to the bar's top-left corner.
    QRectF fillRect() const;
    void paint(QPainter& painter, QPointF topLeft) const;
};

// The signed gold difference in large figures after an up or down arrow (or an equal sign).
struct GoldDeltaBadge {
    int64_t delta = 0;
    double s = defaultWindowFontScale;

    QColor color() const;
    HudSymbol symbol() const;
    // Sign and magnitude: "+999", "\u22121.0k", "0".
    QString text() const;
    HudTextStyle textStyle() const;
    QSizeF symbolSize() const;
    QSizeF size() const;
    double baseline() const; // from the top, of the figures
    void paint(QPainter& painter, QPointF topLeft) const;
};

} // namespace tolvane

namespace tolvane {

// Gold as the HUD writes it: up to 999 as the plain number, above that in thousands with one
// decimal and a "k" (2500 gives 2.5k).
QString compactGold(int64_t amount);

} // namespace tolvane
