// The reposition editor drawn offscreen over a stand-in game frame: geometry of the bars, badge,
// chips and zones, the texts that follow the state, and clicks and drags delivered as events.
// Each state is saved as a PNG under the build tree for a person to look at.

#include "app/windows/RepositionOverlayView.h"
#include "app/windows/RepositionStyle.h"
#include "core/overlay/HudZones.h"

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>

#include <gtest/gtest.h>

namespace tolvane {
namespace {

// Something that looks enough like a game to judge the editor over it.
class StandInGameFrame : public QWidget {
public:
    explicit StandInGameFrame(QSize size) { resize(size); }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        QLinearGradient ground(0, 0, width(), height());
        ground.setColorAt(0, QColor(38, 70, 52));
        ground.setColorAt(1, QColor(22, 58, 74));
        painter.fillRect(rect(), ground);
        painter.fillRect(
            QRectF(0.846 * width(), 0.76 * height(), 0.154 * width(), 0.24 * height()), QColor(10, 30, 20));
        painter.fillRect(
            QRectF(0.295 * width(), 0.917 * height(), 0.355 * width(), 0.083 * height()), QColor(40, 32, 24));
    }
};

class RepositionOverlayViewTest : public ::testing::Test {
protected:
    void open(QSizeF game = {1920, 1080})
    {
        frame = std::make_unique<StandInGameFrame>(game.toSize());
        view = new RepositionOverlayView(
            game, RepositionEditorModel::chipSizesFor(game.height(), {}), {}, PanelPositionStore(defaults),
            OverlaySettingsStore(defaults),
            [this](PanelPoints, RepositionMode mode) {
                ++doneCalls;
                doneMode = mode;
            },
            frame.get());
    }

    QImage render(const QString& name) const
    {
        const QImage image = frame->grab().toImage();
        const QString folder = QStringLiteral(TOLVANE_BINARY_DIR "/reposition-editor");
        QDir().mkpath(folder);
        image.save(folder + QLatin1Char('/') + name + QStringLiteral(".png"));
        // The bars enlarged, where their small texts can be read.
        const RepositionOverlayView::Layout layout = view->editorLayout();
        for (const auto& [part, area] : {std::pair {QStringLiteral("toolbar"), layout.toolbar},
                 std::pair {QStringLiteral("tabs"), layout.tabBar}}) {
            const QRect crop = area.adjusted(-12, -12, 12, 12).toAlignedRect();
            image.copy(crop)
                .scaled(crop.size() * 3, Qt::KeepAspectRatio, Qt::SmoothTransformation)
                .save(folder + QLatin1Char('/') + name + QLatin1Char('-') + part + QStringLiteral(".png"));
        }
        return image;
    }

    void mouse(QEvent::Type type, QPointF point, Qt::MouseButtons buttons)
    {
        QMouseEvent event(type, point, view->mapToGlobal(point), Qt::LeftButton, buttons, Qt::NoModifier);
        QApplication::sendEvent(view, &event);
    }

    void drag(QPointF from, QPointF to)
    {
        mouse(QEvent::MouseButtonPress, from, Qt::LeftButton);
        mouse(QEvent::MouseMove, from + (to - from) / 2, Qt::LeftButton);
        mouse(QEvent::MouseMove, to, Qt::LeftButton);
        mouse(QEvent::MouseButtonRelease, to, Qt::NoButton);
    }

    void click(QPointF point)
    {
        mouse(QEvent::MouseButtonPress, point, Qt::LeftButton);
        mouse(QEvent::MouseButtonRelease, point, Qt::NoButton);
    }

    QPointF itemCenter(RepositionOverlayView::Layout::ItemKind kind) const
    {
        const RepositionOverlayView::Layout layout = view->editorLayout();
        const auto* item = layout.item(kind);
        return item ? item->rect.center() : QPointF(-1, -1);
    }

    std::shared_ptr<InMemoryUserDefaults> defaults = std::make_shared<InMemoryUserDefaults>();
    std::unique_ptr<StandInGameFrame> frame;
    RepositionOverlayView* view = nullptr; // owned by the frame
    int doneCalls = 0;
    std::optional<RepositionMode> doneMode;
};

using Kind = RepositionOverlayView::Layout::ItemKind;

TEST_F(RepositionOverlayViewTest, BarsAndBadgeStandWhereTheyBelong)
{
    open();
    const RepositionOverlayView::Layout layout = view->editorLayout();
    render(QStringLiteral("sr-default"));

    EXPECT_DOUBLE_EQ(layout.scale, 0.75);
    EXPECT_DOUBLE_EQ(layout.tabBar.top(), 54);
    EXPECT_NEAR(layout.tabBar.center().x(), 960, 1e-9);
    EXPECT_EQ(layout.tabDividers.size(), 2);
    EXPECT_DOUBLE_EQ(layout.tabDividers[0].height(), 15);
    EXPECT_NEAR(layout.tabs[0].right() + 1, layout.tabs[1].left(), 1e-9);
    EXPECT_NEAR(layout.toolbar.bottom(), 1080 - 19.44, 1e-9);
    EXPECT_NEAR(layout.toolbar.center().x(), 960, 1e-9);
    EXPECT_EQ(layout.badgeText, QStringLiteral("1920 × 1080"));
    EXPECT_DOUBLE_EQ(layout.badge.right(), 1914);
    EXPECT_DOUBLE_EQ(layout.badge.top(), 6);

    // The toolbar row: label, divider, link, divider, reset, divider, done (no undo yet), 6 pt apart.
    QList<Kind> kinds;
    for (const auto& item : layout.toolbarItems)
        kinds << item.kind;
    EXPECT_EQ(kinds,
        (QList<Kind> {Kind::label, Kind::divider, Kind::link, Kind::divider, Kind::reset, Kind::divider, Kind::done}));
    EXPECT_NEAR(layout.toolbarItems[1].rect.left() - layout.toolbarItems[0].rect.right(), 6, 1e-9);
    EXPECT_DOUBLE_EQ(layout.toolbarItems[1].rect.height(), 14 * 0.75);
    EXPECT_EQ(layout.item(Kind::link)->text, QStringLiteral("⚭ 2-build linked"));
    EXPECT_EQ(layout.item(Kind::done)->text, QStringLiteral("Done ✓"));
    EXPECT_EQ(layout.item(Kind::reset)->text, QStringLiteral("⟳ Reset"));
    EXPECT_EQ(layout.item(Kind::label)->text, QStringLiteral("Reposition Mode"));
}

TEST_F(RepositionOverlayViewTest, ControlScaleIsCappedButNotFloored)
{
    open({2560, 2880});
    EXPECT_DOUBLE_EQ(view->editorLayout().scale, 1.5);
    open({1280, 720});
    EXPECT_DOUBLE_EQ(view->editorLayout().scale, 0.5);
    open({2560, 1440});
    EXPECT_EQ(view->editorLayout().badgeText, QStringLiteral("2560 × 1440"));
    render(QStringLiteral("sr-2560x1440"));
}

// A laptop's screen and a desktop's: the bars stand inside the editor, every zone's label is
// centred on its zone (the toolbar lies over the bottom HUD's), and each chip opens at its default
// corner, the farm chip's reaching past the bottom edge.
class RepositionEditorOnAScreen : public RepositionOverlayViewTest, public ::testing::WithParamInterface<QSize> { };

TEST_P(RepositionEditorOnAScreen, BarsInViewLabelsCentredChipsAtTheirDefaults)
{
    const QSize game = GetParam();
    open(game);
    render(QStringLiteral("sr-%1x%2").arg(game.width()).arg(game.height()));
    const QRectF area(QPointF(0, 0), game);
    const RepositionOverlayView::Layout layout = view->editorLayout();
    for (const QRectF& bar : {layout.tabBar, layout.toolbar, layout.badge})
        EXPECT_TRUE(area.contains(bar));
    ASSERT_EQ(layout.zones.size(), HUDLayout::zones(RepositionMode::summonersRift).size());
    for (const auto& zone : layout.zones) {
        EXPECT_NEAR(zone.labelRect.center().x(), zone.rect.center().x(), 1e-9) << zone.label.toStdString();
        EXPECT_NEAR(zone.labelRect.center().y(), zone.rect.center().y(), 1e-9) << zone.label.toStdString();
    }
    const QRectF farm = view->chipRect(PanelID::farmBenchmark);
    EXPECT_NEAR(farm.left(), 0.68 * game.width(), 1e-9);
    EXPECT_NEAR(farm.top(), 0.952 * game.height(), 1e-9);
    EXPECT_GT(farm.bottom(), game.height());
}

INSTANTIATE_TEST_SUITE_P(Screens, RepositionEditorOnAScreen, ::testing::Values(QSize(1366, 768), QSize(1920, 1080)),
    [](const auto& info) { return std::to_string(info.param.width()) + "x" + std::to_string(info.param.height()); });

TEST_F(RepositionOverlayViewTest, TextSizesAreFractionalPoints)
{
    open();
    const QFont tab = ModeTabStyle {true, 0.75}.font(view);
    EXPECT_NEAR(tab.pointSizeF() * view->logicalDpiY() / 72.0, 11.25, 1e-6);
    EXPECT_EQ(tab.weight(), QFont::Bold);
}

TEST_F(RepositionOverlayViewTest, ChipsSitAtTheirCentresWithTheLinkMarkBelow)
{
    open();
    const QRectF gold = view->chipRect(PanelID::goldTracker);
    EXPECT_EQ(gold.size(), QSizeF(234 * 0.75, 260 * 0.75));
    EXPECT_EQ(gold.center(), view->model().defaultCenter(PanelID::goldTracker));
    const QRectF popular = view->chipRect(PanelID::popularBuild);
    ASSERT_TRUE(view->linkMarkCenter().has_value());
    EXPECT_EQ(*view->linkMarkCenter(), QPointF(popular.center().x(), popular.bottom() + 4));
}

// The dim layer over the game: black at 0.45 over the stand-in's pixel.
TEST_F(RepositionOverlayViewTest, DimLayerDarkensTheGame)
{
    open();
    const QImage bare = frame->grab().toImage();
    view->hide();
    const QImage game = frame->grab().toImage();
    view->show();
    const QPoint probe(700, 700); // no zone, chip or grid line here
    const QColor under = game.pixelColor(probe);
    const QColor over = bare.pixelColor(probe);
    EXPECT_NEAR(over.red(), under.red() * 0.55, 2);
    EXPECT_NEAR(over.green(), under.green() * 0.55, 2);
    EXPECT_NEAR(over.blue(), under.blue() * 0.55, 2);
}

// Any pixel along the minimap zone's left edge differs from the dimmed game where an outline is.
int outlinePixels(const QImage& image)
{
    int lit = 0;
    const int x = qRound(0.846 * 1920);
    for (int y = qRound(0.76 * 1080) + 4; y < 1070; ++y) {
        const QColor c = image.pixelColor(x, y);
        lit += c.green() > 60 ? 1 : 0; // the zone is green; the dimmed minimap is nearly black
    }
    return lit;
}

TEST_F(RepositionOverlayViewTest, ZonesOnlyInSummonersRift)
{
    open();
    EXPECT_GT(outlinePixels(render(QStringLiteral("sr-zones"))), 20);
    click(view->editorLayout().tabs[1].center());
    EXPECT_EQ(view->model().activeMode(), RepositionMode::aram);
    EXPECT_EQ(outlinePixels(render(QStringLiteral("aram-no-zones"))), 0);
    click(view->editorLayout().tabs[0].center());
    EXPECT_GT(outlinePixels(render(QStringLiteral("sr-zones-again"))), 20);
}

TEST_F(RepositionOverlayViewTest, DragNeedsTenPointsThenMovesAndCountsAnUndo)
{
    open();
    const QPointF start = view->chipRect(PanelID::goldTracker).center();
    mouse(QEvent::MouseButtonPress, start, Qt::LeftButton);
    mouse(QEvent::MouseMove, start + QPointF(6, 6), Qt::LeftButton); // 8.5 pt: not yet a drag
    EXPECT_EQ(view->chipRect(PanelID::goldTracker).center(), start);
    mouse(QEvent::MouseMove, start + QPointF(-300, -200), Qt::LeftButton);
    mouse(QEvent::MouseButtonRelease, start + QPointF(-300, -200), Qt::NoButton);
    EXPECT_EQ(view->chipRect(PanelID::goldTracker).center(), start + QPointF(-300, -200));

    drag(view->chipRect(PanelID::combos).center(), view->chipRect(PanelID::combos).center() + QPointF(200, 300));
    const RepositionOverlayView::Layout layout = view->editorLayout();
    const auto* undo = layout.item(Kind::undo);
    ASSERT_NE(undo, nullptr);
    EXPECT_EQ(undo->text, QStringLiteral("↩ Undo (2)"));
    render(QStringLiteral("sr-two-drags"));

    click(undo->rect.center());
    EXPECT_EQ(view->editorLayout().item(Kind::undo)->text, QStringLiteral("↩ Undo (1)"));
    click(itemCenter(Kind::undo));
    EXPECT_EQ(view->editorLayout().item(Kind::undo), nullptr);
    EXPECT_EQ(view->chipRect(PanelID::goldTracker).center(), start);
}

TEST_F(RepositionOverlayViewTest, UndoButtonFollowsTheActiveMode)
{
    open();
    drag(view->chipRect(PanelID::combos).center(), QPointF(500, 500));
    click(view->editorLayout().tabs[2].center());
    EXPECT_EQ(view->editorLayout().item(Kind::undo), nullptr);
    click(view->editorLayout().tabs[0].center());
    ASSERT_NE(view->editorLayout().item(Kind::undo), nullptr);
    click(itemCenter(Kind::reset));
    EXPECT_EQ(view->editorLayout().item(Kind::undo), nullptr);
}

TEST_F(RepositionOverlayViewTest, DraggingTheMatchupUnlinks)
{
    open();
    const QPointF matchup = view->chipRect(PanelID::matchup).center();
    drag(matchup, matchup + QPointF(-400, 0));
    EXPECT_EQ(view->editorLayout().item(Kind::link)->text, QStringLiteral("⚭ unlinked"));
    EXPECT_FALSE(view->linkMarkCenter().has_value());
    EXPECT_FALSE(OverlaySettingsStore(defaults).twoBuildLinked());
    render(QStringLiteral("sr-unlinked"));
    click(itemCenter(Kind::link));
    EXPECT_EQ(view->editorLayout().item(Kind::link)->text, QStringLiteral("⚭ 2-build linked"));
    EXPECT_TRUE(OverlaySettingsStore(defaults).twoBuildLinked());
}

TEST_F(RepositionOverlayViewTest, BarsCoverChipsButTheRestOfAChipCanBeGrabbed)
{
    open();
    // Push the gold chip to the bottom edge, under the middle of the toolbar.
    const RepositionOverlayView::Layout layout = view->editorLayout();
    const QPointF gold = view->chipRect(PanelID::goldTracker).center();
    view->model().dragChanged(
        PanelID::goldTracker, view->model().chipSize(PanelID::goldTracker), QPointF(960, 5000) - gold);
    view->model().dragEnded(PanelID::goldTracker);
    const QRectF chip = view->chipRect(PanelID::goldTracker);
    ASSERT_GT(chip.bottom(), layout.toolbar.top());
    render(QStringLiteral("sr-chip-under-toolbar"));

    // A press where the toolbar lies over the chip belongs to the bar.
    const QPointF onBar(chip.center().x(), layout.toolbar.center().y());
    ASSERT_TRUE(chip.contains(onBar));
    drag(onBar, onBar + QPointF(0, -200));
    EXPECT_EQ(view->chipRect(PanelID::goldTracker), chip);

    // Above the bar the chip takes the drag.
    const QPointF visible(chip.center().x(), layout.toolbar.top() - 10);
    drag(visible, visible + QPointF(0, -200));
    EXPECT_EQ(view->chipRect(PanelID::goldTracker), chip.translated(0, -200));
}

TEST_F(RepositionOverlayViewTest, DoneStoresAndReportsTheMode)
{
    open();
    click(view->editorLayout().tabs[1].center());
    click(itemCenter(Kind::done));
    EXPECT_EQ(doneCalls, 1);
    EXPECT_EQ(doneMode, RepositionMode::aram);
    EXPECT_TRUE(PanelPositionStore(defaults).fraction(PanelID::farmBenchmark, RepositionMode::aram).has_value());
}

} // namespace
} // namespace tolvane
