#include "core/overlay/OverlayGeometry.h"

#include <gtest/gtest.h>

#include <limits>

using namespace tolvane;

namespace {

constexpr double nan = std::numeric_limits<double>::quiet_NaN();
constexpr double inf = std::numeric_limits<double>::infinity();

struct ClampCase {
    QPointF origin;
    QSizeF size;
    QRectF rect;
    QPointF expected;
};

class ClampTest : public ::testing::TestWithParam<ClampCase> { };

TEST_P(ClampTest, KeepsThePanelEightPointsInside)
{
    const ClampCase& c = GetParam();
    EXPECT_EQ(OverlayGeometry::clamp(c.origin, c.size, c.rect), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Figures, ClampTest,
    ::testing::Values(
        // Below and left of the window: pushed to the lower-left margin.
        ClampCase {{0, 0}, {100, 50}, {200, 300, 1000, 600}, {208, 308}},
        // Beyond the upper-right corner: pulled back so the far edges keep the margin.
        ClampCase {{2000, 2000}, {100, 50}, {200, 300, 1000, 600}, {1092, 842}},
        // Inside already: unchanged.
        ClampCase {{500, 500}, {100, 50}, {200, 300, 1000, 600}, {500, 500}},
        // Wider than the window: the left edge wins.
        ClampCase {{300, 10}, {1000, 50}, {0, 0, 500, 600}, {8, 10}},
        // Taller than the window: the bottom edge wins (y is upward).
        ClampCase {{10, 900}, {50, 1000}, {0, 0, 500, 600}, {10, 8}},
        // A coordinate that is not a number lands on the lower bound, not at NaN.
        ClampCase {{nan, inf}, {100, 50}, {200, 300, 1000, 600}, {208, 308}}));

TEST(OverlayGeometryTest, FractionIsMeasuredFromTheOriginCorner)
{
    EXPECT_EQ(OverlayGeometry::fraction({300, 350}, {100, 100, 200, 100}), QPointF(1.0, 2.5));
    EXPECT_EQ(OverlayGeometry::fraction({150, 125}, {100, 100, 200, 100}), QPointF(0.25, 0.25));
}

TEST(OverlayGeometryTest, FractionOfAnEmptyOrBrokenRectIsZero)
{
    EXPECT_EQ(OverlayGeometry::fraction({50, 50}, {0, 0, 0, 100}), QPointF(0, 0));
    EXPECT_EQ(OverlayGeometry::fraction({50, 50}, {0, 0, -10, 100}), QPointF(0, 0));
    EXPECT_EQ(OverlayGeometry::fraction({nan, 50}, {0, 0, 100, 100}), QPointF(0, 0));
}

TEST(OverlayGeometryTest, NonFiniteFractionFallsBackToTheOriginCorner)
{
    EXPECT_EQ(OverlayGeometry::origin({nan, 0.5}, {100, 100, 200, 100}), QPointF(100, 150));
    EXPECT_EQ(OverlayGeometry::origin({0.5, -inf}, {100, 100, 200, 100}), QPointF(200, 100));
}

TEST(OverlayGeometryTest, FractionAndOriginAreInverse)
{
    EXPECT_EQ(OverlayGeometry::origin({-0.5, 2}, {100, 100, 200, 100}), QPointF(0, 300));
    const QRectF rect(37, 81, 1920, 1080);
    const QPointF point(812, 433);
    const QPointF back = OverlayGeometry::origin(OverlayGeometry::fraction(point, rect), rect);
    EXPECT_DOUBLE_EQ(back.x(), point.x());
    EXPECT_DOUBLE_EQ(back.y(), point.y());
}

} // namespace
