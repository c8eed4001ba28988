// The status line: texts follow the window text scale while the dot, its halo and the spacings
// stay in points, and the halo never pushes the title aside.

#include "app/champselect/LiveStatusHeader.h"
#include "app/panels/HudStyle.h"

#include "LiveViewSupport.h"

#include <gtest/gtest.h>

using namespace tolvane;

namespace {

LiveStatusHeader header(double s)
{
    return {HUD::violet(), QStringLiteral("Champ Select"), QStringLiteral("Hover or lock a champion to see runes"), s};
}

QImage render(const LiveStatusHeader& h)
{
    QImage image(h.size().toSize() + QSize(20, 20), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    h.paint(painter, QPointF(10, 10));
    painter.end();
    return image;
}

TEST(LiveStatusHeader, TextsScaleWhileTheDotAndSpacingsStay)
{
    const LiveStatusHeader small = header(1.0);
    const LiveStatusHeader large = header(1.55);
    EXPECT_DOUBLE_EQ(large.titleStyle().font.size(), 12 * 1.55);
    EXPECT_DOUBLE_EQ(large.subtitleStyle().font.size(), 9.5 * 1.55);
    EXPECT_EQ(large.dotRect().size(), QSizeF(9, 9));
    EXPECT_DOUBLE_EQ(large.titleX(), small.titleX());
    EXPECT_DOUBLE_EQ(large.size().height() - large.titleRowHeight() - large.subtitleStyle().lineHeight(), 4);
    EXPECT_GT(large.size().width(), small.size().width() * 1.4);
}

TEST(LiveStatusHeader, TheHaloReachesPastTheDotButNotIntoTheTitle)
{
    const LiveStatusHeader h = header(1.0);
    const QImage image = render(h);
    image.save(QStringLiteral(TOLVANE_BINARY_DIR "/shell/status-header.png"));
    const QRectF dot = h.dotRect().translated(10, 10);
    const QRect violet = test::inkOfColour(image, HUD::violet(), QRect(0, 0, int(10 + h.titleX()) - 1, image.height()));
    ASSERT_FALSE(violet.isEmpty());
    EXPECT_LT(violet.left(), dot.left() - 0.5) << "the halo extends beyond the 9 pt dot";
    EXPECT_LT(violet.right(), 10 + h.titleX()) << "and ends before the title";
    EXPECT_EQ(h.entry().rows, (std::vector<QString> {"Champ Select", "Hover or lock a champion to see runes"}));
}

} // namespace
