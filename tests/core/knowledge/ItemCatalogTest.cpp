#include "core/knowledge/ItemCatalog.h"

#include "Await.h"
#include "FakeDDragon.h"
#include "LogCapture.h"
#include "RefusingPort.h"

#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

using namespace tolvane;
using namespace tolvane::test;

namespace {

// X (3000) = A (1100) + B (1300 = C 400 + D 350); boots line: 1001 -> 3006 -> 3172 (transformed).
ItemCatalog sampleCatalog()
{
    return ItemCatalog({{10, 3000}, {11, 1100}, {12, 1300}, {13, 400}, {14, 350}, {1001, 300}, {3006, 1100},
                           {3172, 1100}, {20, 0}, {30, 2000}},
        {{10, {11, 12}}, {12, {13, 14}}, {3006, {1001, 1042}}, {30, {13, 99, 11, 13}}}, {{3172, 3006}});
}

} // namespace

TEST(ItemCatalogQueries, RemainingCostCountsOnlyWhatIsMissing)
{
    const ItemCatalog c = sampleCatalog();
    EXPECT_EQ(c.remainingCost(10, {13}), 2600);
    EXPECT_EQ(c.remainingCost(10, {}), 3000);
    EXPECT_EQ(c.remainingCost(10, {12}), 600 + 1100);
    EXPECT_EQ(c.remainingCost(10, {10}), 0);
    EXPECT_EQ(c.remainingCost(11, {}), 1100);
    EXPECT_EQ(c.remainingCost(20, {}), std::nullopt);
    EXPECT_EQ(c.remainingCost(77, {}), std::nullopt);
}

TEST(ItemCatalogQueries, BuildPathSortsDearestFirstAndKeepsFileOrderOfEquals)
{
    const ItemCatalog c = sampleCatalog();
    // 13 (400), 99 (unknown -> 0), 11 (1100), 13 (400)
    EXPECT_EQ(c.buildPath(30), (std::vector<int64_t> {11, 13, 13, 99}));
    EXPECT_TRUE(c.buildPath(11).empty());
}

TEST(ItemCatalogQueries, BootsLineIsEverythingBuiltOrTransformedFromBasicBoots)
{
    const ItemCatalog c = sampleCatalog();
    EXPECT_FALSE(c.isBootsLine(1001));
    EXPECT_TRUE(c.isBootsLine(3006));
    EXPECT_TRUE(c.isBootsLine(3172));
    EXPECT_FALSE(c.isBootsLine(10));
}

TEST(ItemCatalogQueries, AcquiredCoversOwnedTransformedAndBuiltInto)
{
    const ItemCatalog c = sampleCatalog();
    EXPECT_TRUE(c.isAcquired(13, {13}));
    EXPECT_TRUE(c.isAcquired(3172, {3006})); // owns what it transforms from
    EXPECT_TRUE(c.isAcquired(13, {10})); // built into an owned item, two levels down
    EXPECT_TRUE(c.isAcquired(1001, {3172})); // transformed from an item built from it
    EXPECT_FALSE(c.isAcquired(3006, {1001})); // a component does not make the whole
    EXPECT_FALSE(c.isAcquired(11, {}));
}

TEST(ItemCatalogQueries, RecipeWalksStopAtTheirDepthAndEndOnCycles)
{
    const ItemCatalog c({{1, 100}, {2, 100}}, {{1, {2}}, {2, {1}}}, {{1, 2}, {2, 1}});
    EXPECT_FALSE(c.isAcquired(5, {1}));
    EXPECT_FALSE(c.isBootsLine(1));
    EXPECT_TRUE(c.remainingCost(1, {}).has_value());

    // 1 is built from 2, 2 from 3, and so on to 10, each step adding 100 gold.
    std::unordered_map<int64_t, int64_t> costs;
    std::unordered_map<int64_t, std::vector<int64_t>> from;
    for (int64_t id = 1; id <= 10; ++id) {
        costs[id] = 100 * (11 - id);
        if (id < 10)
            from[id] = {id + 1};
    }
    const ItemCatalog chain(costs, from, {});
    // The recipe walk sees eight levels below an item, not nine.
    EXPECT_TRUE(chain.isAcquired(9, {1}));
    EXPECT_FALSE(chain.isAcquired(10, {1}));
    // The cost walk charges an item eight levels down in full, its owned component notwithstanding.
    EXPECT_EQ(chain.remainingCost(1, {10}), 1000);
    EXPECT_EQ(chain.remainingCost(2, {10}), 800);
}

TEST(ItemCatalogQueries, HugeCostsSaturateInsteadOfOverflowing)
{
    const int64_t big = std::numeric_limits<int64_t>::max();
    const ItemCatalog c({{1, big}, {2, big}, {3, big}}, {{1, {2, 3}}}, {});
    EXPECT_EQ(c.remainingCost(1, {}), big);
}

TEST(ItemCatalogQueries, UnknownIdsKeepOrderAndDuplicatesButNotWhenUnloaded)
{
    const std::vector<int64_t> ids {1, 2, 2};
    EXPECT_TRUE(ItemCatalog::empty().unknownItemIDs(ids).empty());
    const ItemCatalog onlyOne({{1, 100}}, {}, {});
    EXPECT_EQ(onlyOne.unknownItemIDs(ids), (std::vector<int64_t> {2, 2}));
    EXPECT_EQ(onlyOne.goldCost(1), 100);
    EXPECT_EQ(ItemCatalog({{1, 0}}, {}, {}).goldCost(1), std::nullopt);
}

TEST(ItemCatalogDecoding, KeysAndComponentsAreReadStrictly)
{
    const auto decoded = ItemCatalog::decode(R"({"data": {
        "1001": {"gold": {"total": 300}},
        "+12": {"gold": {"total": 5}, "from": ["", "abc"]},
        "x1": {"gold": {"total": 9}},
        "7": {"gold": {"total": 0}, "from": ["1001", " 3", "1001"], "specialRecipe": 0},
        "8": {"gold": {"total": 10}, "from": [], "specialRecipe": 7}}})");
    ASSERT_TRUE(decoded) << decoded.error.toStdString();
    const ItemCatalog& c = *decoded.value;
    EXPECT_EQ(c.totalCostByID.size(), 4u);
    EXPECT_EQ(c.componentsByID.at(12), std::vector<int64_t> {});
    EXPECT_EQ(c.componentsByID.at(7), (std::vector<int64_t> {1001, 1001}));
    EXPECT_FALSE(c.componentsByID.contains(8));
    EXPECT_FALSE(c.specialRecipeByID.contains(7));
    EXPECT_EQ(c.specialRecipeByID.at(8), 7);
}

TEST(ItemCatalogDecoding, AnEntryWithoutGoldFailsTheWholeFile)
{
    EXPECT_FALSE(ItemCatalog::decode(R"({"data": {"1": {"gold": {"total": 1}}, "2": {}}})"));
    EXPECT_FALSE(ItemCatalog::decode(R"({"data": {"1": {"gold": {"total": 1}, "from": [1001]}}})"));
}

TEST(DecimalText, AcceptsOnlyASignAndDigitsWithin64Bits)
{
    EXPECT_EQ(parseDecimalInt64("266"), 266);
    EXPECT_EQ(parseDecimalInt64("+12"), 12);
    EXPECT_EQ(parseDecimalInt64("-3"), -3);
    EXPECT_EQ(parseDecimalInt64("-9223372036854775808"), std::numeric_limits<int64_t>::min());
    for (const char* bad : {"", "+", "--3", " 3", "3a", "9223372036854775808", "1e3"})
        EXPECT_EQ(parseDecimalInt64(bad), std::nullopt) << bad;
}

// The loader against a loopback Data Dragon serving the real files.
TEST(ItemCatalogLoading, LoadsTheRealItemFiles)
{
    for (const QString& version : {QStringLiteral("15.4.1"), QStringLiteral("12.13.1")}) {
        FakeDDragon ddragon(version);
        LogCapture logs;
        const ItemCatalog catalog = await(ItemCatalogLoader(ddragon.base()).load());

        const QJsonObject data = QJsonDocument::fromJson(realData("ddragon/" + version + "/data/en_US/item.json"))
                                     .object()
                                     .value(QStringLiteral("data"))
                                     .toObject();
        EXPECT_EQ(catalog.totalCostByID.size(), size_t(data.size()));
        for (auto it = data.begin(); it != data.end(); ++it) {
            const QJsonObject entry = it.value().toObject();
            const int64_t id = it.key().toLongLong();
            EXPECT_EQ(catalog.totalCostByID.at(id), entry.value("gold").toObject().value("total").toInteger());
            EXPECT_EQ(catalog.components(id).size(), size_t(entry.value("from").toArray().size()));
        }
        EXPECT_EQ(catalog.goldCost(1001), 300);
        EXPECT_TRUE(catalog.isBootsLine(3006));
        EXPECT_FALSE(catalog.isBootsLine(1001));
        EXPECT_EQ(
            logs.count(QStringLiteral("Loaded item catalog: %1 items at patch %2").arg(data.size()).arg(version)), 1);
    }
}

struct LoadFailure {
    const char* name;
    QByteArray path;
    TestResponse response;
};

class ItemCatalogLoadFailure : public ::testing::TestWithParam<LoadFailure> { };

TEST_P(ItemCatalogLoadFailure, GivesTheEmptyCatalogAndOneErrorLine)
{
    FakeDDragon ddragon(QStringLiteral("15.4.1"));
    ddragon.override(GetParam().path, GetParam().response);
    LogCapture logs;
    const ItemCatalog catalog = await(ItemCatalogLoader(ddragon.base()).load());
    EXPECT_EQ(catalog, ItemCatalog::empty());
    const auto lines = logs.lines(QStringLiteral("itemcatalog"));
    ASSERT_EQ(lines.size(), 1);
    EXPECT_EQ(lines[0].type, QtCriticalMsg);
    EXPECT_TRUE(
        lines[0].message.startsWith(QStringLiteral("Item catalog load failed; falling back to Live Client prices: ")));
}

INSTANTIATE_TEST_SUITE_P(Cases, ItemCatalogLoadFailure,
    ::testing::Values(LoadFailure {"emptyVersions", "/api/versions.json", TestResponse::json("[]")},
        LoadFailure {"versionsNotAList", "/api/versions.json", TestResponse::json("{}")},
        LoadFailure {"versionNotAddressable", "/api/versions.json", TestResponse::json("[\"a b%zz\"]")},
        LoadFailure {
            "bodyIsAnErrorPage", "/cdn/15.4.1/data/en_US/item.json", TestResponse::json("<html>oops</html>", 500)},
        LoadFailure {"serverCloses", "/cdn/15.4.1/data/en_US/item.json", TestResponse::hangUp()}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ItemCatalogLoading, AServerThatIsDownGivesTheEmptyCatalog)
{
    LogCapture logs;
    // Port 1 on loopback: nothing listens there.
    const ItemCatalog catalog = await(ItemCatalogLoader(test::refusingBase()).load());
    EXPECT_EQ(catalog, ItemCatalog::empty());
    EXPECT_EQ(logs.lines(QStringLiteral("itemcatalog")).size(), 1);
}
