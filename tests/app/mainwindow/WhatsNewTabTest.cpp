#include "app/mainwindow/WhatsNewTab.h"

#include "MainWindowViewFixture.h"

namespace tolvane::test {
namespace {

TEST(WhatsNewTabTest, EntriesAndTipsInOrder)
{
    WhatsNewTab tab;
    ASSERT_EQ(tab.entries().size(), 5u);
    std::vector<size_t> noteCounts;
    for (const auto& entry : tab.entries()) {
        noteCounts.push_back(entry.notes.size());
        EXPECT_EQ(
            entry.date, &entry == &tab.entries().back() ? QStringLiteral("May 2026") : QStringLiteral("Jun 2026"));
    }
    EXPECT_EQ(noteCounts, (std::vector<size_t> {2, 3, 3, 2, 3}));
    EXPECT_EQ(tab.tips().size(), 4u);
    const QString privacy = tab.entries()[0].notes[1];
    EXPECT_TRUE(privacy.startsWith(QStringLiteral(
        "Opt out anytime in Settings \u2192 Advanced \u2192 Privacy. Details in the privacy policy at ")));
    EXPECT_TRUE(privacy.endsWith(QStringLiteral("/privacy.")));
    EXPECT_FALSE(privacy.contains(QStringLiteral("://")));
}

TEST(WhatsNewTabTest, EveryTabMadeGetsFreshEntryIds)
{
    WhatsNewTab first;
    WhatsNewTab second;
    EXPECT_NE(first.entries()[0].id, second.entries()[0].id);
    EXPECT_NE(first.entries()[0].id, first.entries()[1].id);
}

TEST(WhatsNewTabTest, TipsStandAboveTheReleaseNotes)
{
    WhatsNewTab tab;
    const auto layout = tab.layoutFor(360);
    EXPECT_GT(layout.notesHeader.top(), layout.tipTexts.back().bottom());
    EXPECT_EQ(tab.heightForWidth(360), qCeil(layout.height));
}

TEST(WhatsNewTabTest, DotsScaleWhileTheEntrySpacingStaysFixed)
{
    const double s = 1.36;
    WhatsNewTab tab(s);
    const auto layout = tab.layoutFor(420);
    const QRectF dot = layout.noteDots[1][0];
    const QRectF text = layout.noteTexts[1][0];
    EXPECT_NEAR(dot.width(), 4 * s, 1e-9);
    EXPECT_NEAR(dot.top() - text.top(), 6 * s, 1e-9);
    // Between a title row and its first note, and between notes of one entry: 6 pt at any scale.
    EXPECT_NEAR(text.top() - layout.entryTitles[1].bottom(), 6, 1e-9);
    EXPECT_NEAR(layout.noteTexts[1][1].top() - std::max(text.bottom(), dot.bottom()), 6, 1e-9);
    EXPECT_NEAR(layout.entryTitles[1].left(), 2, 1e-9);
}

} // namespace
} // namespace tolvane::test
