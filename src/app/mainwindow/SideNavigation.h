#pragma once
// The main window's vertical navigation bar: the app glyph, then one item per tab with a
// selection indicator, symbol and short label. It keeps no selection of its own: it reads and
// writes the window's through a binding and redraws on sync().

#include "app/mainwindow/MainWindowChrome.h"
#include "app/mainwindow/SettingsControls.h"

#include <QRectF>
#include <QWidget>

#include <array>
#include <memory>

namespace tolvane {

class HextechSideNav : public QWidget {
public:
    HextechSideNav(Binding<MainTab> selection, double s = 1.0, QWidget* parent = nullptr);

    // Fades the indicator and background of an item whose selected state changed.
    void sync();

    double barWidth() const { return 56 * s_; }
    double glyphEdge() const { return 22 * s_; }
    QRectF glyphRect() const;
    // The whole hit area of a tab's item.
    QRectF itemRect(MainTab tab) const;
    QRectF indicatorRect(MainTab tab) const;
    // How far the item's selected look has faded in (0...1).
    double selectedProgress(MainTab tab) const;
    std::optional<MainTab> tabAt(QPointF point) const;
    // The font size the label is drawn at within its item (shrinks to 80 % before it is cut).
    double labelFontSize(MainTab tab) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    static constexpr int fadeMs = 150;

protected:
    void paintEvent(QPaintEvent*) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    bool event(QEvent* event) override;

private:
    double itemHeight() const;
    double labelLineHeight() const;
    QRectF labelBox(MainTab tab) const;

    Binding<MainTab> selection_;
    double s_;
    std::array<std::unique_ptr<EasedProgress>, 4> progress_;
    std::array<bool, 4> shown_ {};
};

// The tab's symbol in a square box, drawn in one colour.
void drawTabSymbol(QPainter& painter, MainTab tab, const QRectF& box, const QColor& colour);

} // namespace tolvane
