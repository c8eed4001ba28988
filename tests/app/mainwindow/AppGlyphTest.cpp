#include "app/mainwindow/AppGlyph.h"

#include <QBuffer>
#include <QPainter>

#include <gtest/gtest.h>

namespace tolvane {
namespace {

QByteArray pngBase64(int edge)
{
    QImage image(edge, edge, QImage::Format_ARGB32);
    image.fill(Qt::black);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes.toBase64();
}

TEST(AppGlyphTest, BuiltInArtworkHasBothResolutions)
{
    const auto& glyph = AppGlyph::shared();
    ASSERT_EQ(glyph.representations().size(), 2u);
    EXPECT_EQ(glyph.representations()[0].size(), QSize(18, 18));
    EXPECT_EQ(glyph.representations()[1].size(), QSize(36, 36));
    EXPECT_EQ(glyph.icon(Qt::white).availableSizes().size(), 2);
}

struct BrokenCase {
    QByteArray png18;
    QByteArray png36;
};

class AppGlyphBrokenTest : public ::testing::TestWithParam<int> { };

TEST_P(AppGlyphBrokenTest, EitherTextUnreadableLeavesTheGlyphEmpty)
{
    const std::vector<BrokenCase> cases {
        {"not base64 !!", pngBase64(36)}, {pngBase64(18), QByteArray("aGVsbG8=")}, // base64, but no PNG
        {pngBase64(36), pngBase64(18)}, // swapped sizes
    };
    const auto& c = cases[size_t(GetParam())];
    const AppGlyph glyph = AppGlyph::fromBase64(c.png18, c.png36);
    EXPECT_TRUE(glyph.isEmpty());
    EXPECT_TRUE(glyph.icon(Qt::white).isNull());
    const QImage drawn = glyph.render(22, Qt::white);
    EXPECT_EQ(drawn.size(), QSize(22, 22));
    EXPECT_EQ(qAlpha(drawn.pixel(11, 11)), 0);
}

INSTANTIATE_TEST_SUITE_P(Cases, AppGlyphBrokenTest, ::testing::Range(0, 3));

TEST(AppGlyphTest, RenderTintsTheArtworkInOneColourAtTheDeviceRatio)
{
    const AppGlyph glyph = AppGlyph::fromBase64(pngBase64(18), pngBase64(36));
    ASSERT_FALSE(glyph.isEmpty());
    const QImage image = glyph.render(22, QColor(10, 200, 30), 2.0);
    EXPECT_EQ(image.size(), QSize(44, 44));
    EXPECT_EQ(QColor(image.pixel(20, 20)), QColor(10, 200, 30));

    // The real glyph leaves its corners clear.
    const QImage real = AppGlyph::shared().render(36, Qt::white);
    EXPECT_EQ(qAlpha(real.pixel(0, 0)), 0);
    int inked = 0;
    for (int y = 0; y < 36; ++y)
        for (int x = 0; x < 36; ++x)
            inked += qAlpha(real.pixel(x, y)) > 128;
    EXPECT_GT(inked, 100);
}

TEST(AppGlyphTest, TrayIconReadsOnLightAndDarkPanels)
{
    const QIcon icon = AppGlyph::shared().trayIcon();
    ASSERT_EQ(icon.availableSizes().size(), 2);
    for (const QColor panel :
        {QColor(Qt::white), QColor(0xe8, 0xe8, 0xe8), QColor(0x2d, 0x2d, 0x2d), QColor(Qt::black)}) {
        // As trays draw it: in their icon square (18 or 22 points), on single and double density.
        for (const auto& [edge, ratio] : {std::pair {18, 1}, {22, 1}, {18, 2}}) {
            QImage image(edge * ratio, edge * ratio, QImage::Format_RGB32);
            image.setDevicePixelRatio(ratio);
            image.fill(panel);
            QPainter painter(&image);
            icon.paint(&painter, QRect(0, 0, edge, edge));
            painter.end();
            // Pixels far from the panel's own grey: a quarter of the glyph's own square at least.
            int standingOut = 0;
            for (int y = 0; y < image.height(); ++y)
                for (int x = 0; x < image.width(); ++x)
                    standingOut += std::abs(qGray(image.pixel(x, y)) - qGray(panel.rgb())) >= 100;
            EXPECT_GE(standingOut, AppGlyph::pointSize * AppGlyph::pointSize * ratio * ratio / 4)
                << qPrintable(panel.name()) << " at " << edge << " x" << ratio;
        }
    }
}

} // namespace
} // namespace tolvane
