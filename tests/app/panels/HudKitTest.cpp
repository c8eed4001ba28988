// The HUD look kit: the panel frame's measures at both text scales, the named text sizes, and the
// small views' geometry and drawing, with icons from a fake source and from a loopback server.

#include "app/panels/HudPanel.h"
#include "app/panels/HudStyle.h"
#include "app/panels/HudViews.h"
#include "app/panels/WindowFontScale.h"

#include "Await.h"
#include "PanelTestSupport.h"

#include <QBuffer>
#include <QFontMetricsF>

#include <gtest/gtest.h>

#include <limits>

namespace tolvane {
namespace {

using test::FakeImageSource;
using test::inkOf;

QImage canvas(QSize size)
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

// --- text sizes ---

struct FontCase {
    const char* name;
    WinFont font;
    double size;
    QFont::Weight weight;
};

class NamedTextSizes : public ::testing::TestWithParam<FontCase> { };

TEST_P(NamedTextSizes, SizeAndWeight)
{
    EXPECT_NEAR(GetParam().font.size(), GetParam().size, 1e-9);
    EXPECT_EQ(GetParam().font.weight, GetParam().weight);
}

INSTANTIATE_TEST_SUITE_P(Kit, NamedTextSizes,
    // One weight of each kind and the scaled sizes: the remaining names are plain constants.
    ::testing::Values(FontCase {"hudSmall", hudSmallFont(), 9.5, QFont::Medium},
        FontCase {"hudBig", hudBigFont(), 24, QFont::ExtraBold},
        FontCase {"hudGlyph13", hudGlyphFont(13, QFont::Bold), 13, QFont::Bold},
        FontCase {"winBigLargest", winBig(1.55), 37.2, QFont::ExtraBold},
        FontCase {"hudStrongScaled", hudStrongFont(1.36), 16.32, QFont::DemiBold}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(WindowFontScale, TextSizeIndexPicksAStepAndClamps)
{
    const std::vector<std::pair<int64_t, double>> table {
        {0, 1.0}, {1, 1.18}, {2, 1.36}, {3, 1.55}, {7, 1.55}, {std::numeric_limits<int64_t>::min(), 1.0}};
    for (const auto& [index, scale] : table)
        EXPECT_DOUBLE_EQ(windowFontScaleForTextSizeIndex(index), scale) << index;
}

TEST(WindowFontScale, PointsAreDeviceIndependentPixelsOnAnyDevice)
{
    // A device of twice the logical dpi must not draw the text twice as large.
    QImage normal(10, 10, QImage::Format_ARGB32);
    QImage dense(10, 10, QImage::Format_ARGB32);
    dense.setDotsPerMeterX(normal.dotsPerMeterX() * 2);
    dense.setDotsPerMeterY(normal.dotsPerMeterY() * 2);
    const QFontMetricsF a(winBig().font(&normal), &normal);
    const QFontMetricsF b(winBig().font(&dense), &dense);
    EXPECT_NEAR(a.height(), b.height(), 0.5);
    // And a scaled size is that many times larger.
    const QFontMetricsF big(winBig(1.55).font(&normal), &normal);
    EXPECT_NEAR(big.height() / a.height(), 1.55, 0.06);
}

// --- panel frame ---

TEST(HudPanelFrame, OuterWidthGrowsWithTheTextScaleButNotTheFrameDetails)
{
    const HudPanel plain = hudPanel(HUD::gold(), 216, 1.0);
    EXPECT_DOUBLE_EQ(plain.frameSize(40).width(), 242);
    EXPECT_DOUBLE_EQ(plain.frameSize(40).height(), 58);

    const HudPanel large = hudPanel(HUD::gold(), 216, 1.0, 1.36);
    EXPECT_NEAR(large.contentWidth(), 293.76, 1e-9);
    EXPECT_NEAR(large.frameSize(40).width(), 242 * 1.36, 1e-9);
    EXPECT_NEAR(large.contentRect(40).left() - large.frameRect(40).left(), 14 * 1.36, 1e-9);
    EXPECT_NEAR(large.contentRect(40).top() - large.frameRect(40).top(), 9 * 1.36, 1e-9);

    // Corner, border and accent bar stay as they are.
    const QRectF bar = large.accentBarRect(40);
    EXPECT_DOUBLE_EQ(bar.width(), 3);
    EXPECT_DOUBLE_EQ(bar.left() - large.frameRect(40).left(), 4);
    EXPECT_DOUBLE_EQ(bar.top() - large.frameRect(40).top(), 7);
    EXPECT_DOUBLE_EQ(large.frameRect(40).bottom() - bar.bottom(), 7);
}

TEST(HudPanelFrame, BackgroundOpacityLeavesBorderBarAndShadow)
{
    for (const double opacity : {0.0, 1.0}) {
        const HudPanel panel = hudPanel(HUD::violet(), 100, opacity);
        EXPECT_NEAR(panel.backgroundTop().alphaF(), opacity * 0.86, 0.01);
        EXPECT_NEAR(panel.backgroundBottom().alphaF(), opacity * 0.86, 0.01);

        QImage image = canvas(panel.outerSize(30).toSize() + QSize(1, 1));
        QPainter painter(&image);
        panel.paint(painter, 30);
        painter.end();
        test::savePanelPng(image, QStringLiteral("hud-frame-opacity-%1").arg(opacity));

        const QRectF frame = panel.frameRect(30);
        const QPoint inside = frame.center().toPoint();
        EXPECT_EQ(qAlpha(image.pixel(inside)), opacity == 0 ? 0 : int(std::lround(255 * 0.86))) << opacity;
        // The accent bar in its own colour, the border drawn, the shadow below the card.
        EXPECT_FALSE(inkOf(image, HUD::violet(), 30, panel.accentBarRect(30).toAlignedRect()).isEmpty()) << opacity;
        EXPECT_GT(qAlpha(image.pixel(QPoint(int(frame.center().x()), int(frame.top())))), 0) << opacity;
        EXPECT_GT(qAlpha(image.pixel(QPoint(int(frame.center().x()), int(frame.bottom()) + 4))), 0) << opacity;
    }
}

// --- header and pill ---

TEST(HudHeaderView, TrailingTextSitsAtTheFarEnd)
{
    const QRectF row(0, 0, 200, HUDHeader {QStringLiteral("Gold spent"), HUD::gold(), QStringLiteral("Ahri")}.height());
    auto draw = [&](std::optional<QString> trailing) {
        QImage image = canvas(QSize(200, int(std::ceil(row.height()))));
        QPainter painter(&image);
        HUDHeader {QStringLiteral("Gold spent"), HUD::gold(), trailing}.paint(painter, row);
        return image;
    };
    const QImage alone = draw(std::nullopt);
    const QImage withTrailing = draw(QStringLiteral("Ahri"));
    test::savePanelPng(withTrailing, QStringLiteral("hud-header-trailing"));

    const QRect titleInk = inkOf(alone, HUD::gold(), 60);
    ASSERT_FALSE(titleInk.isEmpty());
    EXPECT_LT(titleInk.right(), 120); // the title alone, nothing towards the far end
    EXPECT_TRUE(inkOf(alone, HUD::textSecondary(), 20).isEmpty());

    const QRect trailingInk = inkOf(withTrailing, HUD::textSecondary(), 25, QRect(120, 0, 80, 40));
    ASSERT_FALSE(trailingInk.isEmpty());
    EXPECT_GE(trailingInk.right(), 195);
}

// Names of at most two lines (rune chips): wrapped first, then shrunk to 75 %, only then cut.
struct FitCase {
    const char* text;
    double widthOfNatural; // the box's width, as a share of the text's one-line width
    qsizetype lines;
    bool shrunk;
    bool cut;
};

class HudFittedLines : public ::testing::TestWithParam<FitCase> { };

TEST_P(HudFittedLines, WrapThenShrinkThenCut)
{
    const FitCase& c = GetParam();
    const HudTextStyle style {winSmall(), HUD::textPrimary()};
    const QString text = QString::fromUtf8(c.text);
    QStringList cut;
    setHudElisionObserver([&cut](const QString& elided) { cut << elided; });
    const FittedLines fitted = fitLines(text, style, c.widthOfNatural * style.width(text), 2, 0.75);
    setHudElisionObserver({});
    EXPECT_EQ(fitted.lines.size(), c.lines);
    EXPECT_EQ(fitted.fontSize < style.font.size(), c.shrunk);
    EXPECT_GE(fitted.fontSize, 0.75 * style.font.size() - 1e-9);
    EXPECT_EQ(!cut.isEmpty(), c.cut);
}

INSTANTIATE_TEST_SUITE_P(Kit, HudFittedLines,
    ::testing::Values(FitCase {"Triumph", 1.2, 1, false, false}, FitCase {"Legend: Alacrity", 0.6, 2, false, false},
        FitCase {"Unflinching", 0.85, 1, true, false},
        FitCase {"Stacks over time for stacking champions", 0.2, 2, true, true}));

TEST(HudCaveatPill, PaddingFollowsTheTextScale)
{
    const CaveatPill one {QStringLiteral("unverified"), HUD::amber()};
    const CaveatPill big {QStringLiteral("unverified"), HUD::amber(), 1.55};
    EXPECT_NEAR(one.size().width() - one.textStyle().width(one.text), 12, 1e-9);
    EXPECT_NEAR(big.size().width() - big.textStyle().width(big.text), 12 * 1.55, 1e-9);
    EXPECT_NEAR(big.size().height() - big.textStyle().lineHeight(), 4 * 1.55, 1e-9);
}

// --- item icons ---

const QString version = QStringLiteral("15.12.1");

QImage twoColourImage()
{
    QImage image(2, 1, QImage::Format_ARGB32);
    image.setPixel(0, 0, qRgb(255, 0, 0));
    image.setPixel(1, 0, qRgb(0, 0, 255));
    return image;
}

TEST(HudItemIcon, EmptyTilePlaceholderThenTheStretchedImage)
{
    FakeImageSource images;
    const ItemIconView valid {3031, version, 40, 1.0, &images};
    ASSERT_TRUE(valid.imageAddress());
    EXPECT_EQ(
        valid.imageAddress()->toString(), images.dataDragonBase() + QStringLiteral("/cdn/15.12.1/img/item/3031.png"));
    EXPECT_EQ((ItemIconView {3031, QString(), 40, 1.0, &images}.shows()), ItemIconView::Shows::emptyTile);
    // A version no address can be made of has no icon either.
    EXPECT_EQ(
        (ItemIconView {3031, QStringLiteral("a b%zz"), 40, 1.0, &images}.shows()), ItemIconView::Shows::emptyTile);
    EXPECT_EQ((ItemIconView {3031, version, 40, 1.0, nullptr}.shows()), ItemIconView::Shows::placeholder);
    EXPECT_EQ((ItemIconView {3031, QString(), 40, 1.0, nullptr}.shows()), ItemIconView::Shows::emptyTile);

    auto draw = [&](const ItemIconView& icon) {
        QImage image = canvas(QSize(40, 40));
        QPainter painter(&image);
        icon.paint(painter, QPointF(0, 0));
        return image;
    };
    const QColor placeholder = withAlpha(HUD::textSecondary(), 0.35);
    // Empty tile: the tile colour in the middle, no placeholder symbol.
    const ItemIconView empty {0, version, 40, 1.0, &images};
    EXPECT_EQ(empty.shows(), ItemIconView::Shows::emptyTile);
    const QImage emptyImage = draw(empty);
    EXPECT_EQ(QColor(emptyImage.pixel(20, 20)).rgb(), HUD::iconBg().rgb());
    EXPECT_TRUE(inkOf(emptyImage, placeholder.rgb(), 6, QRect(10, 10, 20, 20)).isEmpty());
    EXPECT_EQ(valid.shows(), ItemIconView::Shows::placeholder);
    EXPECT_NE(QColor(draw(valid).pixel(20, 20)).rgb(), HUD::iconBg().rgb()) << "placeholder symbol expected";

    images.deliver(*valid.imageAddress(), twoColourImage());
    EXPECT_EQ(valid.shows(), ItemIconView::Shows::image);
    const QImage loaded = draw(valid);
    test::savePanelPng(loaded, QStringLiteral("hud-icon-loaded"));
    EXPECT_EQ(QColor(loaded.pixel(8, 30)).red(), 255); // stretched over the whole tile, not fitted
    EXPECT_EQ(QColor(loaded.pixel(32, 30)).blue(), 255);
}

TEST(HudItemStrip, ConnectorsSitBetweenIconsOnly)
{
    const ItemStrip chained {{1001, 3006, 3031}, version, 24, true};
    ASSERT_EQ(chained.iconRects().size(), 3u);
    ASSERT_EQ(chained.chevronRects().size(), 2u);
    for (size_t i = 0; i < 2; ++i) {
        const QRectF chevron = chained.chevronRects()[i];
        EXPECT_NEAR(chevron.left() - chained.iconRects()[i].right(), 3, 1e-9);
        EXPECT_NEAR(chained.iconRects()[i + 1].left() - chevron.right(), 3, 1e-9);
    }
    EXPECT_NEAR(chained.frameSize().width(), chained.iconRects().back().right(), 1e-9);

    const ItemStrip plain {{1001, 3006, 3031}, version, 24, false, 1.36};
    EXPECT_TRUE(plain.chevronRects().empty());
    EXPECT_NEAR(plain.iconRects()[1].left() - plain.iconRects()[0].right(), 5 * 1.36, 1e-9);
    EXPECT_NEAR(plain.frameSize().width(), 3 * 24 * 1.36 + 2 * 5 * 1.36, 1e-9);

    EXPECT_EQ((ItemStrip {{}, version, 24, true}.frameSize()), QSizeF(0, 0));
}

// --- gold bar and badge ---

struct BarCase {
    int64_t delta;
    double length;
    bool rightwards;
};

class HudGoldBar : public ::testing::TestWithParam<BarCase> { };

TEST_P(HudGoldBar, FillGrowsOutOfTheCentre)
{
    const DivergingGoldBar bar {GetParam().delta, 3000, 168, 8};
    EXPECT_NEAR(bar.fillLength(), GetParam().length, 1e-9);
    const QRectF fill = bar.fillRect();
    if (GetParam().length > 0) {
        EXPECT_NEAR(GetParam().rightwards ? fill.left() : fill.right(), 84, 1e-9);
        EXPECT_EQ(bar.fillColor(), GetParam().rightwards ? HUD::ahead() : HUD::behind());
    }
}

INSTANTIATE_TEST_SUITE_P(Kit, HudGoldBar,
    ::testing::Values(BarCase {0, 0, true}, BarCase {1, 2, true}, BarCase {-1, 2, false},
        BarCase {400, 84 * 400 / 3000.0, true}, BarCase {-90000, 84, false},
        BarCase {std::numeric_limits<int64_t>::min(), 84, false}));

TEST(HudGoldBarDrawing, BehindFillsTheLeftHalfOnly)
{
    const DivergingGoldBar bar {-5000, 3000, 168, 8};
    QImage image = canvas(bar.frameSize().toSize());
    QPainter painter(&image);
    bar.paint(painter, QPointF(0, 0));
    painter.end();
    const QRect red = inkOf(image, HUD::behind(), 30);
    ASSERT_FALSE(red.isEmpty());
    EXPECT_LE(red.left(), 3);
    EXPECT_LE(red.right(), 84);
    EXPECT_TRUE(inkOf(image, HUD::ahead(), 30).isEmpty());
}

struct BadgeCase {
    int64_t delta;
    const char* text;
    HudSymbol symbol;
};

class HudGoldBadge : public ::testing::TestWithParam<BadgeCase> { };

TEST_P(HudGoldBadge, SignSymbolAndFigures)
{
    const GoldDeltaBadge badge {GetParam().delta};
    EXPECT_EQ(badge.text(), QString::fromUtf8(GetParam().text));
    EXPECT_EQ(badge.symbol(), GetParam().symbol);
    const QColor expected = GetParam().delta == 0 ? HUD::neutral()
        : GetParam().delta < 0                    ? HUD::behind()
                                                  : HUD::ahead();
    EXPECT_EQ(badge.color(), expected);
}

INSTANTIATE_TEST_SUITE_P(Kit, HudGoldBadge,
    ::testing::Values(BadgeCase {999, "+999", HudSymbol::arrowtriangleUpFill},
        BadgeCase {-1000, "\u22121.0k", HudSymbol::arrowtriangleDownFill},
        BadgeCase {0, "0", HudSymbol::equalCircleFill}, BadgeCase {2500, "+2.5k", HudSymbol::arrowtriangleUpFill},
        BadgeCase {
            std::numeric_limits<int64_t>::min(), "\u22129223372036854776.0k", HudSymbol::arrowtriangleDownFill}));

// --- the network image cache, against loopback ---

QByteArray pngBytes()
{
    QImage image(4, 4, QImage::Format_ARGB32);
    image.fill(Qt::green);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

TEST(HudImageCacheTest, LoadsEachAddressOnceAndKeepsFailures)
{
    test::TestHttpServer server([](const test::TestRequest& request) {
        if (request.path() == "/ok.png") {
            test::TestResponse response = test::TestResponse::json(pngBytes());
            response.contentType = "image/png";
            return response;
        }
        if (request.path() == "/garbage.png")
            return test::TestResponse::json("not an image");
        return test::TestResponse::json("missing", 404);
    });
    HudImageCache cache(server.url(QString()).toString(), test::patientTimeouts);
    int arrived = 0;
    QObject::connect(&cache, &HudImageSource::imageArrived, [&] { ++arrived; });
    const QUrl ok = server.url(QStringLiteral("/ok.png"));
    const QUrl missing = server.url(QStringLiteral("/missing.png"));
    const QUrl garbage = server.url(QStringLiteral("/garbage.png"));

    EXPECT_FALSE(cache.image(ok));
    EXPECT_FALSE(cache.image(missing));
    EXPECT_FALSE(cache.image(garbage));
    EXPECT_FALSE(cache.image(ok)); // still loading: no second request
    ASSERT_TRUE(test::spinUntil([&] {
        return cache.state(ok) != HudImageCache::State::loading && cache.state(missing) != HudImageCache::State::loading
            && cache.state(garbage) != HudImageCache::State::loading;
    }));
    ASSERT_TRUE(cache.image(ok));
    EXPECT_EQ(cache.image(ok)->size(), QSize(4, 4));
    EXPECT_EQ(arrived, 1);
    EXPECT_EQ(cache.state(missing), HudImageCache::State::failed);
    EXPECT_EQ(cache.state(garbage), HudImageCache::State::failed);
    EXPECT_FALSE(cache.image(missing));
    test::spinFor(std::chrono::milliseconds(50));
    EXPECT_EQ(server.requests().size(), 3);
}

TEST(HudImageCacheTest, GoingAwayWithARequestInFlightIsClean)
{
    test::TestHttpServer server([](const test::TestRequest&) { return test::TestResponse::never(); });
    auto cache = std::make_unique<HudImageCache>(server.url(QString()).toString());
    EXPECT_FALSE(cache->image(server.url(QStringLiteral("/slow.png"))));
    ASSERT_TRUE(test::spinUntil([&] { return server.requests().size() == 1; }));
    cache.reset();
    test::spinFor(std::chrono::milliseconds(50));
}

} // namespace
} // namespace tolvane
