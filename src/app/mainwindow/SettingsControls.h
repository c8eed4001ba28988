#pragma once
// The settings pages' controls in the HUD look: a switch row, a pill button, three segmented
// pickers, a "not yet available" row and a labelled slider. None keeps a value of its own: each
// reads through its binding when drawn and writes only through it, so a change made elsewhere
// shows once the owner calls sync().

#include "app/panels/WindowFontScale.h"
#include "core/knowledge/CDTimeFormat.h"
#include "core/overlay/SkillModePreset.h"

#include <QAbstractButton>
#include <QWidget>

#include <functional>
#include <optional>
#include <vector>

class QSlider;
class QVariantAnimation;

namespace tolvane {

// A two-way binding to a value that lives elsewhere (a settings-model property).
template <typename T> struct Binding {
    std::function<T()> get;
    std::function<void(T)> set;
};

// An eased 0...1 transition between two looks, restarted on each change of the shown value.
class EasedProgress {
public:
    EasedProgress(QWidget* owner, int durationMs);
    // Moves towards `on` (1) or off (0) from wherever the last transition stands.
    void animateTo(bool on);
    void jumpTo(bool on);
    double value() const { return value_; }

private:
    QVariantAnimation* animation_;
    double value_ = 0;
};

// A row: caption, flexible gap, 40 x 22 switch; a click anywhere on the row flips the value.
class GoldToggle : public QWidget {
public:
    GoldToggle(QString caption, Binding<bool> value, double s = 1.0, QWidget* parent = nullptr);

    void sync();
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    // The switch's track, in widget coordinates.
    QRectF trackRect() const;

    static constexpr double rowMinimumHeight = 44;
    static constexpr QSizeF trackSize {40, 22};
    static constexpr double knobDiameter = 16;

protected:
    void paintEvent(QPaintEvent*) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    double labelWidth(double width) const;

    QString caption_;
    Binding<bool> value_;
    double s_;
    bool shown_;
    EasedProgress progress_;
};

// A push button drawn as a gold pill that shrinks a little while pressed.
class ResetPillButton : public QAbstractButton {
public:
    explicit ResetPillButton(const QString& text, double s = 1.0, QWidget* parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }
    // The pill's own size, before the press scaling; margins 12 x 7 around the label.
    QSizeF pillSize() const;
    double pressScale() const;

    static constexpr double minimumHeight = 44;
    static constexpr double pressedScale = 0.96;

protected:
    void paintEvent(QPaintEvent*) override;

private:
    double s_;
    EasedProgress pressed_;
};

// Segments of equal width side by side; a tap on a segment acts at once, also on the selected one.
class SegmentedPicker : public QWidget {
public:
    struct Segment {
        QString text;
        WinFont font;
    };
    SegmentedPicker(std::vector<Segment> segments, std::function<std::optional<int>()> selected,
        std::function<void(int)> onTap, double minimumHeight, QWidget* parent = nullptr);

    void sync();
    const std::vector<Segment>& segments() const { return segments_; }
    std::optional<int> selectedIndex() const { return selected_(); }
    QRectF segmentRect(int index) const;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    static constexpr double cornerRadius = 9;

protected:
    void paintEvent(QPaintEvent*) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    std::vector<Segment> segments_;
    std::function<std::optional<int>()> selected_;
    std::function<void(int)> onTap_;
    double minimumHeight_;
    std::optional<int> shown_;
    std::optional<int> previous_;
    EasedProgress progress_;
};

// The cooldown format: "1:25", "85", "2m" (what each format writes for 85 seconds).
SegmentedPicker* makeCDFormatPicker(Binding<CDTimeFormat> format, double s = 1.0, QWidget* parent = nullptr);
// The window text size: four "A"s of growing, unscaled size; an index outside 0...3 selects none.
SegmentedPicker* makeTextSizePicker(Binding<qint64> index, double s = 1.0, QWidget* parent = nullptr);
// The panel presets; shows the preset given (none: custom) and only reports taps.
SegmentedPicker* makeSkillModePicker(std::function<std::optional<SkillModePreset>()> selected,
    std::function<void(SkillModePreset)> onPick, double s = 1.0, QWidget* parent = nullptr);

// A dimmed row naming a feature that is not offered yet, with an optional second line.
class ComingSoonRow : public QWidget {
public:
    ComingSoonRow(QString name, std::optional<QString> detail, double s = 1.0, QWidget* parent = nullptr);

    // Where the parts go at a width: the name and the detail wrap, the badge keeps one line.
    struct Layout {
        QRectF bar;
        QRectF name;
        QRectF badge;
        QRectF detail; // empty without a detail
        double height = 0;
    };
    Layout layoutFor(double width) const;

    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    // Where the detail line starts: under the name, past the bar and its spacing.
    static constexpr double detailInset = 13;
    static constexpr double opacity = 0.6;
    static inline const QString badgeText = QStringLiteral("NOT YET AVAILABLE");

protected:
    void paintEvent(QPaintEvent*) override;

private:
    QString name_;
    std::optional<QString> detail_;
    double s_;
};

// An upper-cased title with the value as `format` writes it, over a continuous slider.
class LayoutSlider : public QWidget {
public:
    // `format` is a printf format with one floating-point conversion ("%.2f", "%.0f pt").
    LayoutSlider(QString title, Binding<double> value, double minimum, double maximum, QString format, double s = 1.0,
        QWidget* parent = nullptr);

    void sync();
    QString titleText() const { return title_.toUpper(); }
    QString valueText() const;
    QSlider* slider() const { return slider_; }
    QSize sizeHint() const override;

    static constexpr double sliderMinimumHeight = 28;
    static constexpr int sliderSteps = 10000;

protected:
    void paintEvent(QPaintEvent*) override;
    void resizeEvent(QResizeEvent*) override;

private:
    double headerHeight() const;

    QString title_;
    Binding<double> value_;
    double minimum_;
    double maximum_;
    QString format_;
    double s_;
    QSlider* slider_;
    bool syncing_ = false;
};

} // namespace tolvane
