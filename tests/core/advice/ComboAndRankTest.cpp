#include "core/advice/MetrionComboProvider.h"
#include "core/advice/SummonerProfileFetcher.h"

#include "Await.h"
#include "FakeMetrion.h"
#include "SdkPeer.h"

#include <QJsonArray>

#include <gtest/gtest.h>

using namespace tolvane;
using namespace tolvane::test;

namespace {

std::optional<std::vector<ChampionCombo>> combos(const QString& text)
{
    return MetrionComboProvider::parse(text);
}

const QString analysis = QStringLiteral("LolGetChampionAnalysis(");

TEST(ComboParse, ReadsEntriesInOrder)
{
    EXPECT_EQ(combos(analysis + R"re(SkillCombo("E-Q","https://v/1.mp4"),SkillCombo("Flash R",null))re"),
        (std::vector<ChampionCombo> {{"E-Q", "https://v/1.mp4"}, {"Flash R", std::nullopt}}));
    EXPECT_EQ(combos(analysis + "SkillCombo(\"A\" \t\n,\r\n \"u\")SkillCombo(\"B\",\u2003null)"),
        (std::vector<ChampionCombo> {{"A", "u"}, {"B", std::nullopt}}));
    EXPECT_EQ(
        combos(analysis + R"re(SkillCombo("A",""),SkillCombo("","u"),SkillCombo("a"b","u"),SkillCombo("C",nul))re"),
        (std::vector<ChampionCombo> {{"A", std::nullopt}}));
    EXPECT_EQ(
        combos(analysis + R"re(SkillCombo(" x ","\u0041"))re"), (std::vector<ChampionCombo> {{" x ", "\\u0041"}}));
    EXPECT_EQ(combos(analysis), std::vector<ChampionCombo> {});
    EXPECT_EQ(combos(R"re(SkillCombo("A","u"))re"), std::nullopt);
}

TEST(ComboParse, HostileTextEndsQuickly)
{
    QString text = analysis;
    while (text.size() < 4 * 1024 * 1024)
        text += QStringLiteral("SkillCombo(\"a\"     ,     \"");
    EXPECT_EQ(combos(text), std::vector<ChampionCombo> {});
}

TEST(ComboProviderFake, NeedsAChampionAndForRiftALane)
{
    FakeMetrion metrion;
    metrion.answerText(analysis + R"re(SkillCombo("Q","v"))re");
    MetrionComboProvider provider(metrion.client());
    EXPECT_EQ(await(provider.fetchCombos("'", MetaQuery::aram())), std::nullopt);
    EXPECT_EQ(await(provider.fetchCombos("Ahri", MetaQuery::summonersRift(MetaRole::unknown, true))), std::nullopt);
    EXPECT_EQ(metrion.callCount(), 0);

    EXPECT_EQ(await(provider.fetchCombos("Ahri", MetaQuery::aram())), (std::vector<ChampionCombo> {{"Q", "v"}}));
    const QJsonObject arguments = metrion.lastCall().value(u"arguments").toObject();
    EXPECT_EQ(arguments.value(u"position").toString(), u"mid");
    EXPECT_EQ(arguments.value(u"game_mode").toString(), u"aram");

    EXPECT_TRUE(await(provider.fetchCombos("Ahri", MetaQuery::summonersRift(MetaRole::support, false))));
    EXPECT_EQ(metrion.lastCall().value(u"arguments").toObject().value(u"position").toString(), u"support");

    metrion.answer(errorReply());
    EXPECT_EQ(await(provider.fetchCombos("Ahri", MetaQuery::aram())), std::nullopt);
}

struct RankCase {
    const char* reply;
    RankFetchResult result;
};

void PrintTo(const RankCase& c, std::ostream* os)
{
    *os << c.reply;
}

class RankParse : public ::testing::TestWithParam<RankCase> { };

TEST_P(RankParse, ReadsTheSoloEntry)
{
    EXPECT_EQ(
        SummonerProfileFetcher::parse(QStringLiteral("LolGetSummonerProfile(") + QString::fromUtf8(GetParam().reply)),
        GetParam().result);
}

SummonerRankSnapshot rank(
    QString tier, std::optional<int64_t> division, std::optional<int64_t> lp, int64_t wins, int64_t losses)
{
    return {std::move(tier), division, lp, wins, losses};
}

INSTANTIATE_TEST_SUITE_P(Profiles, RankParse,
    ::testing::Values(RankCase {R"re(LeagueStat("SOLORANKED",null,null,TierInfo("IRON",null,null)))re",
                          RankFetchResult::ranked(rank("IRON", std::nullopt, std::nullopt, 0, 0))},
        RankCase {
            R"re(LeagueStat("FLEXRANKED",1,2,TierInfo("GOLD",1,2)),LeagueStat("SOLORANKED",3,4,TierInfo("SILVER",4,0)))re",
            RankFetchResult::ranked(rank("SILVER", 4, 0, 3, 4))},
        RankCase {R"re(LeagueStat("SOLORANKED",3,4,TierInfo(null,4,0)))re", RankFetchResult::unranked()},
        RankCase {R"re(LeagueStat("FLEXRANKED",3,4,TierInfo("GOLD",4,0)))re", RankFetchResult::unranked()},
        RankCase {R"re(nothing here)re", RankFetchResult::unranked()},
        RankCase {
            R"re(LeagueStat("SOLORANKED",99999999999999999999,9223372036854775807,TierInfo("GOLD",99999999999999999999,1)))re",
            RankFetchResult::ranked(rank("GOLD", std::nullopt, 1, 0, INT64_MAX))},
        RankCase {"LeagueStat(\"SOLORANKED\",\u0661,2,TierInfo(\"GOLD\",1,1))",
            RankFetchResult::ranked(rank("GOLD", 1, 1, 0, 2))},
        // Present but unreadable: not the same as having no solo entry.
        RankCase {R"re(LeagueStat("SOLORANKED",10,12,TierInfo("gold",2,45)))re", RankFetchResult::unavailable()},
        RankCase {R"re(LeagueStat( "SOLORANKED", 10, 12, TierInfo("GOLD", 2, 45)))re", RankFetchResult::unavailable()},
        RankCase {R"re(LeagueStat("SOLORANKED",-1,12,TierInfo("GOLD",2,45)))re", RankFetchResult::unavailable()}));

TEST(RankParse, NeedsTheProfileMarker)
{
    EXPECT_EQ(SummonerProfileFetcher::parse(R"re(LeagueStat("SOLORANKED",1,2,TierInfo("GOLD",1,2)))re"),
        RankFetchResult::unavailable());
}

TEST(SummonerRank, WinRateRoundsHalfAwayFromZero)
{
    EXPECT_EQ(rank("GOLD", 1, 1, 2, 1).winRatePercent(), 67);
    EXPECT_EQ(rank("GOLD", 1, 1, 1, 7).winRatePercent(), 13);
    EXPECT_EQ(rank("GOLD", 1, 1, 0, 0).winRatePercent(), std::nullopt);
    EXPECT_EQ(rank("GOLD", 1, 1, 0, 5).winRatePercent(), 0);
    // One game is enough for a rate.
    EXPECT_EQ(rank("GOLD", 1, 1, 1, 0).winRatePercent(), 100);
    EXPECT_EQ(rank("GOLD", 1, 1, 0, 1).winRatePercent(), 0);
    // Counts whose sum leaves 64 bits still give a rate.
    EXPECT_EQ(rank("GOLD", 1, 1, INT64_MAX, INT64_MAX).winRatePercent(), 50);
    EXPECT_EQ(rank("GOLD", 1, 1, INT64_MAX, 1).winRatePercent(), 100);
    EXPECT_EQ(rank("GOLD", 1, 1, INT64_MIN, INT64_MIN).winRatePercent(), std::nullopt);
}

TEST(SummonerRank, ShortLabels)
{
    EXPECT_EQ(rank("GOLD", 2, 45, 0, 0).shortLabel(), QStringLiteral("GOLD 2 · 45 LP"));
    EXPECT_EQ(rank("GRANDMASTER", 1, 312, 0, 0).shortLabel(), QStringLiteral("GM 1 · 312 LP"));
    EXPECT_EQ(rank("CHALLENGER", std::nullopt, std::nullopt, 0, 0).shortLabel(), QStringLiteral("CHALL"));
    EXPECT_EQ(rank("EMERALD", 4, std::nullopt, 0, 0).shortLabel(), QStringLiteral("EMER 4"));
    EXPECT_EQ(rank("MASTER", std::nullopt, 0, 0, 0).shortLabel(), QStringLiteral("MAST · 0 LP"));
    EXPECT_EQ(rank("E\u0301ME\u0301RAUDE", 1, std::nullopt, 0, 0).shortLabel(), QStringLiteral("E\u0301ME\u0301R 1"));
}

TEST(SummonerProfileFake, EmptyArgumentsAreNotSent)
{
    FakeMetrion metrion;
    SummonerProfileFetcher fetcher(metrion.client());
    EXPECT_EQ(await(fetcher.fetchSoloRank("", "EUW", "EUW1")), RankFetchResult::unavailable());
    EXPECT_EQ(await(fetcher.fetchSoloRank("A", "", "EUW1")), RankFetchResult::unavailable());
    EXPECT_EQ(await(fetcher.fetchSoloRank("A", "EUW", "")), RankFetchResult::unavailable());
    EXPECT_EQ(metrion.callCount(), 0);
    EXPECT_EQ(await(fetcher.fetchSoloRank(" ", " ", " ")), RankFetchResult::unavailable());
    EXPECT_EQ(metrion.lastCall().value(u"arguments").toObject().value(u"game_name").toString(), u" ");
}

class ComboAndRankSdk : public SdkPeerTest { };

TEST_P(ComboAndRankSdk, CombosFromTheAnalysisTool)
{
    MetrionComboProvider provider(client());
    EXPECT_EQ(await(provider.fetchCombos(QStringLiteral("Ahri"), MetaQuery::summonersRift(MetaRole::mid, false))),
        (std::vector<ChampionCombo> {{"E-Q-R burst", "https://video.example/ahri/eqr.mp4"},
            {"Charm flash", std::nullopt}, {"R-W-Q poke", std::nullopt}}));
    const auto calls = peer().calls(1);
    ASSERT_EQ(calls.size(), 1);
    EXPECT_EQ(calls[0].value(u"name").toString(), u"lol_get_champion_analysis");
    EXPECT_EQ(calls[0].value(u"arguments").toObject(),
        (QJsonObject {{"game_mode", "ranked"}, {"champion", "AHRI"}, {"position", "mid"},
            {"desired_output_fields", QJsonArray {"data.skill_combos[].name", "data.skill_combos[].video_url"}}}));
    // A champion the peer has no analysis for: its tool error text carries no marker.
    EXPECT_EQ(await(provider.fetchCombos(QStringLiteral("Zed"), MetaQuery::aram())), std::nullopt);
}

TEST_P(ComboAndRankSdk, SoloRanksFromProfiles)
{
    SummonerProfileFetcher fetcher(client());
    const RankFetchResult faker = await(fetcher.fetchSoloRank(QStringLiteral("Hide on bush"), "KR1", "KR"));
    ASSERT_EQ(faker.kind, RankFetchResult::Kind::ranked);
    EXPECT_EQ(*faker.snapshot, rank("CHALLENGER", 1, 1432, 812, 701));
    EXPECT_EQ(faker.snapshot->shortLabel(), QStringLiteral("CHALL 1 · 1432 LP"));
    EXPECT_EQ(faker.snapshot->winRatePercent(), 54);
    EXPECT_EQ(await(fetcher.fetchSoloRank("Fresh", "EUW", "EUW")), RankFetchResult::unranked());
    EXPECT_EQ(await(fetcher.fetchSoloRank("Odd", "NA1", "NA")), RankFetchResult::unavailable());
    EXPECT_EQ(await(fetcher.fetchSoloRank("Nobody", "NA1", "NA")), RankFetchResult::unavailable());

    const auto calls = peer().calls(4);
    ASSERT_EQ(calls.size(), 4);
    EXPECT_EQ(calls[0].value(u"name").toString(), u"lol_get_summoner_profile");
    QJsonArray fields;
    for (const QString& f : SummonerProfileFetcher::desiredOutputFields())
        fields.append(f);
    EXPECT_EQ(fields.size(), 6);
    EXPECT_EQ(calls[0].value(u"arguments").toObject(),
        (QJsonObject {
            {"game_name", "Hide on bush"}, {"tag_line", "KR1"}, {"region", "KR"}, {"desired_output_fields", fields}}));
}

TOLVANE_BOTH_REPLY_STYLES(ComboAndRankSdk);

} // namespace
