#include "platform/ScreenSpace.h"

#include <gtest/gtest.h>

namespace tolvane {
namespace {

TEST(ScreenSpace, PrimaryHeightComesFromTheScreenAtTheOrigin)
{
    const std::vector<QRectF> screens {{1920, 0, 1280, 1024}, {0, 0, 1920, 1080}};
    EXPECT_EQ(ScreenSpace::primaryScreenHeight(screens, QRectF(1920, 0, 1280, 1024)), 1080.0);
}

TEST(ScreenSpace, WithoutAScreenAtTheOriginTheMainScreenGivesTheHeight)
{
    const std::vector<QRectF> screens {{10, 0, 1280, 1024}, {1290, 0, 800, 600}};
    EXPECT_EQ(ScreenSpace::primaryScreenHeight(screens, QRectF(1290, 0, 800, 600)), 600.0);
    EXPECT_EQ(ScreenSpace::primaryScreenHeight(screens, std::nullopt), std::nullopt);
    EXPECT_EQ(ScreenSpace::primaryScreenHeight({}, std::nullopt), std::nullopt);
}

TEST(ScreenSpace, FlipsTopLeftRectanglesIntoBottomLeftOnesAndBack)
{
    EXPECT_EQ(ScreenSpace::flipped(QRectF(100, 50, 1280, 720), 1080), QRectF(100, 310, 1280, 720));
    EXPECT_EQ(ScreenSpace::flipped(QRectF(100, 310, 1280, 720), 1080), QRectF(100, 50, 1280, 720));
    EXPECT_EQ(ScreenSpace::flipped(QPointF(5, 1000), 1080), QPointF(5, 80));
}

TEST(ScreenSpace, TheRunningApplicationMeasuresItsPrimaryScreen)
{
    // The suites run on a 1920 x 1080 display.
    EXPECT_EQ(ScreenSpace::primaryScreenHeight(), 1080.0);
}

} // namespace
} // namespace tolvane
