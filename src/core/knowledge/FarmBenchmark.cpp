#include "core/knowledge/FarmBenchmark.h"

#include "core/knowledge/ResourceFile.h"
#include "core/support/Log.h"

#include <cmath>
#include <limits>

TOLVANE_LOG_CATEGORY(lcFarm, "farm")

namespace tolvane {

namespace {

// No match lasts anywhere near this many waves; the cap keeps the wave walk and the integer
// conversion defined for absurd times (a huge or infinite game time from a bad snapshot).
constexpr int64_t maxWaves = 1'000'000;

} // namespace

const FarmBenchmark& FarmBenchmark::empty()
{
    static const FarmBenchmark value;
    return value;
}

int64_t FarmBenchmark::wavesSpawned(double t) const
{
    // Written so that NaN in any figure lands on 0.
    if (!(waveInterval > 0) || !(t >= firstWaveSpawn))
        return 0;
    const double waves = std::floor((t - firstWaveSpawn) / waveInterval) + 1.0;
    if (!(waves < double(maxWaves)))
        return std::isnan(waves) ? 0 : maxWaves;
    return static_cast<int64_t>(waves);
}

int64_t FarmBenchmark::laneCSAvailable(double t) const
{
    const int64_t waves = wavesSpawned(t);
    if (waves == 0)
        return 0;
    int64_t cannons = 0;
    size_t phase = 0;
    int64_t inPhase = 0;
    for (int64_t k = 1; k <= waves; ++k) {
        const double spawn = firstWaveSpawn + double(k - 1) * waveInterval;
        if (phase >= cannonPhases.size())
            break;
        if (cannonPhases[phase].until && *cannonPhases[phase].until <= spawn) {
            while (phase < cannonPhases.size() && cannonPhases[phase].until && *cannonPhases[phase].until <= spawn)
                ++phase;
            inPhase = 0;
            if (phase >= cannonPhases.size())
                break;
        }
        const int64_t every = cannonPhases[phase].every;
        if (every < 1)
            break;
        if (!cannonPhases[phase].until) {
            // A phase without an end holds every remaining wave: count its cannons at once.
            const int64_t last = inPhase + (waves - k + 1);
            cannons += last / every - inPhase / every;
            break;
        }
        ++inPhase;
        if (inPhase % every == 0)
            ++cannons;
    }
    // Saturating: a hostile table may give a huge per-wave count.
    int64_t regular = 0;
    if (__builtin_mul_overflow(waves, regularPerWave, &regular))
        return regularPerWave > 0 ? std::numeric_limits<int64_t>::max() : std::numeric_limits<int64_t>::min();
    int64_t total = 0;
    if (__builtin_add_overflow(regular, cannons, &total))
        return std::numeric_limits<int64_t>::max();
    return total;
}

std::optional<double> FarmBenchmark::csPerMin(int64_t creepScore, double gameTime)
{
    if (!(gameTime >= 60))
        return std::nullopt;
    return double(creepScore) / (gameTime / 60.0);
}

json::Decoded<FarmBenchmark> FarmBenchmark::decode(QByteArrayView bytes)
{
    return json::decode<FarmBenchmark>(bytes, [](json::Value root) {
        const json::Object o = root.toObject();
        FarmBenchmark table;
        table.targetPatch = o.string("targetPatch");
        table.firstWaveSpawn = o.number("firstWaveSpawn");
        table.waveInterval = o.number("waveInterval");
        table.regularPerWave = o.int64("regularPerWave");
        table.cannonPhases = o.required("cannonPhases", [](json::Value v) {
            return v.toArray().map([](json::Value p) {
                const json::Object phase = p.toObject();
                return CannonPhase {phase.optNumber("until"), phase.int64("every")};
            });
        });
        return table;
    });
}

FarmBenchmark FarmBenchmarkLoader::load(const ResourceBundle& bundle) const
{
    if (const auto bytes = readResource(bundle, QStringLiteral("farm-benchmark"), QStringLiteral("json"))) {
        if (auto decoded = FarmBenchmark::decode(*bytes))
            return std::move(*decoded.value);
    }
    log::error(lcFarm(),
        QStringLiteral("farm-benchmark.json missing or undecodable — farm panel shows CS only (no "
                       "benchmark)"));
    return FarmBenchmark::empty();
}

} // namespace tolvane
