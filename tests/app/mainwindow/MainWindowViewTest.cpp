#include "app/mainwindow/MainWindowView.h"

#include "app/mainwindow/HomeTab.h"
#include "app/mainwindow/SettingsTab.h"
#include "app/mainwindow/SettingsControls.h"
#include "app/mainwindow/SettingsModel.h"
#include "app/mainwindow/SideNavigation.h"
#include "app/mainwindow/WhatsNewTab.h"
#include "app/panels/HudStyle.h"
#include "platform/KeyCodeNamer.h"

#include "MainWindowViewFixture.h"

#include <QMouseEvent>
#include <QScrollArea>

namespace tolvane::test {
namespace {

class MainWindowViewTest : public MainWindowModels {
protected:
    MainWindowView& view()
    {
        if (!made) {
            model = std::make_unique<SettingsModel>(store);
            made = std::make_unique<MainWindowView>(
                *champVM, runeVM, *model, chrome, MainWindowView::Callbacks {}, namer);
            made->resize(made->minimumSizeHint().expandedTo(QSize(420, 680)));
        }
        return *made;
    }

    void TearDown() override
    {
        made.reset();
        MainWindowModels::TearDown();
    }

    void click(QWidget& widget, QPointF point)
    {
        for (auto type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
            QMouseEvent event(type, point, widget.mapToGlobal(point), Qt::LeftButton,
                type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
            QCoreApplication::sendEvent(&widget, &event);
        }
    }

    MainWindowChrome chrome;
    FakeKeyCodeNamer namer;
    std::unique_ptr<SettingsModel> model;
    std::unique_ptr<MainWindowView> made;
};

TEST(MainTabTest, RawValuesRoundTripAndNothingElseParses)
{
    for (MainTab tab : allMainTabs)
        EXPECT_EQ(mainTabFromRawValue(rawValue(tab)), tab);
    EXPECT_EQ(rawValue(MainTab::whatsNew), QStringLiteral("whatsNew"));
    EXPECT_EQ(mainTabFromRawValue(QStringLiteral("Live")), std::nullopt);
    EXPECT_EQ(mainTabFromRawValue(QString()), std::nullopt);
}

struct ScaleRow {
    qint64 index;
    int barWidth; // 56 x s, rounded up to whole pixels
    double glyph;
    int inset;
};

class MainWindowScaleTest : public MainWindowViewTest, public ::testing::WithParamInterface<ScaleRow> { };

TEST_P(MainWindowScaleTest, BarGlyphAndInsetFollowTheTextScale)
{
    store.setWindowTextSizeIndex(GetParam().index);
    HextechSideNav& nav = *view().sideNav();
    EXPECT_EQ(nav.sizeHint().width(), GetParam().barWidth);
    EXPECT_NEAR(nav.glyphRect().width(), GetParam().glyph, 1e-9);
    EXPECT_EQ(qRound(view().contentInset()), GetParam().inset);
    // Labels shrink at most to 80 % before they are cut.
    for (MainTab tab : allMainTabs)
        EXPECT_GE(nav.labelFontSize(tab), 0.8 * 8.5 * view().windowFontScale() - 1e-9);
}

INSTANTIATE_TEST_SUITE_P(
    Scales, MainWindowScaleTest, ::testing::Values(ScaleRow {0, 56, 22, 20}, ScaleRow {3, 87, 34.1, 31}));

TEST_F(MainWindowViewTest, TextSizeChangeRebuildsBarAndContentAtTheNewScale)
{
    view();
    model->setTextSizeIndex(3);
    EXPECT_DOUBLE_EQ(view().windowFontScale(), 1.55);
    EXPECT_EQ(view().sideNav()->sizeHint().width(), 87);
}

TEST_F(MainWindowViewTest, TappingAnItemSelectsItsTabInBarAndColumn)
{
    HextechSideNav& nav = *view().sideNav();
    click(nav, nav.itemRect(MainTab::whatsNew).center());
    EXPECT_EQ(chrome.selection(), MainTab::whatsNew);
    EXPECT_NE(dynamic_cast<WhatsNewTab*>(view().tabContent()), nullptr);
    click(nav, nav.glyphRect().center()); // the glyph is no item
    EXPECT_EQ(chrome.selection(), MainTab::whatsNew);
}

TEST_F(MainWindowViewTest, OpenSettingsOnHomeSelectsSettingsAtOnce)
{
    chrome.setSelection(MainTab::home);
    auto* home = dynamic_cast<HomeTab*>(view().tabContent());
    ASSERT_NE(home, nullptr);
    home->openSettingsButton()->click();
    EXPECT_EQ(chrome.selection(), MainTab::settings);
    EXPECT_EQ(view().tabContent()->property("tab").toString(), QStringLiteral("settings"));
    spinUntil([&] { return view().sideNav()->selectedProgress(MainTab::settings) == 1.0; });
    EXPECT_DOUBLE_EQ(view().sideNav()->selectedProgress(MainTab::settings), 1.0);
    EXPECT_DOUBLE_EQ(view().sideNav()->selectedProgress(MainTab::home), 0.0);
}

TEST_F(MainWindowViewTest, OnlyTheSelectedItemShowsItsIndicatorFadingOverAShortTime)
{
    HextechSideNav& nav = *view().sideNav();
    EXPECT_DOUBLE_EQ(nav.selectedProgress(MainTab::live), 1.0);
    chrome.setSelection(MainTab::home);
    EXPECT_LT(nav.selectedProgress(MainTab::home), 1.0); // not at once
    spinUntil([&] { return nav.selectedProgress(MainTab::home) == 1.0 && nav.selectedProgress(MainTab::live) == 0.0; });
    for (MainTab tab : allMainTabs)
        EXPECT_DOUBLE_EQ(nav.selectedProgress(tab), tab == MainTab::home ? 1.0 : 0.0);
}

TEST_F(MainWindowViewTest, SettingsTabFollowsCaptureKeysAndPermissionInPlace)
{
    namer.setText(14, QStringLiteral("e"));
    chrome.setSelection(MainTab::settings);
    auto* settings = dynamic_cast<SettingsView*>(view().tabContent());
    ASSERT_NE(settings, nullptr);
    chrome.setCaptureTarget(KeyCaptureTarget::shop);
    chrome.setInputMonitoringGranted(true);
    model->setShopKeyCode(14);
    EXPECT_EQ(view().tabContent(), settings);
    EXPECT_EQ(settings->hostState().captureTarget, KeyCaptureTarget::shop);
    EXPECT_TRUE(settings->hostState().inputMonitoringGranted);
    EXPECT_EQ(settings->hostState().shopKeyLabel, QStringLiteral("E"));
}

} // namespace
} // namespace tolvane::test
