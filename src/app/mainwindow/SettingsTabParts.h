#pragma once
// Pieces the three settings pages share: captions, section titles, dividers, the page column and
// the dimming of a block whose panels are switched off.

#include <QColor>
#include <QLabel>
#include <QString>
#include <QWidget>

#include <optional>

class QVBoxLayout;

namespace tolvane {

// A wrapping caption in the small window font, secondary text colour.
QLabel* makeCaption(const QString& text, double s, QWidget* parent = nullptr);

// A section title in the HUD header look, as wide as its text.
class SettingsHeader : public QWidget {
public:
    SettingsHeader(QString title, QColor accent, double s, QWidget* parent = nullptr);
    QString title() const { return title_; }
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent*) override;

private:
    QString title_;
    QColor accent_;
    double s_;
};

// A one-point line across the column in the HUD stroke colour.
class StrokeDivider : public QWidget {
public:
    explicit StrokeDivider(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent*) override;
};

// A settings page: as wide as the tab allows up to its maximum, held at the tab's leading edge.
class SettingsPage : public QWidget {
public:
    using QWidget::QWidget;
    QSize sizeHint() const override;
};

// A page's column: the given spacing, padding 20, at most 420 wide.
QVBoxLayout* makePageColumn(QWidget* page, int spacing);
// A nested leading-aligned column inside a page.
QWidget* makeBlock(int spacing, QWidget* parent, QVBoxLayout** layout, int leadingIndent = 0);

// A block drawn at 0.4 and taking no input while disabled, at full opacity while enabled.
void setBlockEnabled(QWidget* block, bool enabled);
// The opacity the block is drawn at (1.0 when never dimmed).
double blockOpacity(const QWidget* block);

inline constexpr int settingsPagePadding = 20;
inline constexpr int settingsPageMaximumWidth = 420;
inline constexpr double dimmedBlockOpacity = 0.4;

} // namespace tolvane
