#include "app/mainwindow/AppResourceBundle.h"
#include "app/mainwindow/BrandWordmark.h"

#include "LogCapture.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace tolvane {
namespace {

int inkedPixels(const QImage& image)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            count += qAlpha(image.pixel(x, y)) > 0 ? 1 : 0;
    }
    return count;
}

TEST(AppResourceBundleTest, BuildTreeFindsTheAppBundleWithItsWordmark)
{
    const ResourceBundle& bundle = tolvaneAppBundle();
    EXPECT_TRUE(bundle.path().endsWith(QStringLiteral("/Tolvane_TolvaneApp.bundle")));
    EXPECT_TRUE(bundle.url(QStringLiteral("wordmark"), QStringLiteral("svg")).has_value());
    EXPECT_EQ(&bundle, &tolvaneAppBundle());
}

TEST(BrandWordmarkTest, ShippedWordmarkDrawsAtTheHeaderHeight)
{
    const auto& image = BrandWordmark::image();
    ASSERT_TRUE(image.has_value());
    EXPECT_EQ(&image, &BrandWordmark::image());
    // A wordmark is wider than it is tall; the header fits it to a height.
    EXPECT_GT(image->naturalSize().width(), 2 * image->naturalSize().height());

    const double s = 1.36;
    const QImage drawn = image->render(36 * s, 2.0);
    EXPECT_EQ(drawn.height(), int(std::ceil(36 * s * 2)));
    EXPECT_NEAR(
        drawn.width() / double(drawn.height()), image->naturalSize().width() / image->naturalSize().height(), 0.02);
    // Something is drawn, and not a filled block.
    const int ink = inkedPixels(drawn);
    EXPECT_GT(ink, drawn.width() * drawn.height() / 20);
    EXPECT_LT(ink, drawn.width() * drawn.height() * 3 / 4);

    const QString folder = QStringLiteral(TOLVANE_BINARY_DIR "/mainwindow");
    QDir().mkpath(folder);
    drawn.save(folder + QStringLiteral("/wordmark.png"));
}

class WordmarkLoadTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    ResourceBundle bundle {dir.path()};

    void write(const QByteArray& bytes)
    {
        QFile file(dir.filePath(QStringLiteral("wordmark.svg")));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
};

TEST_F(WordmarkLoadTest, MissingResourceIsNoFault)
{
    test::LogCapture capture;
    EXPECT_EQ(BrandWordmark::load(bundle), std::nullopt);
    EXPECT_TRUE(capture.lines(QStringLiteral("mainwindow")).isEmpty());
}

TEST_F(WordmarkLoadTest, BrokenOrSizelessDocumentsGiveNoneAndAreLogged)
{
    for (const QByteArray& bytes : {QByteArray("not an svg"), QByteArray("<svg xmlns=\"http://www.w3.org/2000/svg\""),
             QByteArray("<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"0\" height=\"0\"/>")}) {
        write(bytes);
        test::LogCapture capture;
        EXPECT_EQ(BrandWordmark::load(bundle), std::nullopt) << bytes.constData();
        EXPECT_EQ(capture.lines(QStringLiteral("mainwindow")).size(), 1) << bytes.constData();
    }
}

TEST_F(WordmarkLoadTest, AnyDrawableSvgServes)
{
    write("<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 40 10\"><rect width=\"40\" height=\"10\" "
          "fill=\"#fff\"/></svg>");
    const auto image = BrandWordmark::load(bundle);
    ASSERT_TRUE(image.has_value());
    EXPECT_EQ(image->naturalSize(), QSizeF(40, 10));
    EXPECT_EQ(image->sizeForHeight(36), QSizeF(144, 36));
    const QImage drawn = image->render(36);
    EXPECT_EQ(drawn.size(), QSize(144, 36));
    EXPECT_EQ(inkedPixels(drawn), 144 * 36);
}

} // namespace
} // namespace tolvane
