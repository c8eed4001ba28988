#include "core/knowledge/CounterRules.h"
#include "core/knowledge/FarmBenchmark.h"
#include "core/knowledge/ItemCatalog.h"
#include "core/knowledge/SummonerCooldowns.h"
#include "core/knowledge/SynergyCatalog.h"

#include "Await.h"
#include "LogCapture.h"

#include <gtest/gtest.h>

#include <QJsonArray>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <cmath>
#include <limits>

using namespace tolvane;
using namespace tolvane::test;

namespace {

const QString cooldownsFailure = QStringLiteral("summoner-cooldowns.json missing or unparseable; using empty table");
const QString rulesFailure = QStringLiteral("counter-rules.json missing or unparseable; using empty rules");
const QString farmFailure
    = QStringLiteral("farm-benchmark.json missing or undecodable — farm panel shows CS only (no benchmark)");
const QString synergyFailure
    = QStringLiteral("adc-support-synergy.json missing or undecodable — synergy panel stays hidden (fail-closed)");

// A bundle folder of our own, holding whatever files a case needs.
class ScratchBundle {
public:
    ResourceBundle bundle() const { return ResourceBundle(dir_.path()); }
    void write(const QString& name, const QByteArray& body) const
    {
        QFile file(dir_.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(body);
    }

private:
    QTemporaryDir dir_;
};

ItemCatalog realItemCatalog1541()
{
    return *ItemCatalog::decode(realData(QStringLiteral("ddragon/15.4.1/data/en_US/item.json"))).value;
}

} // namespace

// The shipped tables: they load cleanly and agree with the real game data.
TEST(ShippedTables, LoadWithoutAnErrorLine)
{
    LogCapture logs;
    const SummonerCooldowns cooldowns = SummonerCooldownsLoader().load();
    const CounterRules rules = CounterRulesLoader().load();
    const FarmBenchmark farm = FarmBenchmarkLoader().load();
    const SynergyCatalog synergy = SynergyCatalogLoader().load();
    for (const LogLine& line : logs.lines())
        EXPECT_NE(line.type, QtCriticalMsg) << line.message.toStdString();
    EXPECT_FALSE(cooldowns.spells.empty());
    EXPECT_FALSE(rules.items.empty());
    EXPECT_FALSE(farm.isEmpty());
    EXPECT_FALSE(synergy.isEmpty());
    for (const QString* patch : {&cooldowns.targetPatch, &rules.targetPatch, &farm.targetPatch})
        EXPECT_FALSE(patch->isEmpty());
}

TEST(ShippedTables, CounterRuleItemsAllExistInTheRealItemCatalog)
{
    const CounterRules rules = CounterRulesLoader().load();
    const ItemCatalog catalog = realItemCatalog1541();
    const std::vector<int64_t> ids = rules.allItemIDs();
    ASSERT_FALSE(ids.empty());
    EXPECT_EQ(catalog.unknownItemIDs(ids), std::vector<int64_t> {});
    // The check itself must be able to fail.
    const std::vector<int64_t> withBogus {3047, 1234567};
    EXPECT_EQ(catalog.unknownItemIDs(withBogus), std::vector<int64_t> {1234567});
}

TEST(ShippedTables, CounterRulesCoverEveryChampionOfTheRealCatalog)
{
    const CounterRules rules = CounterRulesLoader().load();
    const QJsonObject data
        = QJsonDocument::fromJson(realData(QStringLiteral("ddragon/15.4.1/data/en_US/champion.json")))
              .object()
              .value(QStringLiteral("data"))
              .toObject();
    for (const auto& entry : data) {
        const QString name = entry.toObject().value(QStringLiteral("name")).toString();
        const auto found = rules.champOverrides.find(name);
        ASSERT_NE(found, rules.champOverrides.end()) << name.toStdString();
        EXPECT_TRUE(found->second.damageType && found->second.cc) << name.toStdString();
    }
}

TEST(ShippedTables, SummonerCooldownsMatchTheRealSpellFiles)
{
    const SummonerCooldowns table = SummonerCooldownsLoader().load();
    // The newest real spell file we hold; its "cooldown" is the base cooldown per spell.
    const QJsonObject data
        = QJsonDocument::fromJson(realData(QStringLiteral("ddragon/15.12.1/data/pt_BR/summoner.json")))
              .object()
              .value(QStringLiteral("data"))
              .toObject();
    for (const auto& [key, seconds] : table.spells) {
        ASSERT_TRUE(data.contains(key)) << key.toStdString();
        EXPECT_EQ(seconds, data.value(key).toObject().value(QStringLiteral("cooldown")).toArray().first().toDouble())
            << key.toStdString();
    }
    // Every spell of Summoner's Rift and ARAM is trackable.
    for (const auto& entry : data) {
        const QJsonArray modes = entry.toObject().value(QStringLiteral("modes")).toArray();
        if (modes.contains(QStringLiteral("CLASSIC")) || modes.contains(QStringLiteral("ARAM"))) {
            EXPECT_TRUE(table.spells.contains(entry.toObject().value(QStringLiteral("id")).toString()));
        }
    }
}

TEST(ShippedTables, SynergyPairsUseRealChampionIds)
{
    const SynergyCatalog synergy = SynergyCatalogLoader().load();
    const QJsonObject data
        = QJsonDocument::fromJson(realData(QStringLiteral("ddragon/15.4.1/data/en_US/champion.json")))
              .object()
              .value(QStringLiteral("data"))
              .toObject();
    for (const auto& [key, duo] : synergy.byPair) {
        EXPECT_TRUE(data.contains(duo.adc)) << duo.adc.toStdString();
        EXPECT_TRUE(data.contains(duo.support)) << duo.support.toStdString();
        EXPECT_FALSE(duo.channels.isEmpty());
    }
    EXPECT_TRUE(synergy.duo(QStringLiteral("Lucian"), QStringLiteral("Nami")));
    EXPECT_FALSE(synergy.duo(QStringLiteral("Nami"), QStringLiteral("Lucian")));
}

// Every table loader: a missing or bad file gives the empty table and its one error line.
struct TableFailure {
    const char* name;
    QByteArray body; // absent file when null
};

class ResourceTableFailure : public ::testing::TestWithParam<TableFailure> { };

TEST_P(ResourceTableFailure, GivesTheEmptyTableAndItsLine)
{
    ScratchBundle scratch;
    if (!GetParam().body.isNull()) {
        for (const char* name :
            {"summoner-cooldowns.json", "counter-rules.json", "farm-benchmark.json", "adc-support-synergy.json"})
            scratch.write(QString::fromLatin1(name), GetParam().body);
    }
    LogCapture logs;
    EXPECT_EQ(SummonerCooldownsLoader().load(scratch.bundle()), SummonerCooldowns::empty());
    EXPECT_EQ(CounterRulesLoader().load(scratch.bundle()), CounterRules::empty());
    EXPECT_EQ(FarmBenchmarkLoader().load(scratch.bundle()), FarmBenchmark::empty());
    EXPECT_EQ(SynergyCatalogLoader().load(scratch.bundle()), SynergyCatalog::empty());
    EXPECT_EQ(logs.count(cooldownsFailure), 1);
    EXPECT_EQ(logs.count(rulesFailure), 1);
    EXPECT_EQ(logs.count(farmFailure), 1);
    EXPECT_EQ(logs.count(synergyFailure), 1);
    EXPECT_EQ(logs.lines(QStringLiteral("summonercooldowns")).size(), 1);
    EXPECT_EQ(logs.lines(QStringLiteral("farm")).first().type, QtCriticalMsg);
}

INSTANTIATE_TEST_SUITE_P(Cases, ResourceTableFailure,
    ::testing::Values(TableFailure {"missing", QByteArray()}, TableFailure {"notJson", "targetPatch: 15.4"},
        TableFailure {"emptyObject", "{}"}, TableFailure {"list", "[1, 2]"}),
    [](const auto& info) { return std::string(info.param.name); });

// Decoding: one bad field rejects the whole table.
TEST(ResourceTableDecoding, RejectsTheWholeFileOnOneBadField)
{
    EXPECT_FALSE(SummonerCooldowns::decode(R"({"targetPatch": "1", "ionianSSH": "10", "spells": {}})"));
    EXPECT_FALSE(SummonerCooldowns::decode(R"({"targetPatch": "1", "ionianSSH": 10})"));
    EXPECT_FALSE(SummonerCooldowns::decode(
        R"({"targetPatch": "1", "ionianSSH": 10, "spells": {}, "teleport": {"unleashedAt": 1, "maxCD": 2}})"));
    EXPECT_FALSE(SummonerCooldowns::decode(R"({"targetPatch": "1", "ionianSSH": 10, "spells": {"A": "300"}})"));
    const auto lenient
        = SummonerCooldowns::decode(R"({"targetPatch": "1", "ionianSSH": 10, "aramAuraSSH": null, "teleport": null,
                                      "spells": {"A": 300}, "other": true})");
    ASSERT_TRUE(lenient);
    EXPECT_FALSE(lenient.value->aramAuraSSH);
    EXPECT_FALSE(lenient.value->teleport);

    const char* rule = R"({"id": 1, "name": "A", "counters": [], "classFit": [], "priority": 1, "generic": false})";
    auto rules = [&](const QString& overrides, const QString& items) {
        return CounterRules::decode(QStringLiteral(R"({"targetPatch": "15.4", "champOverrides": %1, "items": %2})")
                                        .arg(overrides, items)
                                        .toUtf8());
    };
    ASSERT_TRUE(rules("{}", QStringLiteral("[%1, %1]").arg(QLatin1String(rule))));
    EXPECT_EQ(rules("{}", QStringLiteral("[%1, %1]").arg(QLatin1String(rule))).value->allItemIDs(),
        (std::vector<int64_t> {1, 1}));
    EXPECT_FALSE(rules(R"({"X": {"damageType": "magic"}})", "[]"));
    EXPECT_FALSE(rules("{}", R"([{"id": 1, "name": "A", "counters": [], "priority": 1, "generic": false}])"));
    const auto decoded = rules(R"({"X": {"damageType": "mixed", "cc": null}, "Y": {}})", "[]");
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded.value->champOverrides.at(QStringLiteral("X")),
        (CounterRules::ChampOverride {DamageType::mixed, std::nullopt}));

    EXPECT_FALSE(FarmBenchmark::decode(
        R"({"targetPatch": "1", "firstWaveSpawn": 65, "waveInterval": 30, "regularPerWave": 6.5, "cannonPhases": []})"));
    EXPECT_FALSE(FarmBenchmark::decode(
        R"({"targetPatch": "1", "firstWaveSpawn": 65, "waveInterval": 30, "regularPerWave": 6, "cannonPhases": [{"until": 9}]})"));

    EXPECT_FALSE(SynergyCatalog::decode(R"({"duos": [{"adc": "A", "support": "B", "channels": []}]})"));
    const auto noDuos = SynergyCatalog::decode(R"({"duos": []})");
    ASSERT_TRUE(noDuos);
    EXPECT_TRUE(noDuos.value->isEmpty());
}

TEST(SynergyCatalogQueries, LastDuoWinsAndLookupsAreExact)
{
    const SynergyCatalog catalog({{"A", "B", 1, {"x"}}, {"A", "B", 2, {"lane__sustain", "peel"}}});
    ASSERT_TRUE(catalog.duo("A", "B"));
    EXPECT_EQ(catalog.duo("A", "B")->score, 2);
    EXPECT_EQ(catalog.duo("A", "B")->readableChannels(), (QStringList {"lane  sustain", "peel"}));
    EXPECT_FALSE(catalog.duo("B", "A"));
    EXPECT_FALSE(catalog.duo("a", "B"));
    EXPECT_TRUE(SynergyDuo {}.readableChannels().isEmpty());
}

// Effective cooldown: base, haste and Teleport scaling.
class EffectiveCooldown : public ::testing::Test {
protected:
    SummonerCooldowns table {QStringLiteral("t"), 25, {{"SummonerFlash", 300}, {"SummonerTeleport", 300}}, 70,
        SummonerCooldowns::TeleportScaling {600, 360, 240}};
    static std::vector<LiveItem> items(std::initializer_list<int64_t> ids)
    {
        std::vector<LiveItem> out;
        for (int64_t id : ids)
            out.push_back({id, 0, 1});
        return out;
    }
};

TEST_F(EffectiveCooldown, AppliesItemHasteOnceAndTheAuraOnlyOnAram)
{
    EXPECT_DOUBLE_EQ(*table.effectiveCD("SummonerFlash", {}, 0, 1, false), 300);
    EXPECT_DOUBLE_EQ(*table.effectiveCD("SummonerFlash", items({3158, 3158}), 0, 1, false), 240);
    EXPECT_NEAR(*table.effectiveCD("SummonerFlash", items({3158}), 0, 1, true), 153.846, 1e-3);
    EXPECT_DOUBLE_EQ(*table.effectiveCD("SummonerFlash", {}, 0, 1, true), 300 * 100.0 / 170);
    table.aramAuraSSH.reset();
    EXPECT_DOUBLE_EQ(*table.effectiveCD("SummonerFlash", {}, 0, 1, true), 300);
    EXPECT_FALSE(table.effectiveCD("SummonerDot", {}, 0, 1, false));
    EXPECT_FALSE(SummonerCooldowns::empty().effectiveCD("SummonerFlash", {}, 0, 1, false));
}

TEST_F(EffectiveCooldown, TeleportFollowsTheLevelOnlyOnceUnleashed)
{
    EXPECT_DOUBLE_EQ(*table.effectiveCD("SummonerTeleport", {}, 599, 18, false), 300);
    EXPECT_DOUBLE_EQ(*table.effectiveCD("SummonerTeleport", {}, 600, 18, false), 240);
    EXPECT_DOUBLE_EQ(*table.effectiveCD("SummonerTeleport", {}, 900, 1, false), 360);
    EXPECT_NEAR(*table.effectiveCD("SummonerTeleport", {}, 900, 10, false), 296.47, 1e-2);
    EXPECT_DOUBLE_EQ(*table.effectiveCD("SummonerTeleport", {}, 900, std::nullopt, false), 240);
    EXPECT_DOUBLE_EQ(table.teleport->cd(-4), 360);
    EXPECT_DOUBLE_EQ(table.teleport->cd(25), 240);
    EXPECT_DOUBLE_EQ(table.teleport->cd(std::numeric_limits<int64_t>::min()), 360);
    table.spells.erase("SummonerTeleport");
    EXPECT_FALSE(table.effectiveCD("SummonerTeleport", {}, 900, 10, false));
}

TEST_F(EffectiveCooldown, HasteThatWouldBreakTheDivisionCountsAsNone)
{
    table.ionianSSH = -100;
    EXPECT_DOUBLE_EQ(*table.effectiveCD("SummonerFlash", items({3158}), 0, 1, false), 300);
    table.ionianSSH = -250;
    EXPECT_DOUBLE_EQ(*table.effectiveCD("SummonerFlash", items({3158}), 0, 1, false), 300);
    table.ionianSSH = std::numeric_limits<double>::quiet_NaN();
    EXPECT_DOUBLE_EQ(*table.effectiveCD("SummonerFlash", items({3158}), 0, 1, false), 300);
    table.ionianSSH = std::numeric_limits<double>::infinity();
    EXPECT_DOUBLE_EQ(*table.effectiveCD("SummonerFlash", items({3158}), 0, 1, false), 300);
    table.ionianSSH = -50;
    EXPECT_DOUBLE_EQ(*table.effectiveCD("SummonerFlash", items({3158}), 0, 1, false), 600);
}

// The rule itself is tested with the snapshot decoding; the table looks spells up through it.
TEST(SpellKeys, TableUsesTheRawNameRule)
{
    EXPECT_EQ(SummonerCooldowns::spellKey(QStringLiteral("Tip_SummonerSpell_SummonerAlpha_Name")),
        QStringLiteral("SummonerAlpha"));
    EXPECT_EQ(LiveSummonerSpell {}.spellKey(), std::nullopt);
}

// Farm benchmark: the classic three-phase schedule.
class FarmSchedule : public ::testing::Test {
protected:
    FarmBenchmark table {QStringLiteral("t"), 65, 30, 6, {{900, 3}, {1500, 2}, {std::nullopt, 1}}};
};

TEST_F(FarmSchedule, CountsWavesAndCannonsByPhase)
{
    const std::vector<std::pair<double, int64_t>> cases {
        {64, 0}, {65, 6}, {125, 19}, {895, 177}, {905, 183}, {935, 190}};
    for (const auto& [t, minions] : cases)
        EXPECT_EQ(table.laneCSAvailable(t), minions) << t;
    EXPECT_EQ(table.wavesSpawned(125), 3);
    // From 1500 every wave brings a cannon.
    EXPECT_EQ(table.laneCSAvailable(1535) - table.laneCSAvailable(1505), 7);
    // An open-ended phase counts the same as one that ends far in the future.
    FarmBenchmark open = table;
    open.cannonPhases = {{900, 3}, {std::nullopt, 2}};
    FarmBenchmark distant = table;
    distant.cannonPhases = {{900, 3}, {1e12, 2}};
    for (double t : {65.0, 905.0, 935.0, 965.0, 1500.0, 3601.0})
        EXPECT_EQ(open.laneCSAvailable(t), distant.laneCSAvailable(t)) << t;
    EXPECT_EQ(open.laneCSAvailable(935), 190);
}

TEST_F(FarmSchedule, PhasesThatEndOrStopCannonsAddRegularMinionsOnly)
{
    table.cannonPhases = {{300, 1}};
    EXPECT_EQ(table.laneCSAvailable(1265) - table.laneCSAvailable(1235), 6);
    table.cannonPhases = {{300, 1}, {std::nullopt, 0}};
    EXPECT_EQ(table.laneCSAvailable(1265) - table.laneCSAvailable(1235), 6);
    EXPECT_TRUE(FarmBenchmark::empty().isEmpty());
    EXPECT_EQ(FarmBenchmark::empty().laneCSAvailable(1000), 0);
}

TEST_F(FarmSchedule, AbsurdTimesStayDefined)
{
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_EQ(table.wavesSpawned(std::nan("")), 0);
    EXPECT_EQ(table.laneCSAvailable(std::nan("")), 0);
    EXPECT_EQ(table.laneCSAvailable(-inf), 0);
    EXPECT_GT(table.laneCSAvailable(inf), 0);
    EXPECT_GT(table.laneCSAvailable(1e300), table.laneCSAvailable(1e4));
    table.waveInterval = std::nan("");
    EXPECT_TRUE(table.isEmpty());
    EXPECT_EQ(table.laneCSAvailable(1000), 0);
    table.waveInterval = 30;
    table.regularPerWave = std::numeric_limits<int64_t>::max();
    EXPECT_EQ(table.laneCSAvailable(1e9), std::numeric_limits<int64_t>::max());
}

TEST(FarmPace, CountsPerMinuteFromTheFirstMinute)
{
    EXPECT_EQ(FarmBenchmark::csPerMin(30, 59.9), std::nullopt);
    EXPECT_DOUBLE_EQ(*FarmBenchmark::csPerMin(30, 180), 10);
    EXPECT_EQ(FarmBenchmark::csPerMin(30, std::nan("")), std::nullopt);
}
