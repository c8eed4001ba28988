#include "app/panels/CounterBuildOverlayView.h"
#include "app/panels/HudStyle.h"

#include "BuildPathFixtures.h"
#include "NoGame.h"

#include <gtest/gtest.h>

using namespace tolvane;
using namespace tolvane::test;
using Names = std::vector<QString>;
using Form = CounterBuildOverlayView::Form;

namespace {

ThreatProfile threat(
    int64_t ad, int64_t ap, int64_t mixed, int64_t unknown, CCCoverage cc = CCCoverage::exact(4), bool assassin = false)
{
    ThreatProfile t;
    t.adCount = ad;
    t.apCount = ap;
    t.mixedCount = mixed;
    t.unknownCount = unknown;
    t.ccCoverage = cc;
    t.assassinThreat = assassin;
    return t;
}

std::vector<RankedItem> counterItems()
{
    return {{3075, QStringLiteral("Thornmail"), QStringLiteral("vs AD"), false},
        {3157, QStringLiteral("Zhonya's Hourglass"), QStringLiteral("vs assassin dive"), false},
        {3111, QStringLiteral("Mercury's Treads"), QStringLiteral("\u22653 CC"), true}};
}

class CounterBuildPanel : public ::testing::Test {
protected:
    CounterBuildPanel()
    {
        CounterBuildViewModelProbe::setVersion(vm, QStringLiteral("15.4.1"));
        deliverIcons(images, vm.version());
    }
    void advise(std::optional<ThreatProfile> t, Shortlist shortlist, bool stale = false)
    {
        CounterBuildViewModelProbe::setAdvice(vm, CounterBuildAdvice {t, std::move(shortlist), stale});
    }
    QImage render(const char* name)
    {
        const QImage image = renderContent(view);
        savePanelPng(image, QStringLiteral("counterbuild-") + QLatin1String(name));
        return image;
    }

    std::shared_ptr<FakeMatchupProvider> provider = std::make_shared<FakeMatchupProvider>();
    CounterBuildViewModel vm {provider, test::noGameClient(), SharedCatalogs::fixed({})};
    FakeImageSource images;
    CounterBuildOverlayView view {vm, CounterBuildOverlayView::defaultWidth, &images};
};

} // namespace

TEST_F(CounterBuildPanel, WithoutAdviceItIsNotInGame)
{
    EXPECT_EQ(view.form(), Form::notInGame);
    EXPECT_EQ(view.rowNames(), (Names {"header", "message"}));
    const QImage image = render("not-in-game");
    EXPECT_EQ(image.width(), int(std::ceil(hudPanel(HUD::teal(), 248, 1).outerSize(0).width())));
}

TEST_F(CounterBuildPanel, AnUnidentifiedPlayerShowsTheReason)
{
    advise(std::nullopt, Shortlist::unavailable(QStringLiteral("champion not identified")));
    EXPECT_EQ(view.form(), Form::reason);
    EXPECT_EQ(view.rowNames(), (Names {"header", "message"}));
    render("reason");
}

TEST_F(CounterBuildPanel, ReadoutWithShortlistNoteAndStaleRules)
{
    advise(threat(2, 2, 1, 0, CCCoverage::atLeast(4), true), Shortlist::items(counterItems()), true);
    CounterBuildViewModelProbe::setMatchup(vm, MatchupAdvice::unavailable(QStringLiteral("Metrion unavailable")));
    EXPECT_EQ(view.form(), Form::readout);
    EXPECT_EQ(
        view.rowNames(), (Names {"header", "note", "damage", "cc", "mixed", "divider", "caption", "items", "stale"}));
    const QImage image = render("readout");
    EXPECT_FALSE(inkOf(image, HUD::amber(), 30, rowRect(view, QStringLiteral("stale"))).isEmpty());
    EXPECT_FALSE(inkOf(image, HUD::behind(), 30, rowRect(view, QStringLiteral("damage"))).isEmpty()); // assassin
}

TEST_F(CounterBuildPanel, AnEmptyShortlistSaysSoWithoutCaption)
{
    advise(threat(3, 2, 0, 0), Shortlist::items({}));
    EXPECT_EQ(view.rowNames(), (Names {"header", "damage", "cc", "divider", "empty"}));
    render("empty-shortlist");
}

TEST_F(CounterBuildPanel, OutsideSummonersRiftOnlyTheProfile)
{
    advise(threat(2, 2, 1, 0), Shortlist::readoutOnly());
    CounterBuildViewModelProbe::setLanerNote(vm, QStringLiteral("no lane opponent identified"));
    EXPECT_EQ(view.rowNames(), (Names {"header", "note", "damage", "cc", "mixed", "readoutOnly"}));
    render("readout-only");
}

TEST_F(CounterBuildPanel, AnUnavailableShortlistWithAThreatAddsNothingAfterTheReadout)
{
    advise(threat(3, 1, 0, 0), Shortlist::unavailable(QStringLiteral("x")));
    EXPECT_EQ(view.rowNames(), (Names {"header", "damage", "cc"}));
}

TEST_F(CounterBuildPanel, AHeldMatchupBuildIsTheWholePanel)
{
    advise(threat(2, 2, 1, 0), Shortlist::items(counterItems()));
    CounterBuildViewModelProbe::setMatchup(vm, matchupBuildAnswer(QStringLiteral("Jinx")));
    CounterBuildViewModelProbe::setThreats(vm, threat(1, 3, 1, 0), threat(2, 2, 1, 0, CCCoverage::atLeast(5)));
    vm.setItemCatalog(realItems());
    EXPECT_EQ(view.form(), Form::matchup);
    const Names names = view.rowNames();
    EXPECT_EQ(names.front(), QStringLiteral("header"));
    EXPECT_EQ(names.back(), QStringLiteral("caption"));
    EXPECT_EQ(std::count(names.begin(), names.end(), QStringLiteral("damage")), 0);
    const QImage image = render("matchup");
    EXPECT_EQ(image.width(), int(std::ceil(view.naturalSize().width())));
}

struct PillCase {
    ThreatProfile threat;
    bool showAdvice;
    std::optional<QString> text;
};

class MixedDamagePill : public ::testing::TestWithParam<PillCase> { };

TEST_P(MixedDamagePill, ShownOnlyForAnEvenSplit)
{
    EXPECT_EQ(CounterBuildOverlayView::mixedDamagePill(GetParam().threat, GetParam().showAdvice), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Threats, MixedDamagePill,
    ::testing::Values(PillCase {threat(2, 2, 1, 0), true, QStringLiteral("mixed AD/AP \u2014 split defenses")},
        PillCase {threat(2, 2, 1, 0), false, QStringLiteral("mixed AD/AP")},
        PillCase {threat(2, 2, 0, 3), true, std::nullopt}, // too many unclassified
        PillCase {threat(2, 2, 0, 2), true, QStringLiteral("mixed AD/AP \u2014 split defenses")},
        PillCase {threat(0, 0, 0, 0), true, std::nullopt}, // nobody classified
        PillCase {threat(3, 2, 0, 0), true, std::nullopt}, // a difference of exactly 1
        PillCase {threat(0, 0, 1, 0), false, QStringLiteral("mixed AD/AP")}));

TEST(CounterBuildTexts, CrowdControlAndUnclassified)
{
    EXPECT_EQ(CounterBuildOverlayView::hardCCText(CCCoverage::exact(4)), QStringLiteral("hard CC 4"));
    EXPECT_EQ(CounterBuildOverlayView::hardCCText(CCCoverage::atLeast(2)), QStringLiteral("hard CC \u22652"));
    EXPECT_EQ(CounterBuildOverlayView::unclassifiedText(3), QStringLiteral("\u00b7 3 unclassified"));
    EXPECT_FALSE(CounterBuildOverlayView::unclassifiedText(0));
}
