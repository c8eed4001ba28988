#include "core/knowledge/CDTimeFormat.h"
#include "core/knowledge/CooldownTracker.h"
#include "core/knowledge/EnemyAbilityHaste.h"
#include "core/knowledge/UltCooldowns.h"

#include "Await.h"
#include "FakeDDragon.h"
#include "LogCapture.h"
#include "RefusingPort.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace tolvane;
using namespace tolvane::test;

// Marks of enemy cooldowns.
TEST(CooldownMarks, ASecondClickCancelsARunningMark)
{
    CooldownTracker tracker;
    const CooldownTracker::Key flash {0, 0};
    tracker.toggle(flash, 100, 300);
    EXPECT_EQ(tracker.remaining(flash, 110), 290);
    tracker.toggle(flash, 110, 300);
    EXPECT_EQ(tracker.remaining(flash, 111), std::nullopt);
}

TEST(CooldownMarks, ExpireExactlyAtTheirEndAndRestartWhenExpired)
{
    CooldownTracker tracker;
    const CooldownTracker::Key key {1, 2};
    tracker.toggle(key, 100, 60);
    EXPECT_EQ(tracker.remaining(key, 159.5), 0.5);
    EXPECT_EQ(tracker.remaining(key, 160), std::nullopt);
    tracker.toggle(key, 161, 90); // expired a second ago: a new mark, with the new length
    EXPECT_EQ(tracker.remaining(key, 171), 80);
}

TEST(CooldownMarks, KeysAreIndependent)
{
    CooldownTracker tracker;
    tracker.toggle({0, 0}, 10, 100);
    tracker.toggle({0, 1}, 20, 100);
    EXPECT_EQ(tracker.remaining({0, 0}, 40), 70);
    EXPECT_EQ(tracker.remaining({0, 1}, 40), 80);
    tracker.clear({0, 1});
    tracker.clear({5, 5});
    EXPECT_EQ(tracker.remaining({0, 1}, 40), std::nullopt);
    EXPECT_EQ(tracker.remaining({0, 0}, 40), 70);
}

TEST(CooldownMarks, ClockGoingBackBeyondEpsilonForgetsEverything)
{
    CooldownTracker tracker;
    tracker.observe(100, 3);
    tracker.toggle({0, 0}, 100, 300);
    tracker.observe(97, 3);
    EXPECT_TRUE(tracker.remaining({0, 0}, 97));
    tracker.observe(100, 3);
    tracker.observe(96.9, 3);
    EXPECT_FALSE(tracker.remaining({0, 0}, 97));
    // lastGameTime moved to 96.9: going back to 94 keeps a new mark.
    tracker.toggle({0, 0}, 96.9, 300);
    tracker.observe(94, 3);
    EXPECT_TRUE(tracker.remaining({0, 0}, 94));
    tracker.flushAll();
    EXPECT_FALSE(tracker.remaining({0, 0}, 94));
}

TEST(CooldownMarks, TimesThatAreNotNumbersNeitherRunNorDrop)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    CooldownTracker tracker;
    tracker.toggle({0, 0}, 100, 300);
    tracker.observe(nan, 3);
    EXPECT_TRUE(tracker.remaining({0, 0}, 110));
    EXPECT_FALSE(tracker.remaining({0, 0}, nan));
    tracker.toggle({0, 0}, nan, 300); // not running at NaN: starts a new mark instead of cancelling
    EXPECT_FALSE(tracker.remaining({0, 0}, 110));
}

// Assumed ability haste.
TEST(AssumedHaste, TheMapDecidesBeforeTheMode)
{
    using EnemyAbilityHaste::Mode;
    EXPECT_EQ(EnemyAbilityHaste::mode(std::nullopt, std::nullopt), Mode::standard);
    EXPECT_EQ(EnemyAbilityHaste::mode(QStringLiteral("ARAM"), std::nullopt), Mode::standard);
    EXPECT_EQ(EnemyAbilityHaste::mode(QStringLiteral("cherry"), 11), Mode::arena);
    EXPECT_EQ(EnemyAbilityHaste::mode(QStringLiteral("CLASSIC"), 30), Mode::arena);
    EXPECT_EQ(EnemyAbilityHaste::mode(QStringLiteral("CHERRY"), 12), Mode::aram);
}

TEST(AssumedHaste, AddsRuneItemAndModeParts)
{
    using EnemyAbilityHaste::Mode;
    EXPECT_EQ(EnemyAbilityHaste::assumed(QStringLiteral("Lux"), {}, Mode::standard), 18);
    EXPECT_EQ(EnemyAbilityHaste::assumed(QStringLiteral("lux"), {}, Mode::standard), 10);
    const std::vector<int64_t> aram {3158, 3003};
    EXPECT_EQ(EnemyAbilityHaste::assumed(QStringLiteral("Garen"), aram, Mode::aram), 55);
    const std::vector<int64_t> arena {3172, 999999};
    EXPECT_EQ(EnemyAbilityHaste::assumed(QStringLiteral("Garen"), arena, Mode::arena), 80);
    const std::vector<int64_t> twice {3158, 3158};
    EXPECT_EQ(EnemyAbilityHaste::assumed(QStringLiteral("Sejuani"), twice, Mode::standard), 32);
}

// Ultimates.
namespace {

std::vector<UltInfo::Spell> kit(std::vector<QString> ids, int64_t maxrank, std::vector<double> cooldown)
{
    std::vector<UltInfo::Spell> spells;
    for (const QString& id : ids)
        spells.push_back({id, 5, {10, 9, 8, 7, 6}});
    spells[3].maxrank = maxrank;
    spells[3].cooldown = std::move(cooldown);
    return spells;
}

} // namespace

TEST(UltimateSelection, TracksOnlyAStandardFourthAbility)
{
    EXPECT_EQ(UltInfo::select(kit({"Q1", "W1", "E1", "X1R"}, 3, {100, 80, 60, 40})), (UltInfo {"X1R", {100, 80, 60}}));
    EXPECT_EQ(UltInfo::select(kit({"Q1", "W1R", "E1", "X1"}, 3, {100, 80, 60})), (UltInfo {"W1R", {}}));
    EXPECT_EQ(UltInfo::select(kit({"Q1", "W1", "E1", "X1"}, 3, {120, 100, 80})), (UltInfo {"X1", {120, 100, 80}}));
    EXPECT_FALSE(UltInfo::select(kit({"Q1", "W1", "E1", "R1"}, 4, {100, 80, 60}))->trackable());
    EXPECT_FALSE(UltInfo::select(kit({"Q1", "W1", "E1", "R1"}, 3, {20, 15, 10}))->trackable());
    EXPECT_TRUE(UltInfo::select(kit({"Q1", "W1", "E1", "R1"}, 3, {30, 15, 10}))->trackable());
    EXPECT_FALSE(UltInfo::select(kit({"Q1", "W1", "E1", "R1"}, 3, {100, 80}))->trackable());
    auto three = kit({"Q1", "W1", "E1", "R1"}, 3, {100, 80, 60});
    three.pop_back();
    EXPECT_FALSE(UltInfo::select(three));
}

TEST(UltimateCooldown, FollowsRankByLevelAndHaste)
{
    const std::vector<std::pair<int64_t, std::optional<int64_t>>> ranks {
        {5, std::nullopt}, {6, 1}, {10, 1}, {11, 2}, {15, 2}, {16, 3}, {18, 3}};
    for (const auto& [level, rank] : ranks)
        EXPECT_EQ(UltInfo::rank(level), rank) << level;
    const UltInfo ult {"R", {120, 100, 80}};
    EXPECT_EQ(ult.conservativeCD(12, 25), 80);
    EXPECT_EQ(ult.conservativeCD(12, -40), 100);
    EXPECT_EQ(ult.conservativeCD(12, std::nan("")), 100);
    EXPECT_EQ(ult.conservativeCD(12, std::numeric_limits<double>::infinity()), 100);
    EXPECT_EQ(ult.conservativeCD(3, 0), std::nullopt);
    EXPECT_EQ((UltInfo {"R", {}}).conservativeCD(18, 0), std::nullopt);
    EXPECT_EQ((UltInfo {"R", {120}}).baseCD(12), std::nullopt);
    EXPECT_TRUE(UltInfo::resetsOnTakedown(QStringLiteral("Master Yi")));
    EXPECT_FALSE(UltInfo::resetsOnTakedown(QStringLiteral("MasterYi")));
}

TEST(UltimateLoading, ReadsTheRealPerChampionFiles)
{
    FakeDDragon ddragon(QStringLiteral("4.2.1"));
    const UltCooldownsLoader loader(ddragon.base());
    const auto ahri = await(loader.load(QStringLiteral("Ahri"), QStringLiteral("4.2.1")));
    ASSERT_TRUE(ahri) << ahri.error.toStdString();
    ASSERT_TRUE(*ahri.value);
    EXPECT_EQ(**ahri.value, (UltInfo {"AhriTumble", {110, 95, 80}}));
    const auto zed = await(loader.load(QStringLiteral("Zed"), QStringLiteral("4.2.1")));
    ASSERT_TRUE(zed && *zed.value);
    EXPECT_EQ((*zed.value)->spellId, QStringLiteral("ZedUlt"));
    EXPECT_TRUE((*zed.value)->trackable());
    const int before = int(ddragon.server().requests().size());
    EXPECT_FALSE(*await(loader.load(QString(), QStringLiteral("4.2.1"))).value);
    EXPECT_FALSE(*await(loader.load(QStringLiteral("Ahri"), QString())).value);
    EXPECT_EQ(int(ddragon.server().requests().size()), before);
}

TEST(UltimateLoading, PassesFailuresToTheCaller)
{
    FakeDDragon ddragon(QStringLiteral("4.2.1"));
    const UltCooldownsLoader loader(ddragon.base());
    EXPECT_FALSE(await(loader.load(QStringLiteral("Nobody"), QStringLiteral("4.2.1")))); // an error page
    EXPECT_FALSE(await(UltCooldownsLoader(test::refusingBase()).load("Ahri", "4.2.1")));

    const QByteArray three = R"({"data": {"Tri": {"spells": [
        {"id": "Q", "maxrank": 5, "cooldown": [1]}, {"id": "W", "maxrank": 5, "cooldown": [1]},
        {"id": "E", "maxrank": 5, "cooldown": [1]}]}}})";
    ddragon.override("/cdn/4.2.1/data/en_US/champion/Tri.json", TestResponse::json(three));
    LogCapture logs;
    const auto tri = await(loader.load(QStringLiteral("Tri"), QStringLiteral("4.2.1")));
    ASSERT_TRUE(tri);
    EXPECT_FALSE(*tri.value);
    EXPECT_EQ(logs.count(QStringLiteral("No standard ult for Tri")), 1);
    // The file does not hold the champion asked for: no ultimate, nothing logged.
    ddragon.override("/cdn/4.2.1/data/en_US/champion/Other.json", TestResponse::json(three));
    const auto other = await(loader.load(QStringLiteral("Other"), QStringLiteral("4.2.1")));
    ASSERT_TRUE(other);
    EXPECT_FALSE(*other.value);
    EXPECT_EQ(logs.lines(QStringLiteral("ultcooldowns")).size(), 1);
}

// Cooldown time texts.
TEST(CooldownText, WritesEachFormat)
{
    const CDTimeFormat ms = CDTimeFormat::minutesSeconds, s = CDTimeFormat::seconds, m = CDTimeFormat::minutes;
    EXPECT_EQ(ms.string(75.4), "1:15");
    EXPECT_EQ(s.string(75.4), "75");
    EXPECT_EQ(m.string(75.4), "2m");
    EXPECT_EQ(ms.string(59.999), "0:59");
    EXPECT_EQ(ms.string(60), "1:00");
    EXPECT_EQ(s.string(0.4), "0");
    EXPECT_EQ(m.string(0.4), "1m");
    EXPECT_EQ(m.string(600), "10m");
    EXPECT_EQ(m.string(600.01), "11m");
    EXPECT_EQ(ms.string(-5), "0:00");
    EXPECT_EQ(m.string(-5), "1m");
}

TEST(CooldownText, AbsurdTimesGiveATextNotACrash)
{
    for (const CDTimeFormat format : CDTimeFormat::allCases) {
        EXPECT_FALSE(format.string(std::nan("")).isEmpty());
        EXPECT_FALSE(format.string(std::numeric_limits<double>::infinity()).isEmpty());
        EXPECT_FALSE(format.string(-std::numeric_limits<double>::infinity()).isEmpty());
        EXPECT_FALSE(format.string(1e300).isEmpty());
    }
    EXPECT_EQ(CDTimeFormat(CDTimeFormat::seconds).string(std::nan("")), "0");
}

TEST(CooldownText, RawValuesAndTheGamesNumericSetting)
{
    EXPECT_EQ(CDTimeFormat::fromRawValue("m:ss"), CDTimeFormat(CDTimeFormat::minutesSeconds));
    EXPECT_EQ(CDTimeFormat::fromRawValue("minutes"), CDTimeFormat(CDTimeFormat::minutes));
    EXPECT_EQ(CDTimeFormat::fromRawValue("SECONDS"), std::nullopt);
    EXPECT_EQ(CDTimeFormat(CDTimeFormat::seconds).menuTitle(), "seconds");
    EXPECT_EQ(CDTimeFormat::fromNumericCooldownFormat(0), CDTimeFormat::minutesSeconds);
    EXPECT_EQ(CDTimeFormat::fromNumericCooldownFormat(2), CDTimeFormat::minutes);
    for (int64_t other : {1, 3, -1})
        EXPECT_EQ(CDTimeFormat::fromNumericCooldownFormat(other), CDTimeFormat::seconds);
}
