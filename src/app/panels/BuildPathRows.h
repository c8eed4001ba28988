#pragma once
// The build path drawn as rows of a panel's vertical stack: START, the path tiles, the NEXT card
// (or "build complete ✓") and BOOTS. The popular-build panel and the matchup body share it and
// differ only in the accent colour and in whether held boots carry a tick. Also the few small
// glyphs these panels draw besides the HUD kit's.

#include "app/panels/BuildPathLayout.h"
#include "app/panels/HudColumn.h"
#include "app/panels/HudImageCache.h"
#include "app/panels/HudText.h"

#include <QColor>
#include <QPointF>
#include <QRectF>
#include <QString>

#include <functional>
#include <memory>
#include <vector>

class QPainter;

namespace tolvane {

class BuildPathRows {
public:
    struct Inputs {
        MetaBuild build;
        ItemIDSet owned;
        const ItemCatalog* catalog = nullptr; // read at construction only; null reads as the empty catalog
        QString version;
        QColor accent;
        HudImageSource* images = nullptr;
        double s = defaultWindowFontScale; // window text scale: text and icons grow, spacings do not
    };

    explicit BuildPathRows(Inputs inputs);

    const BuildPathLayout& layout() const { return *layout_; }

    // "start" (when there are starters), "path" (when there are path items), then "next" or "complete".
    void appendBody(HudColumn& stack) const;
    // "boots", when the order has a boots slot.
    void appendBoots(HudColumn& stack, bool ownedBadge) const;

    static constexpr double pathIconSize = 34;
    static constexpr double rowIconSize = 22;
    static constexpr double alternativeIconSize = 16;

private:
    struct Shared {
        BuildPathLayout layout;
        QString version;
        QColor accent;
        HudImageSource* images = nullptr;
        double s = defaultWindowFontScale;
        double rowIcon = 0, pathIcon = 0, altIcon = 0; // scaled edges
    };
    std::shared_ptr<const Shared> shared_;
    const BuildPathLayout* layout_;
};

// Small glyphs drawn into a box.
namespace BuildGlyph {
// A tick on a green disc over a black one: the mark of an item already held.
void ownedBadge(QPainter& painter, const QRectF& box);
// The badge of size n laid on an icon's top trailing corner, shifted d right and d up.
QRectF ownedBadgeRect(const QRectF& icon, double n, double d);
// An arrow going down and turning right: "made from".
void turnDownRight(QPainter& painter, const QRectF& box, const QColor& colour);
void checkmark(QPainter& painter, const QRectF& box, const QColor& colour);
void bolt(QPainter& painter, const QRectF& box, const QColor& colour);
} // namespace BuildGlyph

// A text that wraps onto as many lines as it needs within the width, never cut.
PanelRow wrappedTextRow(const QString& name, const QString& text, const HudTextStyle& style, double width);

// Draws a line shrunk to fit and vertically centred in the box.
void drawCentredLine(QPainter& painter, const QRectF& box, const QString& text, const HudTextStyle& style,
    double minimumScale = 1.0, Qt::Alignment alignment = Qt::AlignLeft);

} // namespace tolvane
