#include "core/advice/MetrionMatchupProvider.h"

#include "Await.h"
#include "FakeMetrion.h"
#include "LogCapture.h"
#include "SdkPeer.h"

#include <gtest/gtest.h>

using namespace tolvane;
using namespace tolvane::test;

namespace {

const QString rune
    = QStringLiteral(R"re("runes":[{"primary_page_name":"Domination","primary_rune_names":["Electrocute"]}])re");

MatchupAdvice decode(
    const QString& data, const QString& me = QStringLiteral("Lee Sin"), const QString& opponent = QStringLiteral("Vi"))
{
    return MetrionMatchupProvider::decode(
        QStringLiteral("{\"data\":{") + data + QStringLiteral("}}"), me, opponent, MetaRole::jungle);
}

const MatchupBuild& built(const MatchupAdvice& advice)
{
    static const MatchupBuild none;
    if (!std::holds_alternative<MatchupBuild>(advice.result)) {
        ADD_FAILURE() << "no build: " << std::get<Unavailable>(advice.result).reason.toStdString();
        return none;
    }
    return std::get<MatchupBuild>(advice.result);
}

TEST(MatchupDecode, TopEntryByPickRateWithTiesToTheFirst)
{
    auto advice = decode(R"re("core_items":[{"ids":[1],"pick_rate":0.2},{"ids":[2],"pick_rate":0.2}],)re" + rune);
    EXPECT_EQ(built(advice).build.coreItems, (std::vector<MetaItem> {{1, ""}}));
    advice = decode(R"re("core_items":[{"ids":[1]},{"ids":[2],"pick_rate":0.01}],)re" + rune);
    EXPECT_EQ(built(advice).build.coreItems, (std::vector<MetaItem> {{2, ""}}));
}

TEST(MatchupDecode, NoUsableTopCoreOrPageIsNoMatchup)
{
    const MatchupAdvice none = MatchupAdvice::unavailable(QStringLiteral("no Metrion matchup for this pick"));
    LogCapture logs;
    EXPECT_EQ(decode(R"re("core_items":[{"ids":[],"pick_rate":0.9},{"ids":[2],"pick_rate":0.1}],)re" + rune), none);
    EXPECT_EQ(decode(rune), none);
    EXPECT_EQ(decode(R"re("core_items":[{"ids":[1]}],"runes":[{"primary_page_name":""}])re"), none);
    EXPECT_EQ(decode(R"re("core_items":[{"ids":[1]}],"runes":[{"primary_page_name":null}])re"), none);
    EXPECT_EQ(decode(R"re("core_items":[{"ids":[1]}],"runes":[])re"), none);
    EXPECT_TRUE(logs.lines().isEmpty());
    const auto advice = decode(R"re("core_items":[{"ids":[1]}],"runes":[{"primary_page_name":" "}])re");
    EXPECT_EQ(built(advice).build.primaryRune, QStringLiteral(" "));
}

TEST(MatchupDecode, UnreadableReplyIsLogged)
{
    LogCapture logs;
    const MatchupAdvice drifted = MatchupAdvice::unavailable(QStringLiteral("Metrion data not recognized"));
    for (const char* text : {R"re({"core_items":[{"ids":[1]}]})re",
             R"re({"data":{"core_items":[{"ids_names":["a"]}]}})re", R"re({"data":{"skills":[{"order":["Q",1]}]}})re",
             R"re({"data":{"core_items":[{"ids":[99999999999999999999]}]}})re", "LolGetChampionAnalysis(",
             R"re({"data":null})re", R"re({"data":{"lane_advantage_champion":7}})re"}) {
        EXPECT_EQ(MetrionMatchupProvider::decode(QString::fromUtf8(text), "A", "B", MetaRole::mid), drifted) << text;
    }
    EXPECT_EQ(logs.count(QStringLiteral("Metrion matchup JSON not recognized — format may have drifted")), 7);
    EXPECT_EQ(logs.lines(QStringLiteral("metrion")).size(), 7);
}

TEST(MatchupDecode, ItemsAndBootsTakeNamesIndexForIndex)
{
    const auto advice
        = decode(R"re("core_items":[{"ids":[1,2,3],"ids_names":["a"]}],"boots":[{"ids":[3020,3006],"ids_names":[]}],)re"
                 R"re("starter_items":[{"ids":[1056],"ids_names":["Ring","extra"]}],)re"
            + rune);
    const MetaBuild& build = built(advice).build;
    EXPECT_EQ(build.coreItems, (std::vector<MetaItem> {{1, "a"}, {2, ""}, {3, ""}}));
    EXPECT_EQ(build.boots, (MetaItem {3020, ""}));
    EXPECT_EQ(build.starterItems, (std::vector<MetaItem> {{1056, "Ring"}}));
    EXPECT_EQ(build.role, MetaRole::jungle);
    EXPECT_FALSE(build.roleInferred);
    EXPECT_FALSE(build.aram);
    EXPECT_EQ(build.runePage, std::nullopt);
}

TEST(MatchupDecode, SituationalSlotsSkipEntriesLedByCoreItems)
{
    const auto advice
        = decode(R"re("core_items":[{"ids":[1,2]}],"last_items":[{"ids":[1,9]},{"ids":[]},{"ids":[10,11]},)re"
                 R"re({"ids":[12,2]},{"ids":[13]},{"ids":[14]}],)re"
            + rune);
    const auto& situational = built(advice).build.situationalSlots;
    ASSERT_EQ(situational.size(), 3u);
    EXPECT_EQ(situational[0], (std::vector<MetaItem> {{10, ""}, {11, ""}}));
    EXPECT_EQ(situational[1], (std::vector<MetaItem> {{12, ""}, {2, ""}}));
    EXPECT_EQ(situational[2], (std::vector<MetaItem> {{13, ""}}));
}

struct VerdictCase {
    const char* advantage;
    MatchupVerdict verdict;
};

class MatchupVerdicts : public ::testing::TestWithParam<VerdictCase> { };

TEST_P(MatchupVerdicts, ComparedByChampionKey)
{
    QString data = QStringLiteral(R"re("core_items":[{"ids":[1]}],)re") + rune;
    if (GetParam().advantage)
        data += QStringLiteral(R"re(,"lane_advantage_champion":")re") + QString::fromUtf8(GetParam().advantage) + u'"';
    EXPECT_EQ(
        built(decode(data, QStringLiteral("Lee Sin"), QStringLiteral("Kai'Sa"))).extras.verdict, GetParam().verdict);
}

INSTANTIATE_TEST_SUITE_P(Matchup, MatchupVerdicts,
    ::testing::Values(VerdictCase {"lee sin", MatchupVerdict::favored},
        VerdictCase {"LEE_SIN", MatchupVerdict::favored}, VerdictCase {"KAISA", MatchupVerdict::unfavored},
        VerdictCase {"Kai Sa", MatchupVerdict::even}, VerdictCase {"Zed", MatchupVerdict::even},
        VerdictCase {nullptr, MatchupVerdict::even}));

TEST(MatchupDecode, MirrorMatchupFavoursThePlayer)
{
    const auto data = QStringLiteral(R"re("core_items":[{"ids":[1]}],"lane_advantage_champion":"Ahri",)re") + rune;
    EXPECT_EQ(
        built(decode(data, QStringLiteral("Ahri"), QStringLiteral("Ahri"))).extras.verdict, MatchupVerdict::favored);
}

TEST(MatchupDecode, ExtrasFromTheTopEntries)
{
    const auto advice = decode(
        R"re("core_items":[{"ids":[1]}],"runes":[{"primary_page_name":"P","primary_rune_names":[],"pick_rate":0.5},)re"
        R"re({"primary_page_name":"Q","primary_rune_names":["K"],"pick_rate":0.4}],)re"
        R"re("summoner_spells":[{"ids":[4,14],"pick_rate":0.6},{"ids":[4,12],"ids_names":["Flash","Teleport"]}],)re"
        R"re("recommended_play_style":"  poke  ","opponent_champion_tip":" \n ")re");
    const MatchupExtras& extras = built(advice).extras;
    EXPECT_EQ(built(advice).build.primaryRune, QStringLiteral("P"));
    EXPECT_EQ(extras.keystone, std::nullopt);
    EXPECT_EQ(extras.skillOrder, std::nullopt);
    EXPECT_EQ(extras.summonerSpells, std::nullopt); // the top pair carries no names
    EXPECT_EQ(extras.playStyle, QStringLiteral("  poke  "));
    EXPECT_EQ(extras.opponentTip, std::nullopt);
    EXPECT_EQ(extras.opponent, QStringLiteral("Vi"));

    const auto named = decode(
        R"re("core_items":[{"ids":[1]}],"summoner_spells":[{"ids":[4],"ids_names":[]}],"skills":[{"order":[]}],)re"
        + rune);
    EXPECT_EQ(built(named).extras.summonerSpells, std::vector<QString> {});
    EXPECT_EQ(built(named).extras.skillOrder, (std::vector<QString> {"Q", "W", "E"}));
    EXPECT_EQ(built(named).extras.keystone, QStringLiteral("Electrocute"));
}

struct SkillCase {
    std::vector<QString> order;
    std::vector<QString> priority;
};

class SkillPriorities : public ::testing::TestWithParam<SkillCase> { };

TEST_P(SkillPriorities, MaxOrder)
{
    EXPECT_EQ(MetrionMatchupProvider::skillPriority(GetParam().order), GetParam().priority);
}

INSTANTIATE_TEST_SUITE_P(Matchup, SkillPriorities,
    ::testing::Values(
        SkillCase {{"Q", "E", "W", "Q", "Q", "R", "Q", "E", "Q", "E", "R", "E", "E", "W", "W", "R", "W", "W"},
            {"Q", "E", "W"}},
        SkillCase {{"Q", "W", "E", "Q", "Q", "R", "Q", "E", "Q", "E"}, {"Q", "E", "W"}},
        SkillCase {{}, {"Q", "W", "E"}}, SkillCase {{"e", "e", "w", "e", "e", "r", "e", "q"}, {"E", "W", "Q"}},
        SkillCase {{"W", "E", "R", "R", "R"}, {"W", "E", "Q"}}));

TEST(SummonerSpellDecode, ReadsOnlyTheTopPair)
{
    auto spells
        = [](const char* text) { return MetrionMatchupProvider::decodeSummonerSpells(QString::fromUtf8(text)); };
    EXPECT_EQ(
        spells(
            R"re({"data":{"summoner_spells":[{"ids":[4,14],"ids_names":["Flash"],"pick_rate":0.5},{"ids":[4,12],"pick_rate":0.5}]}})re"),
        (std::vector<SpellRec> {{4, "Flash"}, {14, ""}}));
    EXPECT_EQ(spells(R"re({"data":{"summoner_spells":[{"ids":[],"pick_rate":0.9},{"ids":[4]}]}})re"), std::nullopt);
    EXPECT_EQ(spells(R"re({"data":{}})re"), std::nullopt);
    EXPECT_EQ(spells(R"re({"data":{"summoner_spells":[]}})re"), std::nullopt);
    EXPECT_EQ(spells(R"re({"data":{"summoner_spells":[{"ids_names":["Flash"]}]}})re"), std::nullopt);
    EXPECT_EQ(spells("not json"), std::nullopt);
    // Other parts of the reply may be unreadable for the matchup; the spells still count.
    EXPECT_EQ(spells(R"re({"data":{"core_items":[{"ids_names":[]}],"summoner_spells":[{"ids":[4]}]}})re"),
        (std::vector<SpellRec> {{4, ""}}));
}

class MatchupProviderFake : public ::testing::Test {
protected:
    FakeMetrion metrion;
    MetrionMatchupProvider provider {metrion.client()};
};

TEST_F(MatchupProviderFake, RefusesWithoutChampionsOrLane)
{
    const auto notIdentified = MatchupAdvice::unavailable(QStringLiteral("champion not identified"));
    EXPECT_EQ(await(provider.fetchMatchup("'.", "Zed", MetaRole::mid)), notIdentified);
    EXPECT_EQ(await(provider.fetchMatchup("Ahri", "", MetaRole::unknown)), notIdentified);
    EXPECT_EQ(await(provider.fetchMatchup("Ahri", "Zed", MetaRole::unknown)),
        MatchupAdvice::unavailable(QStringLiteral("role unknown — Metrion needs a lane")));
    EXPECT_EQ(await(provider.fetchSummonerSpells("?!", "Zed", MetaRole::mid)), std::nullopt);
    EXPECT_EQ(await(provider.fetchSummonerSpells("Ahri", "Zed", MetaRole::unknown)), std::nullopt);
    EXPECT_EQ(metrion.callCount(), 0);
}

TEST_F(MatchupProviderFake, FailedCallsAreUnavailable)
{
    EXPECT_EQ(await(provider.fetchMatchup("Ahri", "Zed", MetaRole::mid)),
        MatchupAdvice::unavailable(QStringLiteral("Metrion unavailable")));
    EXPECT_EQ(await(provider.fetchSummonerSpells("Ahri", "Zed", MetaRole::mid)), std::nullopt);
    EXPECT_EQ(metrion.callCount(), 2);
    const QJsonObject call = metrion.lastCall();
    EXPECT_EQ(call.value(u"name").toString(), u"lol_get_lane_matchup_guide");
    EXPECT_EQ(call.value(u"arguments").toObject(),
        (QJsonObject {{"position", "mid"}, {"my_champion", "AHRI"}, {"opponent_champion", "ZED"}}));
}

class MatchupProviderSdk : public SdkPeerTest { };

TEST_P(MatchupProviderSdk, ReadsARealGuide)
{
    MetrionMatchupProvider provider(client());
    const MatchupAdvice advice
        = await(provider.fetchMatchup(QStringLiteral("Ahri"), QStringLiteral("Zed"), MetaRole::mid));
    EXPECT_EQ(advice.provenance, QStringLiteral("Metrion matchup · all ranks"));
    const MatchupBuild& result = built(advice);
    EXPECT_EQ(result.build.coreItems,
        (std::vector<MetaItem> {
            {6655, "Luden's Companion"}, {3157, "Zhonya's Hourglass"}, {3089, "Rabadon's Deathcap"}}));
    EXPECT_EQ(result.build.boots, (MetaItem {3020, "Sorcerer's Shoes"}));
    EXPECT_EQ(result.build.starterItems.size(), 3u);
    ASSERT_EQ(result.build.situationalSlots.size(), 3u);
    EXPECT_EQ(
        result.build.situationalSlots[0], (std::vector<MetaItem> {{3135, "Void Staff"}, {3089, "Rabadon's Deathcap"}}));
    EXPECT_EQ(result.build.primaryRune, QStringLiteral("Domination"));
    EXPECT_EQ(result.extras.verdict, MatchupVerdict::unfavored);
    EXPECT_EQ(result.extras.keystone, QStringLiteral("Electrocute"));
    EXPECT_EQ(result.extras.skillOrder, (std::vector<QString> {"Q", "E", "W"}));
    EXPECT_EQ(result.extras.summonerSpells, (std::vector<QString> {"Flash", "Ignite"}));
    // Raw line and paragraph separators in a text must not cut the event-stream reply apart.
    EXPECT_EQ(result.extras.playStyle,
        QStringLiteral("  Hold charm for his W swap;\u2028trade when his energy is low.\u2029Back off\u0085at six.  "));
    EXPECT_EQ(result.extras.opponentTip, std::nullopt);
    EXPECT_EQ(result.extras.opponent, QStringLiteral("Zed"));

    const auto calls = peer().calls(1);
    ASSERT_EQ(calls.size(), 1);
    EXPECT_EQ(calls[0].value(u"name").toString(), u"lol_get_lane_matchup_guide");
    EXPECT_EQ(calls[0].value(u"arguments").toObject(),
        (QJsonObject {{"position", "mid"}, {"my_champion", "AHRI"}, {"opponent_champion", "ZED"}}));
}

TEST_P(MatchupProviderSdk, SpellsAndSparseGuides)
{
    MetrionMatchupProvider provider(client());
    EXPECT_EQ(await(provider.fetchSummonerSpells(QStringLiteral("Ahri"), QStringLiteral("Zed"), MetaRole::mid)),
        (std::vector<SpellRec> {{4, "Flash"}, {14, "Ignite"}}));
    EXPECT_EQ(await(provider.fetchSummonerSpells(QStringLiteral("Lee Sin"), QStringLiteral("Vi"), MetaRole::jungle)),
        (std::vector<SpellRec> {{4, "Flash"}, {11, ""}}));
    // A boots entry without ids spoils the matchup, not the spells.
    EXPECT_EQ(await(provider.fetchSummonerSpells(QStringLiteral("Teemo"), QStringLiteral("Garen"), MetaRole::top)),
        (std::vector<SpellRec> {{12, "Teleport"}, {4, "Flash"}}));
    EXPECT_EQ(await(provider.fetchMatchup(QStringLiteral("Teemo"), QStringLiteral("Garen"), MetaRole::top)),
        MatchupAdvice::unavailable(QStringLiteral("Metrion data not recognized")));

    const MatchupAdvice sparse
        = await(provider.fetchMatchup(QStringLiteral("Lee Sin"), QStringLiteral("Vi"), MetaRole::jungle));
    const MatchupBuild& result = built(sparse);
    EXPECT_EQ(result.extras.verdict, MatchupVerdict::favored);
    EXPECT_EQ(result.build.primaryRune, QStringLiteral(" "));
    EXPECT_TRUE(result.build.starterItems.empty());
    EXPECT_EQ(result.build.boots, std::nullopt);
    EXPECT_TRUE(result.build.situationalSlots.empty());
    EXPECT_EQ(result.extras.skillOrder, std::nullopt);
    EXPECT_EQ(result.extras.summonerSpells, (std::vector<QString> {"Flash"}));

    // No guide for this pairing: the peer's tool error is no JSON.
    EXPECT_EQ(await(provider.fetchMatchup(QStringLiteral("Ahri"), QStringLiteral("Vi"), MetaRole::mid)),
        MatchupAdvice::unavailable(QStringLiteral("Metrion data not recognized")));
    EXPECT_EQ(peer().calls(6).size(), 6);
}

TOLVANE_BOTH_REPLY_STYLES(MatchupProviderSdk);

} // namespace
