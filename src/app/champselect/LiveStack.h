#pragma once
// What the Live tab's presentations are made of: entries (a status line, a HUD-framed card)
// stacked top to bottom by a widget that measures and paints them, and the small drawn pieces
// the cards share (portraits, text lines, rows laid out left to right).

#include "app/panels/HudColumn.h"
#include "app/panels/HudImageCache.h"
#include "app/panels/HudText.h"

#include <QColor>
#include <QMargins>
#include <QPointer>
#include <QUrl>
#include <QWidget>

#include <functional>
#include <optional>
#include <vector>

namespace tolvane {

// One entry of a stack: a name tests look for, its size and how it draws from its top-left corner.
// The size is what the entry shows; a card's shadow falls outside it and takes no room.
struct LiveEntry {
    QString name;
    QSizeF size;
    std::function<void(QPainter&, QPointF)> paint;
    // The names of the card's rows, top to bottom (empty for entries that are not cards).
    std::vector<QString> rows;
};

// A card: the column framed as a HUD panel with the accent, (cardWidth + 26) x s wide. The entry
// is the card itself; its shadow is drawn around it.
LiveEntry liveCard(const QString& name, const QColor& accent, double cardWidth, double s, HudColumn column);
// The base width a card of that base width gets in a column that wide (0: unbounded): its own,
// or less, so that the card fits.
double fittedCardWidth(double cardWidth, double s, double available);

// An image drawn into a square, clipped to a rounded rectangle; the placeholder fill until the
// image is at hand (or when there is no address). Border in the HUD stroke colour when asked.
struct LiveIcon {
    std::optional<QUrl> address;
    double edge = 0; // already scaled
    double radius = 6; // a circle when radius >= edge / 2
    bool border = true;
    double opacity = 1;
    HudImageSource* images = nullptr;

    // True when the image itself would be drawn now.
    bool showsImage() const;
    void paint(QPainter& painter, QPointF topLeft) const;
};

// One line of text as a column row, named after the text.
PanelRow textRow(const QString& text, const HudTextStyle& style);
// Text that wraps within the width (0: one line) and takes the height it needs.
PanelRow wrappedRow(const QString& text, const HudTextStyle& style, double width, Qt::Alignment align = Qt::AlignLeft);

// One piece of a row laid out left to right, drawn from its top-left corner.
struct LiveRowItem {
    QSizeF size;
    std::function<void(QPainter&, QPointF)> paint;
};
LiveRowItem iconItem(const LiveIcon& icon);
LiveRowItem textItem(const QString& text, const HudTextStyle& style);
// Pieces after each other with the spacing, centred vertically (or top-aligned); trailing pieces
// sit at the row's far end.
PanelRow horizontalRow(const QString& name, std::vector<LiveRowItem> leading, double spacing,
    std::vector<LiveRowItem> trailing = {}, bool topAligned = false);
// Pieces side by side, centred in the row's width.
PanelRow centredRow(const QString& name, std::vector<LiveRowItem> items, double spacing, bool topAligned = false);

// Paints a vertical stack of entries at the leading edge; sizes itself after them. The widget
// reaches past the entries by `bleed` on every side, room for the cards' shadows, so whoever
// places it sets it that much up and to the left of where its entries belong.
class LiveStackView : public QWidget {
    Q_OBJECT
public:
    static constexpr QMargins bleed {9, 5, 9, 13};

    explicit LiveStackView(HudImageSource* images = nullptr, QWidget* parent = nullptr);

    void setWindowFontScale(double s);
    double windowFontScale() const { return s_; }
    // The width the entries may take (0: unbounded): text wraps within it and cards narrow to it.
    void setAvailableWidth(double width);
    double availableWidth() const { return available_; }

    const std::vector<LiveEntry>& entries() const { return entries_; }
    std::vector<QString> entryNames() const;
    // The entry with the name, or null.
    const LiveEntry* entry(const QString& name) const;
    // Where each entry is drawn, in the widget's coordinates.
    std::vector<QRectF> entryRects() const;
    // The entries' extent, without the bleed; the height for a width, built afresh.
    QSizeF contentSize() const;
    double contentHeight(double width) const;
    double contentWidth(double width) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    // The entries were built anew (their number or sizes may differ).
    void rebuilt();

public slots:
    // Builds the entries anew from the model's state.
    void rebuild();

protected:
    // The entries for a column that wide (0: unbounded).
    virtual std::vector<LiveEntry> build(double width) const = 0;
    virtual double spacing() const = 0;
    HudImageSource* images() const { return images_.data(); }
    void paintEvent(QPaintEvent* event) override;

    double s_ = 1.0;

private:
    double stackHeight(const std::vector<LiveEntry>& entries) const;

    QPointer<HudImageSource> images_;
    double available_ = 0;
    std::vector<LiveEntry> entries_;
};

} // namespace tolvane
