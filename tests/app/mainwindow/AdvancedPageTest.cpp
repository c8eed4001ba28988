#include "app/mainwindow/AdvancedPage.h"

#include "app/mainwindow/SettingsControls.h"

#include "SettingsTabFixture.h"

namespace tolvane {
namespace {

using test::click;

class AdvancedPageTest : public test::SettingsTabFixture {
protected:
    void SetUp() override { model.setActiveTab(SettingsModel::SettingsTab::advanced); }
    AdvancedTabView& page() { return *view->advancedPage(); }
};

TEST_F(AdvancedPageTest, UsagePingAndTextSizeWriteTheStore)
{
    makeView();
    EXPECT_EQ(page().textSizePicker()->selectedIndex(), 0);
    click(*page().usagePingToggle());
    EXPECT_FALSE(store.usagePingEnabled());

    EXPECT_EQ(page().comingSoonRows().size(), 4u);

    SegmentedPicker& picker = *page().textSizePicker();
    click(picker, picker.segmentRect(1).center());
    EXPECT_EQ(store.windowTextSizeIndex(), 1);
}

} // namespace
} // namespace tolvane
