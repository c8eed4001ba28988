#include "core/advice/MetaBuildProvider.h"

#include "Await.h"
#include "FakeMetrion.h"
#include "LogCapture.h"
#include "SdkPeer.h"

#include <QJsonArray>

#include <gtest/gtest.h>

using namespace tolvane;
using namespace tolvane::test;

namespace {

struct KeyCase {
    const char* displayName;
    const char* key;
};

class ChampionKey : public ::testing::TestWithParam<KeyCase> { };

TEST_P(ChampionKey, FollowsTheServiceRule)
{
    EXPECT_EQ(metrionChampionKey(QString::fromUtf8(GetParam().displayName)), QString::fromUtf8(GetParam().key));
}

INSTANTIATE_TEST_SUITE_P(Names, ChampionKey,
    ::testing::Values(KeyCase {"Kai'Sa", "KAISA"}, KeyCase {"Dr. Mundo", "DR_MUNDO"},
        KeyCase {"Nunu & Willump", "NUNU__WILLUMP"}, KeyCase {"lee sin", "LEE_SIN"}, KeyCase {"Straße", "STRASSE"},
        KeyCase {"Maître", "MAÎTRE"}, KeyCase {"a_b-c", "A_BC"}, KeyCase {"Ahri\u00a0", "AHRI"},
        KeyCase {"Champion٣", "CHAMPION٣"}, KeyCase {"' . & -", "___"}, KeyCase {"'.&-", ""}, KeyCase {"", ""}));

class MetaBuildProviderFake : public ::testing::Test {
protected:
    MetaBuildAdvice fetch(const QString& name, MetaQuery query)
    {
        MetrionMetaBuildProvider provider(metrion.client());
        return await(provider.fetch(name, query));
    }

    FakeMetrion metrion;
    LogCapture logs;
};

TEST_F(MetaBuildProviderFake, RefusesWithoutChampionOrLaneAndSendsNothing)
{
    EXPECT_EQ(fetch(QStringLiteral("'.&-"), MetaQuery::aram()),
        MetaBuildAdvice::unavailable(QStringLiteral("champion not identified")));
    EXPECT_EQ(fetch(QStringLiteral("'.&-"), MetaQuery::summonersRift(MetaRole::unknown, false)),
        MetaBuildAdvice::unavailable(QStringLiteral("champion not identified")));
    EXPECT_EQ(fetch(QStringLiteral("Ahri"), MetaQuery::summonersRift(MetaRole::unknown, true)),
        MetaBuildAdvice::unavailable(QStringLiteral("role unknown — Metrion needs a lane")));
    EXPECT_EQ(metrion.callCount(), 0);
}

TEST_F(MetaBuildProviderFake, NoTextIsUnavailable)
{
    const MetaBuildAdvice advice = fetch(QStringLiteral("Ahri"), MetaQuery::aram());
    EXPECT_EQ(advice, MetaBuildAdvice::unavailable(QStringLiteral("Metrion unavailable")));
    EXPECT_EQ(advice.freshness, MetaFreshness::unverified());
    EXPECT_EQ(advice.provenance, QStringLiteral("Metrion popular — not recommended"));
    EXPECT_EQ(metrion.callCount(), 1);
    EXPECT_TRUE(logs.lines(QStringLiteral("metrion")).isEmpty());
}

TEST_F(MetaBuildProviderFake, DriftedTextIsLoggedByChampionKeyOnly)
{
    metrion.answerText(QStringLiteral("ChampionAnalysis(secret reply)"));
    EXPECT_EQ(fetch(QStringLiteral("Dr. Mundo"), MetaQuery::summonersRift(MetaRole::top, false)),
        MetaBuildAdvice::unavailable(QStringLiteral("Metrion data not recognized")));
    const auto lines = logs.lines(QStringLiteral("metrion"));
    ASSERT_EQ(lines.size(), 1);
    EXPECT_EQ(lines[0].type, QtCriticalMsg);
    EXPECT_EQ(lines[0].message, QStringLiteral("Metrion DSL parse failed for DR_MUNDO — format may have drifted"));
}

TEST_F(MetaBuildProviderFake, QueryDecidesArgumentsAndRole)
{
    metrion.answerText(QStringLiteral(R"re(LolGetChampionAnalysis(CoreItems([1],["a"])))re"));
    MetaBuildAdvice advice = fetch(QStringLiteral("Kai'Sa"), MetaQuery::aram());
    QJsonObject call = metrion.lastCall();
    EXPECT_EQ(call.value(u"name").toString(), u"lol_get_champion_analysis");
    QJsonObject arguments = call.value(u"arguments").toObject();
    EXPECT_EQ(arguments.value(u"champion").toString(), u"KAISA");
    EXPECT_EQ(arguments.value(u"game_mode").toString(), u"aram");
    EXPECT_EQ(arguments.value(u"position").toString(), u"mid");
    EXPECT_EQ(arguments.size(), 4);
    ASSERT_TRUE(std::holds_alternative<MetaBuild>(advice.result));
    MetaBuild build = std::get<MetaBuild>(advice.result);
    EXPECT_EQ(build.role, MetaRole::mid);
    EXPECT_FALSE(build.roleInferred);
    EXPECT_TRUE(build.aram);

    advice = fetch(QStringLiteral("Kai'Sa"), MetaQuery::summonersRift(MetaRole::adc, true));
    arguments = metrion.lastCall().value(u"arguments").toObject();
    EXPECT_EQ(arguments.value(u"game_mode").toString(), u"ranked");
    EXPECT_EQ(arguments.value(u"position").toString(), u"adc");
    build = std::get<MetaBuild>(advice.result);
    EXPECT_EQ(build.role, MetaRole::adc);
    EXPECT_TRUE(build.roleInferred);
    EXPECT_FALSE(build.aram);
    EXPECT_EQ(advice.provenance, MetaBuildAdvice::metrionProvenance());
}

class MetaBuildProviderSdk : public SdkPeerTest { };

TEST_P(MetaBuildProviderSdk, ReadsAFullAnalysis)
{
    MetrionMetaBuildProvider provider(client());
    const MetaBuildAdvice advice
        = await(provider.fetch(QStringLiteral("Ahri"), MetaQuery::summonersRift(MetaRole::mid, false)));
    ASSERT_TRUE(std::holds_alternative<MetaBuild>(advice.result));
    const MetaBuild& build = std::get<MetaBuild>(advice.result);
    EXPECT_EQ(build.coreItems.size(), 3u);
    EXPECT_EQ(build.boots, (MetaItem {3020, "Sorcerer's Shoes"}));
    EXPECT_EQ(build.starterItems.size(), 3u);
    EXPECT_EQ(build.situationalSlots.size(), 3u);
    EXPECT_EQ(build.primaryRune, QStringLiteral("Domination"));
    EXPECT_TRUE(build.runePage.has_value());
    EXPECT_EQ(build.weakCounters.size(), 5u);
    EXPECT_EQ(build.role, MetaRole::mid);

    const auto calls = peer().calls(1);
    ASSERT_EQ(calls.size(), 1);
    EXPECT_EQ(calls[0].value(u"name").toString(), u"lol_get_champion_analysis");
    const QJsonObject arguments = calls[0].value(u"arguments").toObject();
    EXPECT_EQ(arguments.value(u"champion").toString(), u"AHRI");
    EXPECT_EQ(arguments.value(u"game_mode").toString(), u"ranked");
    EXPECT_EQ(arguments.value(u"position").toString(), u"mid");
    QJsonArray expectedFields;
    for (const QString& field : MetrionMetaBuildProvider::desiredOutputFields())
        expectedFields.append(field);
    EXPECT_EQ(arguments.value(u"desired_output_fields").toArray(), expectedFields);
}

TEST_P(MetaBuildProviderSdk, CoreItemsAloneMakeABuild)
{
    MetrionMetaBuildProvider provider(client());
    const MetaBuildAdvice advice
        = await(provider.fetch(QStringLiteral("Lee Sin"), MetaQuery::summonersRift(MetaRole::jungle, true)));
    ASSERT_TRUE(std::holds_alternative<MetaBuild>(advice.result));
    MetaBuild expected;
    expected.coreItems = {{6692, "Eclipse"}, {3071, "Black Cleaver"}};
    expected.role = MetaRole::jungle;
    expected.roleInferred = true;
    EXPECT_EQ(std::get<MetaBuild>(advice.result), expected);
}

TEST_P(MetaBuildProviderSdk, ToolErrorsAndDriftAreNotRecognized)
{
    LogCapture logs;
    MetrionMetaBuildProvider provider(client());
    EXPECT_EQ(await(provider.fetch(QStringLiteral("Nunu & Willump"), MetaQuery::aram())),
        MetaBuildAdvice::unavailable(QStringLiteral("Metrion data not recognized")));
    // The peer has no data for this champion and answers with a tool error text.
    EXPECT_EQ(await(provider.fetch(QStringLiteral("Zed"), MetaQuery::aram())),
        MetaBuildAdvice::unavailable(QStringLiteral("Metrion data not recognized")));
    EXPECT_EQ(logs.count(QStringLiteral("Metrion DSL parse failed for NUNU__WILLUMP — format may have drifted")), 1);
    EXPECT_EQ(peer().calls(2).size(), 2);
}

TOLVANE_BOTH_REPLY_STYLES(MetaBuildProviderSdk);

} // namespace
