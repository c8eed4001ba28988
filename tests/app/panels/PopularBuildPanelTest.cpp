#include "app/panels/RuneBuildOverlayView.h"
#include "app/panels/HudStyle.h"

#include "BuildPathFixtures.h"
#include "PanelTestSupport.h"
#include "NoGame.h"

#include <gtest/gtest.h>

using namespace tolvane;
using namespace tolvane::test;
using namespace std::chrono_literals;
using Names = std::vector<QString>;

namespace {

class PopularBuildPanel : public ::testing::Test {
protected:
    PopularBuildPanel()
    {
        RuneBuildViewModelProbe::setCatalog(vm, realChampions());
        RuneBuildViewModelProbe::setVersion(vm, QStringLiteral("15.4.1"));
        deliverIcons(images, vm.version());
    }

    // Shows the answer for the marksman of the lane game, holding the given items.
    void show(MetaBuildAdvice answer, std::vector<int64_t> held = {})
    {
        provider->answer = std::move(answer);
        clock.advance(20s);
        RuneBuildViewModelProbe::handle(vm, std::nullopt);
        RuneBuildViewModelProbe::handle(vm, laneGame(std::move(held)));
    }
    QImage render(const char* name)
    {
        const QImage image = renderContent(view);
        savePanelPng(image, QStringLiteral("popularbuild-") + QLatin1String(name));
        return image;
    }

    FakeClock clock;
    std::shared_ptr<FakeMetaBuildProvider> provider = std::make_shared<FakeMetaBuildProvider>();
    RuneBuildViewModel vm {provider, test::noGameClient(), SharedCatalogs::fixed({}), clock.fn()};
    FakeImageSource images;
    RuneBuildOverlayView view {vm, RuneBuildOverlayView::defaultWidth, &images};
};

} // namespace

TEST_F(PopularBuildPanel, OutOfGameAndLoadingShowOneLine)
{
    EXPECT_EQ(view.rowNames(), (Names {"header", "message"}));
    EXPECT_EQ(view.message(), QStringLiteral("Not in game"));
    const QImage out = render("not-in-game");
    EXPECT_DOUBLE_EQ(view.naturalSize().width(), view.panel().outerSize(0).width());
    EXPECT_DOUBLE_EQ(view.panel().frameSize(0).width(), 230 + 26);
    EXPECT_FALSE(inkOf(out, HUD::violet()).isEmpty()); // header and accent bar

    RuneBuildViewModelProbe::handle(vm, [] {
        AllGameData d = laneGame();
        d.activePlayer = ActivePlayer {}; // in a game, player not found yet
        return d;
    }());
    EXPECT_EQ(view.message(), QStringLiteral("loading\u2026"));
    render("loading");
}

TEST_F(PopularBuildPanel, AnUnavailableAnswerShowsItsReasonWithoutTrailingText)
{
    show(MetaBuildAdvice::unavailable(QStringLiteral("role unknown — Metrion needs a lane")));
    EXPECT_EQ(view.rowNames(), (Names {"header", "message"}));
    EXPECT_EQ(view.message(), QStringLiteral("role unknown — Metrion needs a lane"));
    EXPECT_FALSE(view.headerTrailing());
    render("unavailable");
    const double oneLine = view.naturalSize().height();

    // A long reason wraps rather than being cut.
    show(MetaBuildAdvice::unavailable(
        QStringLiteral("popular build: a game mode with a rather long name not supported")));
    EXPECT_GT(view.naturalSize().height(), oneLine + 10);
    render("unavailable-long");
}

TEST_F(PopularBuildPanel, ABuildShowsEveryRowAndGrowsWithIt)
{
    const double lineOnly = view.naturalSize().height();
    vm.setItemCatalog(realItems());
    show(buildAnswer(), {1055, 1037});
    EXPECT_EQ(view.rowNames(), (Names {"header", "start", "path", "next", "boots", "rune"}));
    EXPECT_EQ(view.headerTrailing(), QStringLiteral("typical adc"));
    EXPECT_FALSE(view.message());
    EXPECT_GT(view.naturalSize().height(), lineOnly + 34 + 22 * 3);
    const QImage image = render("build");
    EXPECT_EQ(image.width(), int(std::ceil(view.naturalSize().width())));
    EXPECT_FALSE(inkOf(image, HUD::gold(), 30).isEmpty()); // the NEXT cost
}

TEST_F(PopularBuildPanel, AramStaleAndRunelessBuilds)
{
    MetaBuild aram = marksmanBuild();
    aram.aram = true;
    aram.roleInferred = false;
    aram.primaryRune.reset();
    MetaBuildAdvice stale = buildAnswer(aram);
    stale.freshness = MetaFreshness::stale(QStringLiteral("15.3"));
    show(stale);
    EXPECT_EQ(view.headerTrailing(), QStringLiteral("ARAM"));
    EXPECT_EQ(view.staleCaption(), QStringLiteral("stale \u00b7 patch 15.3"));
    EXPECT_EQ(view.rowNames(), (Names {"header", "start", "path", "next", "boots", "stale"}));
    const QImage image = render("aram-stale");
    EXPECT_FALSE(inkOf(image, HUD::behind(), 30).isEmpty());

    MetaBuild plain = marksmanBuild();
    plain.roleInferred = false;
    show(buildAnswer(plain));
    EXPECT_FALSE(view.headerTrailing());
    EXPECT_FALSE(view.staleCaption());
}

TEST_F(PopularBuildPanel, EverythingHeldReadsComplete)
{
    vm.setItemCatalog(realItems());
    show(buildAnswer(), {6672, 3031, 3046, 3036, 3072, 3006});
    EXPECT_EQ(view.rowNames(), (Names {"header", "start", "path", "complete", "boots", "rune"}));
    const QImage image = render("complete");
    EXPECT_FALSE(inkOf(image, HUD::ahead(), 30, rowRect(view, QStringLiteral("complete"))).isEmpty());
    EXPECT_FALSE(inkOf(image, HUD::ahead(), 30, rowRect(view, QStringLiteral("path"))).isEmpty()); // ticks
    EXPECT_FALSE(inkOf(image, HUD::ahead(), 30, rowRect(view, QStringLiteral("boots"))).isEmpty()); // tick

    MetaBuild noPath = marksmanBuild();
    noPath.coreItems.clear();
    noPath.situationalSlots.clear();
    show(buildAnswer(noPath));
    EXPECT_EQ(view.rowNames(), (Names {"header", "start", "path", "complete", "boots", "rune"}))
        << "an empty path keeps its row, and the spacing after it";
    EXPECT_LE(rowRect(view, QStringLiteral("path")).height(), 1); // no height of its own
}

TEST_F(PopularBuildPanel, RedrawsWhenTheModelOrAnImageChanges)
{
    int changes = 0;
    QObject::connect(&view, &OverlayContent::changed, [&changes] { ++changes; });
    vm.setItemCatalog(realItems());
    EXPECT_EQ(changes, 1);
    images.deliver(QUrl(QStringLiteral("https://example.invalid/x.png")), QImage());
    EXPECT_EQ(changes, 2);
}

TEST_F(PopularBuildPanel, InTheMainWindowTextAndIconsFollowTheTextScale)
{
    vm.setItemCatalog(realItems());
    show(buildAnswer(), {1055});
    const Names names = view.rowNames();
    const double pathRow = rowRect(view, QStringLiteral("path")).height();
    view.setWindowFontScale(1.36);
    EXPECT_EQ(view.rowNames(), names);
    EXPECT_DOUBLE_EQ(view.panel().frameSize(0).width(), (230 + 26) * 1.36);
    EXPECT_NEAR(rowRect(view, QStringLiteral("path")).height(), pathRow * 1.36, 1.0);
    render("text-scale-1.36");
}
