#include "app/panels/MatchupBuildBody.h"
#include "app/panels/HudStyle.h"

#include "BuildPathFixtures.h"
#include "NoGame.h"

#include <QPainter>

#include <gtest/gtest.h>

using namespace tolvane;
using namespace tolvane::test;
using Names = std::vector<QString>;

namespace {

ThreatProfile profile(int64_t ad, int64_t ap, int64_t mixed, CCCoverage cc)
{
    ThreatProfile p;
    p.adCount = ad;
    p.apCount = ap;
    p.mixedCount = mixed;
    p.ccCoverage = cc;
    return p;
}

MatchupExtras fullExtras()
{
    MatchupExtras e;
    e.verdict = MatchupVerdict::unfavored;
    e.keystone = QStringLiteral("Lethal Tempo");
    e.skillOrder = std::vector<QString> {"Q", "W", "E", "Q"};
    e.summonerSpells = std::vector<QString> {"Flash", "Heal"};
    e.playStyle = QStringLiteral("safe");
    e.opponentTip = QStringLiteral("Jinx out-scales you late: trade early around your traps and push before her "
                                   "rockets come online.");
    e.opponent = QStringLiteral("Jinx");
    return e;
}

class MatchupBody : public ::testing::Test {
protected:
    MatchupBody()
    {
        CounterBuildViewModelProbe::setVersion(vm, QStringLiteral("15.4.1"));
        deliverIcons(images, vm.version());
        vm.setItemCatalog(realItems());
    }
    QImage render(const MatchupBuildBody& body, const char* name)
    {
        const QSizeF natural = body.naturalSize();
        QImage image(natural.toSize() + QSize(1, 1), QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        body.paint(painter);
        painter.end();
        savePanelPng(image, QStringLiteral("matchupbody-") + QLatin1String(name));
        return image;
    }

    std::shared_ptr<FakeMatchupProvider> provider = std::make_shared<FakeMatchupProvider>();
    CounterBuildViewModel vm {provider, test::noGameClient(), SharedCatalogs::fixed({})};
    FakeImageSource images;
};

} // namespace

TEST_F(MatchupBody, EveryRowWhenEverythingIsKnown)
{
    CounterBuildViewModelProbe::setThreats(
        vm, profile(3, 2, 0, CCCoverage::exact(4)), profile(2, 2, 1, CCCoverage::atLeast(4)));
    CounterBuildViewModelProbe::setOwned(vm, {1055, 6672, 3006});
    const MatchupBuildBody body(marksmanBuild(), fullExtras(), vm, 248, &images);
    EXPECT_EQ(body.rowNames(),
        (Names {"header", "verdict", "tip", "teams", "start", "path", "next", "boots", "rune", "skill", "spells",
            "caption"}));
    EXPECT_EQ(body.headerTrailing(), QStringLiteral("vs Jinx"));
    EXPECT_EQ(body.playStyleText(), QStringLiteral("\u00b7 play safe"));
    EXPECT_EQ(body.runeText(), QStringLiteral("Lethal Tempo \u00b7 Lethal Tempo"));
    EXPECT_EQ(body.skillText(), QStringLiteral("Q \u203a W \u203a E \u203a Q"));
    EXPECT_EQ(body.spellsText(), QStringLiteral("Flash + Heal"));
    const QImage image = render(body, "full");
    EXPECT_FALSE(inkOf(image, HUD::behind(), 30).isEmpty()); // UNFAVORED and ENEMIES
    EXPECT_DOUBLE_EQ(body.naturalSize().width(), body.panel().outerSize(0).width());
}

TEST_F(MatchupBody, TheCaptionStaysWhenEveryOptionalRowIsAbsent)
{
    MatchupExtras bare;
    bare.opponent = QStringLiteral("Ezreal");
    bare.skillOrder = std::vector<QString> {};
    MetaBuild build = marksmanBuild();
    build.primaryRune.reset();
    build.boots.reset();
    build.starterItems.clear();
    const MatchupBuildBody body(build, bare, vm, 248, &images);
    EXPECT_EQ(body.rowNames(), (Names {"header", "verdict", "path", "next", "caption"}));
    EXPECT_FALSE(body.playStyleText());
    EXPECT_FALSE(body.runeText());
    EXPECT_FALSE(body.skillText());
    render(body, "bare");
}

TEST_F(MatchupBody, OneTeamProfileAloneShowsNoTeamRows)
{
    CounterBuildViewModelProbe::setThreats(vm, std::nullopt, profile(1, 1, 0, CCCoverage::exact(1)));
    const MatchupBuildBody body(marksmanBuild(), fullExtras(), vm, 248);
    const Names names = body.rowNames();
    EXPECT_EQ(std::count(names.begin(), names.end(), QStringLiteral("teams")), 0);
}

TEST_F(MatchupBody, RuneWithoutKeystoneAndKeystoneWithoutRune)
{
    MatchupExtras extras = fullExtras();
    extras.keystone.reset();
    EXPECT_EQ(MatchupBuildBody(marksmanBuild(), extras, vm, 248).runeText(), QStringLiteral("Lethal Tempo"));
    MetaBuild runeless = marksmanBuild();
    runeless.primaryRune.reset();
    EXPECT_FALSE(MatchupBuildBody(runeless, fullExtras(), vm, 248).runeText());
}

TEST_F(MatchupBody, HeldBootsAreDimmedWithoutATick)
{
    CounterBuildViewModelProbe::setOwned(vm, {3006});
    MetaBuild bootsOnly;
    bootsOnly.boots = named(3006, "Berserker's Greaves");
    MatchupExtras extras = fullExtras();
    const MatchupBuildBody body(bootsOnly, extras, vm, 248, &images);
    const QImage image = render(body, "held-boots");
    const QRect boots = rowRect(body, QStringLiteral("boots"));
    ASSERT_FALSE(boots.isEmpty());
    EXPECT_TRUE(inkOf(image, HUD::ahead(), 30, boots).isEmpty()); // no tick
    EXPECT_FALSE(inkOf(image, HUD::ahead(), 30, rowRect(body, QStringLiteral("complete"))).isEmpty());
}

struct VerdictCase {
    MatchupVerdict verdict;
    const char* label;
    QColor (*colour)();
};

class MatchupVerdictPill : public ::testing::TestWithParam<VerdictCase> { };

TEST_P(MatchupVerdictPill, LabelAndColour)
{
    const auto pill = MatchupBuildBody::verdictPill(GetParam().verdict);
    EXPECT_EQ(pill.label, QLatin1String(GetParam().label));
    EXPECT_EQ(pill.color, GetParam().colour());
}

INSTANTIATE_TEST_SUITE_P(Verdicts, MatchupVerdictPill,
    ::testing::Values(VerdictCase {MatchupVerdict::favored, "FAVORED", [] { return HUD::ahead(); }},
        VerdictCase {MatchupVerdict::even, "EVEN", [] { return HUD::neutral(); }},
        VerdictCase {MatchupVerdict::unfavored, "UNFAVORED", [] { return HUD::behind(); }}));

TEST(MatchupBodyCC, ExactOrLowerBound)
{
    EXPECT_EQ(MatchupBuildBody::ccText(CCCoverage::exact(4)), QStringLiteral("CC 4"));
    EXPECT_EQ(MatchupBuildBody::ccText(CCCoverage::atLeast(4)), QStringLiteral("CC \u22654"));
}
