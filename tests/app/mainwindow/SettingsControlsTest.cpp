#include "app/mainwindow/SettingsControls.h"

#include "app/mainwindow/SettingsModel.h"
#include "app/panels/HudStyle.h"
#include "core/overlay/OverlaySettingsStore.h"
#include "core/overlay/UserDefaults.h"

#include "Await.h"

#include <QApplication>
#include <QDir>
#include <QMouseEvent>
#include <QPainter>
#include <QSlider>

#include <gtest/gtest.h>

namespace tolvane {
namespace {

void click(QWidget& widget, QPointF at)
{
    const QPointF global = widget.mapToGlobal(at);
    QMouseEvent press(QEvent::MouseButtonPress, at, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&widget, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, at, global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&widget, &release);
}

// Rendered over the window's dark ground, under <build>/mainwindow/<name>.png.
QImage render(QWidget& widget, const QString& name)
{
    test::spinFor(std::chrono::milliseconds(200));
    QImage image(widget.size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(HUD::panelBottom());
    widget.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    const QString folder = QStringLiteral(TOLVANE_BINARY_DIR "/mainwindow");
    QDir().mkpath(folder);
    image.save(folder + QLatin1Char('/') + name + QStringLiteral(".png"));
    return image;
}

// The settings model over a scratch store stands behind every binding, as on the pages.
class SettingsControlsTest : public ::testing::Test {
protected:
    std::shared_ptr<InMemoryUserDefaults> defaults = std::make_shared<InMemoryUserDefaults>();
    OverlaySettingsStore store {defaults};
    SettingsModel model {store};
    int writes = 0;

    Binding<bool> showGold()
    {
        return {[this] { return model.showGold(); }, [this](bool v) { ++writes, model.setShowGold(v); }};
    }
    Binding<CDTimeFormat> format()
    {
        return {[this] { return model.cooldownFormat(); },
            [this](CDTimeFormat v) { ++writes, model.setCooldownFormat(v); }};
    }
    Binding<qint64> textSize()
    {
        return {[this] { return model.textSizeIndex(); }, [this](qint64 v) { ++writes, model.setTextSizeIndex(v); }};
    }
};

TEST_F(SettingsControlsTest, ToggleFlipsOnAClickAnywhereInItsRow)
{
    GoldToggle toggle(QStringLiteral("Gold tracker"), showGold());
    toggle.resize(320, toggle.sizeHint().height());
    EXPECT_EQ(toggle.height(), 44);
    EXPECT_EQ(toggle.trackRect().size(), QSizeF(40, 22));
    EXPECT_EQ(toggle.trackRect().right(), 320);

    click(toggle, QPointF(4, 22)); // on the caption
    EXPECT_FALSE(store.showGold());
    click(toggle, toggle.trackRect().center());
    EXPECT_TRUE(store.showGold());
    click(toggle, QPointF(160, 22)); // in the gap
    EXPECT_FALSE(store.showGold());
    EXPECT_EQ(writes, 3);
    render(toggle, QStringLiteral("toggle-off"));
}

TEST_F(SettingsControlsTest, ToggleRowNeverShrinksBelowItsMinimumAndTextGrowsWithScale)
{
    GoldToggle small(QStringLiteral("Gold"), showGold(), 1.0);
    GoldToggle large(QStringLiteral("Gold"), showGold(), 1.55);
    EXPECT_EQ(small.sizeHint().height(), 44);
    EXPECT_GE(large.sizeHint().height(), 44);
    EXPECT_GT(large.sizeHint().width(), small.sizeHint().width());
    large.resize(large.sizeHint());
    EXPECT_EQ(large.trackRect().size(), QSizeF(40, 22));
}

TEST_F(SettingsControlsTest, CDFormatPickerShowsEachFormatsTextAndSetsOnTap)
{
    std::unique_ptr<SegmentedPicker> picker(makeCDFormatPicker(format()));
    ASSERT_EQ(picker->segments().size(), 3u);
    EXPECT_EQ(picker->segments()[0].text, QStringLiteral("1:25"));
    EXPECT_EQ(picker->segments()[1].text, QStringLiteral("85"));
    EXPECT_EQ(picker->segments()[2].text, QStringLiteral("2m"));
    EXPECT_EQ(picker->selectedIndex(), 1);
    picker->resize(300, picker->sizeHint().height());
    EXPECT_GE(picker->height(), 32);

    click(*picker, picker->segmentRect(2).center());
    EXPECT_EQ(store.cooldownFormat(), CDTimeFormat::minutes);
    EXPECT_EQ(picker->selectedIndex(), 2);
    // Tapping the selected segment writes again.
    click(*picker, picker->segmentRect(2).center());
    EXPECT_EQ(writes, 2);
    click(*picker, picker->segmentRect(0).center() + QPointF(-40, 0));
    EXPECT_EQ(store.cooldownFormat(), CDTimeFormat::minutesSeconds);
    render(*picker, QStringLiteral("cdformat-picker"));
}

TEST_F(SettingsControlsTest, TextSizePickerSelectsNoneOutOfRangeAndTapsSetTheSegmentsIndex)
{
    model.setTextSizeIndex(7);
    std::unique_ptr<SegmentedPicker> picker(makeTextSizePicker(textSize(), 1.55));
    EXPECT_EQ(picker->selectedIndex(), std::nullopt);
    EXPECT_EQ(picker->segments()[0].font.size(), 11);
    EXPECT_EQ(picker->segments()[3].font.size(), 18.5);
    picker->resize(240, picker->sizeHint().height());
    EXPECT_GE(picker->height(), 34);
    click(*picker, picker->segmentRect(1).center());
    EXPECT_EQ(model.textSizeIndex(), 1);
    EXPECT_EQ(picker->selectedIndex(), 1);
    render(*picker, QStringLiteral("textsize-picker"));
}

TEST_F(SettingsControlsTest, SkillModePickerOnlyReportsTheTappedPreset)
{
    std::vector<SkillModePreset> picked;
    std::unique_ptr<SegmentedPicker> picker(makeSkillModePicker(
        [] { return std::optional<SkillModePreset>(); }, [&](SkillModePreset p) { picked.push_back(p); }, 1.55));
    EXPECT_EQ(picker->selectedIndex(), std::nullopt);
    EXPECT_NEAR(picker->segments()[1].font.size(), 18.6, 1e-9);
    picker->resize(300, picker->sizeHint().height());
    click(*picker, picker->segmentRect(2).center());
    click(*picker, picker->segmentRect(0).center());
    EXPECT_EQ(picked, (std::vector {SkillModePreset::smurf, SkillModePreset::beginner}));
    EXPECT_EQ(picker->selectedIndex(), std::nullopt);
}

TEST_F(SettingsControlsTest, SkillModePickerFollowsAPresetAppliedElsewhere)
{
    std::unique_ptr<SegmentedPicker> picker(makeSkillModePicker(
        [this] { return model.matchingMode(); }, [this](SkillModePreset p) { model.applyMode(p); }));
    picker->resize(300, picker->sizeHint().height());
    EXPECT_EQ(picker->selectedIndex(), 1);
    click(*picker, picker->segmentRect(0).center());
    EXPECT_EQ(picker->selectedIndex(), 0);
    EXPECT_FALSE(store.showPopular());
    render(*picker, QStringLiteral("skillmode-picker"));
}

TEST_F(SettingsControlsTest, PillShrinksWhilePressedAndKeepsItsMinimumHeight)
{
    ResetPillButton button(QStringLiteral("Reset to defaults"));
    int clicks = 0;
    QObject::connect(&button, &QAbstractButton::clicked, [&] { ++clicks; });
    button.resize(button.sizeHint());
    EXPECT_EQ(button.height(), 44);
    EXPECT_LT(button.pillSize().height(), 44);

    const QPointF centre = QRectF(button.rect()).center();
    QMouseEvent press(
        QEvent::MouseButtonPress, centre, button.mapToGlobal(centre), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&button, &press);
    EXPECT_TRUE(test::spinUntil([&] { return button.pressScale() == ResetPillButton::pressedScale; }));
    QMouseEvent release(
        QEvent::MouseButtonRelease, centre, button.mapToGlobal(centre), Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&button, &release);
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(test::spinUntil([&] { return button.pressScale() == 1.0; }));
    render(button, QStringLiteral("reset-pill"));
}

struct SliderCase {
    const char* title;
    double value;
    const char* format;
    const char* text;
};

class LayoutSliderTest : public ::testing::TestWithParam<SliderCase> { };

TEST_P(LayoutSliderTest, TitleIsUpperCasedAndValueFollowsTheFormat)
{
    double value = GetParam().value;
    LayoutSlider slider(QString::fromLatin1(GetParam().title), {[&] { return value; }, [&](double v) { value = v; }}, 0,
        40, QString::fromLatin1(GetParam().format));
    EXPECT_EQ(slider.titleText(), QString::fromLatin1(GetParam().title).toUpper());
    EXPECT_EQ(slider.valueText(), QString::fromLatin1(GetParam().text));
}

INSTANTIATE_TEST_SUITE_P(Formats, LayoutSliderTest,
    ::testing::Values(SliderCase {"Gap", 12.0, "%.0f pt", "12 pt"}, SliderCase {"Inset", 0.7, "%.2f", "0.70"},
        SliderCase {"Raise", 0.125, "%.3f", "0.125"}));

TEST_F(SettingsControlsTest, DraggingTheSliderWritesThroughAndTheTextFollows)
{
    LayoutSlider slider(QStringLiteral("Gap"),
        {[this] { return model.gap(); }, [this](double v) { ++writes, model.setGap(v); }}, 0, 40,
        QStringLiteral("%.0f pt"));
    slider.resize(280, slider.sizeHint().height());
    EXPECT_GE(slider.slider()->height(), 28);
    EXPECT_EQ(slider.slider()->value(), 3000); // 12 of 0...40
    EXPECT_EQ(writes, 0);

    slider.slider()->setValue(5000);
    EXPECT_DOUBLE_EQ(store.layout().gap, 20.0);
    EXPECT_EQ(slider.valueText(), QStringLiteral("20 pt"));
    EXPECT_EQ(writes, 1);

    // A value set elsewhere moves the slider without writing back.
    model.setGap(40);
    slider.sync();
    EXPECT_EQ(slider.slider()->value(), LayoutSlider::sliderSteps);
    EXPECT_EQ(writes, 1);
    render(slider, QStringLiteral("layout-slider"));
}

} // namespace
} // namespace tolvane
