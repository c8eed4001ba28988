// Feeds arbitrary bytes to the decoders of the tables the app ships in its resource bundle:
// summoner-spell cooldowns, counter-item rules, bottom-lane synergy and the farm benchmark. A
// broken install or a hand-edited file must give a logged failure, never a crash. Checks the
// all-or-nothing promise, that the same bytes give the same table, and what each table's
// questions promise of their answers.

#include "core/knowledge/CounterBuildEngine.h"
#include "core/knowledge/CounterRules.h"
#include "core/knowledge/FarmBenchmark.h"
#include "core/knowledge/SummonerCooldowns.h"
#include "core/knowledge/SynergyCatalog.h"

#include "FuzzCheck.h"

#include <QByteArray>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

namespace {

using namespace tolvane;
using fuzz::require;

template <class Table> std::optional<Table> decodeTwice(const QByteArray& bytes, const char* what)
{
    auto decoded = Table::decode(bytes);
    fuzz::requireDecodeOrError(decoded, what);
    if (decoded)
        require(Table::decode(bytes).value == decoded.value, "the same bytes give the same table");
    return std::move(decoded.value);
}

void checkCooldowns(const QByteArray& bytes)
{
    const auto table = decodeTwice<SummonerCooldowns>(bytes, "cooldowns: a value or an error");
    if (!table)
        return;
    const std::vector<LiveItem> ionian {LiveItem {3158, 900, 1}};
    for (const auto& [key, seconds] : table->spells) {
        for (const double time : {0.0, 600.0, 1e9}) {
            for (const std::optional<int64_t> level :
                {std::optional<int64_t>(), std::optional<int64_t>(1), std::optional<int64_t>(18)}) {
                require(
                    table->effectiveCD(key, ionian, time, level, true).has_value(), "a listed spell has a cooldown");
                (void)table->effectiveCD(key, {}, time, level, false);
            }
        }
    }
    require(!table->effectiveCD(QStringLiteral("NotASpell|"), ionian, 0, 1, true), "an unknown spell has none");
    if (const auto& teleport = table->teleport) {
        const double low = std::min(teleport->minCD, teleport->maxCD);
        const double high = std::max(teleport->minCD, teleport->maxCD);
        const double slack = 1e-9 * std::max(std::abs(low), std::abs(high));
        for (const int64_t level : {std::numeric_limits<int64_t>::min(), int64_t(1), int64_t(9), int64_t(18),
                 std::numeric_limits<int64_t>::max()}) {
            const double cd = teleport->cd(level);
            require(!std::isfinite(slack) || (cd >= low - slack && cd <= high + slack), "teleport between its bounds");
        }
    }
}

void checkCounterRules(const QByteArray& bytes)
{
    const auto rules = decodeTwice<CounterRules>(bytes, "counter rules: a value or an error");
    if (!rules)
        return;
    const std::vector<int64_t> known = rules->allItemIDs();
    require(known.size() == rules->items.size(), "one id per rule");
    ItemIDSet owned(known.begin(), known.begin() + std::ptrdiff_t(known.size() / 2));
    for (const ThreatProfile& threat : {ThreatProfile {5, 0, 0, 0, CCCoverage::exact(0), false},
             ThreatProfile {1, 2, 1, 1, CCCoverage::atLeast(7), true}, ThreatProfile {}}) {
        for (const QStringList& tags : {QStringList(), QStringList {QStringLiteral("Marksman")},
                 QStringList {QStringLiteral("Mage"), QStringLiteral("Support")}}) {
            const auto ranked = CounterBuildEngine::rankItems(threat, tags, owned, *rules);
            require(ranked.size() <= 5, "at most five counter items");
            for (const RankedItem& item : ranked) {
                require(
                    std::find(known.begin(), known.end(), item.id) != known.end(), "ranked items come from the rules");
                require(item.owned == owned.contains(item.id), "owned as the player owns it");
            }
        }
    }
}

void checkSynergy(const QByteArray& bytes)
{
    const auto catalog = decodeTwice<SynergyCatalog>(bytes, "synergy: a value or an error");
    if (!catalog)
        return;
    for (const auto& [pair, duo] : catalog->byPair) {
        const auto found = catalog->duo(duo.adc, duo.support);
        require(found && found->adc == duo.adc && found->support == duo.support, "a pair finds its own duo");
        require(duo.readableChannels().size() == duo.channels.size(), "one readable label per channel");
    }
}

void checkFarm(const QByteArray& bytes)
{
    const auto table = decodeTwice<FarmBenchmark>(bytes, "farm: a value or an error");
    if (!table)
        return;
    int64_t waves = 0;
    int64_t minions = 0;
    for (const double time : {0.0, 65.0, 605.0, 1805.0, 3605.0, 1e12}) {
        const int64_t nowWaves = table->wavesSpawned(time);
        const int64_t nowMinions = table->laneCSAvailable(time);
        require(nowWaves >= waves, "waves only come");
        if (table->isEmpty())
            require(nowMinions == 0, "the empty table spawns nothing");
        if (table->regularPerWave >= 0) {
            require(nowMinions >= minions, "minions only come");
            minions = nowMinions;
        }
        waves = nowWaves;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::silenceLogs();
    const QByteArray bytes = fuzz::bytes(data, size);
    checkCooldowns(bytes);
    checkCounterRules(bytes);
    checkSynergy(bytes);
    checkFarm(bytes);
    return 0;
}
