// The champion-select cards over real captured sessions: which cards a state shows and in which
// order, what the champion, runes, counters, spells, synergy and enemy cards say, and the
// figures the cards print.

#include "app/champselect/ChampSelectCards.h"
#include "app/champselect/ChampSelectLiveView.h"
#include "app/panels/HudStyle.h"
#include "core/knowledge/DDragon.h"

#include <QSet>

#include "ChampSelectFixture.h"
#include "LiveViewSupport.h"

using namespace tolvane;
using namespace tolvane::test;

namespace {

using Names = std::vector<QString>;

class ChampSelectLiveViewTest : public ChampSelectFixture {
protected:
    void SetUp() override { route(gameflowPath, gameflowDoc(QStringLiteral("ChampSelect"), 11)); }

    ChampSelectViewModel& afterPass(std::optional<int64_t> map = 11)
    {
        route(gameflowPath, gameflowDoc(QStringLiteral("ChampSelect"), map));
        auto& vm = loadedModel();
        await(vm.handle(finalizationSession(), client()));
        spinUntil([&] {
            return std::none_of(vm.spellRecs().begin(), vm.spellRecs().end(), [](const auto& r) {
                return r.state.kind == ChampSelectViewModel::EnemySpellRec::SpellState::Kind::loading;
            });
        });
        return vm;
    }
};

TEST_F(ChampSelectLiveViewTest, ARiftLobbyShowsEveryCardInOrder)
{
    builds->answer = MetaBuildAdvice {fullBuild(), MetaFreshness::fresh(), MetaBuildAdvice::metrionProvenance()};
    spells->answers[QStringLiteral("Nami")] = std::nullopt;
    auto& vm = afterPass();
    ChampSelectLiveView view(vm);
    EXPECT_EQ(view.entryNames(), (Names {"status", "champion", "runes", "counters", "spells", "synergy", "enemy"}));
    EXPECT_EQ(view.statusSubtitle(), "Popular runes & build for Graves");

    EXPECT_EQ(view.entry(QStringLiteral("champion"))->rows,
        (Names {"champion: Graves | ADC", "START: 1055 2003", "BUILD: 6671 3031 3036 3072 3026 3094", "BOOTS: 3006",
            "pill: Metrion popular · not enemy-specific"}));
    EXPECT_EQ(view.entry(QStringLiteral("runes"))->rows,
        (Names {"header: Popular runes | 13% pick · 50% win", "page", "Precision + Inspiration",
            "keystone: Lethal Tempo", "primary: Triumph, Legend: Alacrity, Coup de Grace", "separator",
            "secondary: Biscuit Delivery, Cosmic Insight", "shards: Attack Speed · Adaptive Force",
            "pill: Metrion popular · not enemy-specific"}))
        << "the rune catalog is empty here: the page's own names stand in, with no icon or description";
    EXPECT_EQ(view.entry(QStringLiteral("counters"))->rows,
        (Names {"header: Counters · ban ideas | adc", "counter: Jinx | 13% vs you", "counter: Newcomer",
            "pill: Metrion all ranks · WR vs your pick"}));
    const Names spellRows = view.entry(QStringLiteral("spells"))->rows;
    ASSERT_EQ(spellRows.size(), 7u);
    EXPECT_EQ(spellRows[1], "spells: Jinx | Flash, Heal");
    EXPECT_EQ(spellRows[2], "spells: Nami | —");
    EXPECT_EQ(view.entry(QStringLiteral("synergy"))->rows,
        (Names {"header: Duo synergy | experimental", "duo: Graves + Thresh | 0.8", "with Thresh",
            "hook follow up · lane pressure", "pill: synergy potential · not a win-rate"}));
    EXPECT_EQ(view.entry(QStringLiteral("enemy"))->rows[1], "portraits: 5");
    EXPECT_EQ(view.entry(QStringLiteral("enemy"))->rows[2], "Jinx · Nami · Diana · Aatrox · Smolder");

    for (const auto& entry : view.entries()) {
        if (entry.name != QStringLiteral("status")) {
            EXPECT_DOUBLE_EQ(entry.size.width(), cardFrameWidth(264, 1.0)) << entry.name.toStdString();
        }
    }
    view.setWindowFontScale(1.55);
    EXPECT_DOUBLE_EQ(view.entry(QStringLiteral("runes"))->size.width(), cardFrameWidth(264, 1.55));
    view.setAvailableWidth(300);
    EXPECT_DOUBLE_EQ(view.entry(QStringLiteral("runes"))->size.width(), 300) << "narrowed to a narrower column";
}

struct ModeCase {
    const char* name;
    std::optional<int64_t> map;
    Names cards;
    const char* championSecondRow;
};

void PrintTo(const ModeCase& c, std::ostream* os)
{
    *os << c.name;
}

class ChampSelectCardModes : public ChampSelectLiveViewTest, public ::testing::WithParamInterface<ModeCase> { };

TEST_P(ChampSelectCardModes, RiftOnlyCardsStayHiddenElsewhere)
{
    builds->answer = MetaBuildAdvice {fullBuild(), MetaFreshness::fresh(), MetaBuildAdvice::metrionProvenance()};
    ChampSelectLiveView view(afterPass(GetParam().map));
    EXPECT_EQ(view.entryNames(), GetParam().cards);
    EXPECT_EQ(view.entry(QStringLiteral("champion"))->rows.at(1), GetParam().championSecondRow);
}

INSTANTIATE_TEST_SUITE_P(Maps, ChampSelectCardModes,
    ::testing::Values(ModeCase {"aram", 12, {"status", "champion", "synergy", "enemy"}, "START: 1055 2003"},
        // No build is asked for in Arena: the card says so instead of loading for ever.
        ModeCase {"arena", 30, {"status", "champion", "synergy"}, "no popular build for this mode"},
        ModeCase {"unsupported", 99, {"status", "champion", "synergy", "enemy"}, "START: 1055 2003"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ChampSelectLiveViewTest, AnUnavailableBuildShowsItsReasonAndThePillButNoRunes)
{
    builds->answer = MetaBuildAdvice::unavailable(QStringLiteral("Metrion is down"));
    ChampSelectLiveView view(afterPass());
    EXPECT_EQ(view.entry(QStringLiteral("champion"))->rows,
        (Names {"champion: Graves | ADC", "Metrion is down", "pill: Metrion popular · not enemy-specific"}));
    EXPECT_EQ(view.entry(QStringLiteral("runes")), nullptr);
}

TEST_F(ChampSelectLiveViewTest, WhileTheBuildIsOutTheCardSaysLoadingWithoutAPill)
{
    builds->open = std::make_shared<bool>(false);
    auto& vm = loadedModel();
    auto task = vm.handle(finalizationSession(), client());
    ASSERT_TRUE(spinUntil([&] { return vm.myChampionName().has_value(); }));
    ChampSelectLiveView view(vm);
    EXPECT_EQ(
        view.entry(QStringLiteral("champion"))->rows, (Names {"champion: Graves | ADC", "loading popular runes…"}));
    *builds->open = true;
    await(std::move(task));
}

TEST_F(ChampSelectLiveViewTest, BeforeAPickOnlyTheStatusAndHiddenEnemiesShow)
{
    ChampSelectLiveView view(loadedModel());
    EXPECT_EQ(view.entryNames(), (Names {"status", "enemy"}));
    EXPECT_EQ(view.statusSubtitle(), "Hover or lock a champion to see runes");
    EXPECT_EQ(view.entry(QStringLiteral("enemy"))->rows[1], "hidden (blind pick / not yet revealed)");
}

// Images by address, handed over when the test says so.
class HeldImages : public HudImageSource {
public:
    HeldImages()
        : HudImageSource(QStringLiteral("https://ddragon.test"))
    {
    }
    std::optional<QImage> image(const QUrl& address) override
    {
        asked.insert(address);
        const auto found = images.constFind(address);
        return found == images.constEnd() ? std::nullopt : std::optional<QImage>(*found);
    }
    QHash<QUrl, QImage> images;
    QSet<QUrl> asked;
};

TEST_F(ChampSelectLiveViewTest, PortraitsShowTheirImageOnceItArrivesAndAnEmptyKeyAsksNothing)
{
    builds->answer = MetaBuildAdvice::unavailable(QStringLiteral("Metrion is down"));
    auto& vm = afterPass();
    ASSERT_FALSE(vm.version().isEmpty());
    HeldImages images;
    ChampSelectLiveView view(vm, 264, &images);
    const QImage before = renderWidget(view, QStringLiteral("champselect-portrait-placeholder"));
    const QUrl graves = *DDragonImage::champion(QStringLiteral("Graves"), vm.version(), images.dataDragonBase());
    EXPECT_TRUE(images.asked.contains(graves));
    EXPECT_TRUE(inkOfColour(before, Qt::red).isEmpty());

    QImage red(40, 40, QImage::Format_ARGB32);
    red.fill(Qt::red);
    images.images.insert(graves, red);
    emit images.imageArrived(graves);
    const QImage after = renderWidget(view, QStringLiteral("champselect-portrait-image"));
    const QRect portrait = inkOfColour(after, Qt::red);
    ASSERT_FALSE(portrait.isEmpty());
    EXPECT_NEAR(portrait.width(), 40, 2) << "40 pt at scale 1";
    for (const QUrl& asked : images.asked)
        EXPECT_FALSE(asked.toString().contains(QStringLiteral("/champion/.png"))) << "no address without a key";
}

TEST_F(ChampSelectLiveViewTest, APageWithFewerNamesThanRunesShowsNoNameInsteadOfReadingPastTheList)
{
    MetaRunePage page = *fullBuild().runePage;
    page.primaryRuneNames.resize(2);
    page.secondaryRuneNames.clear();
    const ChampSelectCards cards {loadedModel()};
    const auto rows = cards.runesCard(page).rows;
    EXPECT_EQ(rows.at(4), "primary: Triumph, , ");
    EXPECT_EQ(rows.at(6), "secondary: , ");
    page.primaryRuneNames.clear();
    EXPECT_EQ(cards.runesCard(page).rows.at(3), "keystone: ");
}

TEST(ChampSelectFigures, PercentagesRoundHalvesAwayFromZero)
{
    EXPECT_EQ(ChampSelectCards::percent(0.125), "13");
    EXPECT_EQ(ChampSelectCards::percent(0.5049), "50");
    MetaRunePage page;
    EXPECT_EQ(ChampSelectCards::runeStatsLine(page), "");
    page.winRate = 0.51;
    EXPECT_EQ(ChampSelectCards::runeStatsLine(page), "51% win");
    page.statModIds = {4242};
    EXPECT_EQ(ChampSelectCards::shardsLine(page), "") << "no label, no line";
}

TEST(ChampSelectFigures, BuildRowsDropEmptyGroupsAndCapTheCore)
{
    MetaBuild build = fullBuild();
    build.starterItems.clear();
    build.boots.reset();
    const auto rows = ChampSelectCards::buildRows(build, ItemCatalog::empty());
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].first, "BUILD");
    EXPECT_EQ(rows[0].second.size(), 6u);
}

} // namespace
