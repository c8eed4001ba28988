#include "core/knowledge/ChampionCatalog.h"
#include "core/knowledge/DDragon.h"
#include "core/knowledge/RuneCatalog.h"
#include "core/knowledge/SummonerSpellCatalog.h"

#include "Await.h"
#include "FakeDDragon.h"
#include "LogCapture.h"

#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

using namespace tolvane;
using namespace tolvane::test;

namespace {

QJsonObject realDataObject(const QString& path)
{
    return QJsonDocument::fromJson(realData(path)).object().value(QStringLiteral("data")).toObject();
}

} // namespace

TEST(DDragonVersion, TakesTheFirstListedVersionWhateverTheStatus)
{
    FakeDDragon ddragon(QStringLiteral("15.4.1"));
    ddragon.override("/api/versions.json", TestResponse::json(R"(["16.1.1", "15.24.1"])", 503));
    auto session = std::make_shared<HttpSession>(HttpPeer::dataDragon, HttpTimeouts::remoteService());
    const auto version = await(fetchLatestDDragonVersion(session, ddragon.base()));
    ASSERT_TRUE(version) << version.error.toStdString();
    EXPECT_EQ(*version.value, QStringLiteral("16.1.1"));

    ddragon.override("/api/versions.json", TestResponse::json("[]"));
    const auto empty = await(fetchLatestDDragonVersion(session, ddragon.base()));
    EXPECT_FALSE(empty);
    EXPECT_EQ(empty.error, QString::fromLatin1(ddragonBadServerResponse));
}

TEST(DDragonImage, BuildsAddressesOnlyWhereAnIconCanExist)
{
    const QString host = QString::fromLatin1(ddragonHost);
    EXPECT_EQ(
        DDragonImage::item(1001, QStringLiteral("14.1.1"), host)->toString(), host + "/cdn/14.1.1/img/item/1001.png");
    EXPECT_FALSE(DDragonImage::item(0, QStringLiteral("14.1.1"), host));
    EXPECT_FALSE(DDragonImage::item(1001, QString(), host));
    EXPECT_EQ(DDragonImage::champion(QStringLiteral("MonkeyKing"), QStringLiteral("14.1.1"), host)->toString(),
        host + "/cdn/14.1.1/img/champion/MonkeyKing.png");
    EXPECT_FALSE(DDragonImage::champion(QString(), QStringLiteral("14.1.1"), host));
    EXPECT_EQ(DDragonImage::ability(QStringLiteral("AhriR"), QStringLiteral("14.1.1"), host),
        DDragonImage::summonerSpell(QStringLiteral("AhriR"), QStringLiteral("14.1.1"), host));
    EXPECT_EQ(DDragonImage::rune(QStringLiteral("perk-images/Styles/X.png"), host)->toString(),
        host + "/cdn/img/perk-images/Styles/X.png");
    EXPECT_FALSE(DDragonImage::rune(QString(), host));
    // Text that does not parse as an address gives no icon rather than a broken one.
    EXPECT_FALSE(DDragonImage::champion(QStringLiteral("A B%zz"), QStringLiteral("14.1.1"), host));
}

// Every catalog against the real files of one version, served on loopback.
TEST(ChampionCatalogLoading, HoldsEveryChampionOfTheRealFiles)
{
    for (const QString& version : {QStringLiteral("15.4.1"), QStringLiteral("12.13.1")}) {
        FakeDDragon ddragon(version);
        LogCapture logs;
        const ChampionCatalog catalog = await(ChampionCatalogLoader(ddragon.base()).load());
        const QJsonObject data = realDataObject("ddragon/" + version + "/data/en_US/champion.json");
        ASSERT_EQ(catalog.byName.size(), size_t(data.size())) << version.toStdString();
        for (auto it = data.begin(); it != data.end(); ++it) {
            const QJsonObject entry = it.value().toObject();
            const auto found = catalog.byName.find(entry.value(QStringLiteral("name")).toString());
            ASSERT_NE(found, catalog.byName.end()) << it.key().toStdString();
            EXPECT_EQ(found->second.id, it.key());
            EXPECT_EQ(found->second.numericId, entry.value(QStringLiteral("key")).toString().toLongLong());
        }
        EXPECT_EQ(catalog.patch, version);
        EXPECT_EQ(
            logs.count(QStringLiteral("Loaded champion catalog: %1 champs at patch %2").arg(data.size()).arg(version)),
            1);
    }
}

TEST(ChampionCatalogDecoding, ReadsKeysLeniently_ButTheShapeStrictly)
{
    const auto decoded = ChampionCatalog::decode(R"({"data": {
        "A": {"key": "+266", "name": "Alpha", "tags": ["Fighter"], "info": {"attack": 8, "magic": 2}},
        "B": {"key": "abc", "name": "Beta", "tags": [], "info": {"attack": 1, "magic": 9}}}})",
        QStringLiteral("1.1.1"));
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded.value->byName.at(QStringLiteral("Alpha")).numericId, 266);
    EXPECT_EQ(decoded.value->byName.at(QStringLiteral("Beta")).numericId, std::nullopt);
    EXPECT_FALSE(decoded.value->byName.contains(QStringLiteral("alpha")));
    EXPECT_FALSE(ChampionCatalog::decode(R"({"data": {"A": {"key": "1", "name": "A", "tags": []}}})", {}));
    EXPECT_FALSE(ChampionCatalog::decode(
        R"({"data": {"A": {"key": "1", "name": "A", "tags": [], "info": {"attack": 1.5, "magic": 1}}}})", {}));
}

TEST(RuneCatalogLoading, HoldsEveryRuneOfTheRealFile)
{
    FakeDDragon ddragon(QStringLiteral("12.13.1"));
    LogCapture logs;
    const RuneCatalog catalog = await(RuneCatalogLoader(ddragon.base()).load());
    size_t runes = 0;
    const QJsonArray trees = QJsonDocument::fromJson(realData("ddragon/12.13.1/data/en_US/runesReforged.json")).array();
    for (const auto& tree : trees)
        for (const auto& slot : tree.toObject().value(QStringLiteral("slots")).toArray())
            runes += size_t(slot.toObject().value(QStringLiteral("runes")).toArray().size());
    EXPECT_EQ(catalog.byId.size(), runes);
    EXPECT_EQ(logs.count(QStringLiteral("Loaded rune catalog: %1 runes at patch 12.13.1").arg(runes)), 1);
    for (const auto& [id, rune] : catalog.byId) {
        EXPECT_FALSE(rune.longDesc.contains(QLatin1Char('<'))) << id;
        EXPECT_EQ(rune.shortDesc, rune.shortDesc.trimmed());
    }
}

TEST(RuneDescriptions, AreCleanedToPlainText)
{
    EXPECT_EQ(RuneCatalog::cleanDescription(QStringLiteral("<b>Bold</b><br>second")), QStringLiteral("Bold second"));
    EXPECT_EQ(RuneCatalog::cleanDescription(QStringLiteral("a<br/>b")), QStringLiteral("ab"));
    EXPECT_EQ(RuneCatalog::cleanDescription(QStringLiteral("a <BR> b")), QStringLiteral("a b"));
    EXPECT_EQ(RuneCatalog::cleanDescription(QStringLiteral("&lt;i&gt;x&lt;/i&gt; &amp;&nbsp;&quot;&#39;")),
        QStringLiteral("<i>x</i> & \"'"));
    EXPECT_EQ(RuneCatalog::cleanDescription(QStringLiteral("  \n a \t\t b \n ")), QStringLiteral("a b"));
}

TEST(RuneCatalogQueries, ListRunesInTheOrderAsked)
{
    RuneCatalog catalog;
    catalog.byId[3] = RuneInfo {3, QStringLiteral("Three"), {}, {}, {}};
    const std::vector<int64_t> ids {3, 99, 3};
    const auto runes = catalog.runes(ids);
    ASSERT_EQ(runes.size(), 2u);
    EXPECT_EQ(runes[1].name, QStringLiteral("Three"));
    EXPECT_FALSE(RuneCatalog::decode(R"({"slots": []})"));
}

TEST(SummonerSpellCatalogLoading, HoldsEverySpellOfTheRealFiles)
{
    for (const QString& version : {QStringLiteral("12.13.1"), QStringLiteral("14.4.1")}) {
        FakeDDragon ddragon(version);
        LogCapture logs;
        const SummonerSpellCatalog catalog = await(SummonerSpellCatalogLoader(ddragon.base()).load());
        const QJsonObject data = realDataObject("ddragon/" + version + "/data/en_US/summoner.json");
        EXPECT_EQ(catalog.byId.size(), size_t(data.size()));
        EXPECT_EQ(catalog.byId.at(4), (SummonerSpellInfo {QStringLiteral("SummonerFlash"), QStringLiteral("Flash")}));
        EXPECT_EQ(logs.count(QStringLiteral("Loaded summoner-spell catalog: %1 spells").arg(data.size())), 1);
    }
}

TEST(SummonerSpellCatalogDecoding, SkipsEntriesWithoutANumericKey)
{
    const auto catalog = SummonerSpellCatalogLoader::decode(R"({"data": {
        "a": {"id": "SummonerAlpha", "name": "Alpha", "key": "4"},
        "b": {"id": "B", "name": "B", "key": ""}, "c": {"id": "C", "name": "C", "key": "x1"},
        "d": {"id": "D", "name": "D", "key": "5 "}, "e": {"id": "E", "name": "E", "key": "99999999999999999999"},
        "f": {"id": "F", "name": "F", "key": "+12"}, "g": {"id": "G", "name": "G", "key": "-3"}}})");
    EXPECT_EQ(catalog.byId.size(), 3u);
    EXPECT_EQ(catalog.byId.at(4), (SummonerSpellInfo {QStringLiteral("SummonerAlpha"), QStringLiteral("Alpha")}));
    EXPECT_TRUE(catalog.byId.contains(12));
    EXPECT_TRUE(catalog.byId.contains(-3));
    EXPECT_EQ(SummonerSpellCatalogLoader::decode(R"({"data": {"a": {"id": "A", "key": "1"}}})"),
        SummonerSpellCatalog::empty());
}

// Every Data Dragon loader: a failure gives the empty catalog and the loader's error line.
struct DDragonFailure {
    const char* name;
    QByteArray path; // relative to /cdn/<version>/data/en_US/, or the versions path
    TestResponse response;
};

class DDragonLoaderFailure : public ::testing::TestWithParam<DDragonFailure> {
protected:
    void SetUp() override
    {
        const DDragonFailure& failure = GetParam();
        if (failure.path.startsWith("/api"))
            ddragon.override(failure.path, failure.response);
        else
            for (const char* file : {"champion.json", "runesReforged.json", "summoner.json"})
                ddragon.override(QByteArray("/cdn/12.13.1/data/en_US/") + file, failure.response);
    }
    FakeDDragon ddragon {QStringLiteral("12.13.1")};
};

TEST_P(DDragonLoaderFailure, GivesTheEmptyCatalogAndAnErrorLine)
{
    LogCapture logs;
    EXPECT_EQ(await(ChampionCatalogLoader(ddragon.base()).load()), ChampionCatalog::empty());
    EXPECT_EQ(await(RuneCatalogLoader(ddragon.base()).load()), RuneCatalog::empty());
    // An undecodable summoner file is logged as the failure it is, not as a load of 0 spells.
    EXPECT_EQ(await(SummonerSpellCatalogLoader(ddragon.base()).load()), SummonerSpellCatalog::empty());
    for (const auto& [category, prefix] : {std::pair {"champcatalog", "Champion catalog load failed: "},
             std::pair {"runecatalog", "Rune catalog load failed: "},
             std::pair {"spellcatalog", "summoner-spell catalog load failed: "}}) {
        const auto lines = logs.lines(QString::fromLatin1(category));
        ASSERT_EQ(lines.size(), 1) << category;
        EXPECT_EQ(lines[0].type, QtCriticalMsg);
        EXPECT_TRUE(lines[0].message.startsWith(QString::fromLatin1(prefix))) << lines[0].message.toStdString();
    }
    EXPECT_EQ(logs.count(QStringLiteral("Loaded summoner-spell catalog: 0 spells")), 0);
    if (GetParam().response.behaviour == TestResponse::Behaviour::endlessBody) {
        EXPECT_TRUE(gaveUpNearLimit(ddragon.server(), logs, HttpPeer::dataDragon));
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, DDragonLoaderFailure,
    ::testing::Values(DDragonFailure {"emptyVersions", "/api/versions.json", TestResponse::json("[]")},
        DDragonFailure {"versionsAreObjects", "/api/versions.json", TestResponse::json("[{}]")},
        DDragonFailure {"errorPage", "data", TestResponse::json("<html>503</html>", 503)},
        DDragonFailure {"wrongTypes", "data", TestResponse::json(R"({"data": []})")},
        DDragonFailure {"truncated", "data", TestResponse::json("{\"data\": {\"a\": 1}}").cutShort()},
        DDragonFailure {"hangsUp", "data", TestResponse::hangUp()},
        DDragonFailure {"endless", "data", TestResponse::endless()}),
    [](const auto& info) { return std::string(info.param.name); });
