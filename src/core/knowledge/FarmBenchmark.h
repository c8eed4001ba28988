#pragma once
// The lane-minion schedule (first wave, interval, minions per wave, cannon phases) and the count
// of minions one lane has spawned by a game time: the most a laner could have farmed.

#include "core/support/Json.h"
#include "core/support/ResourceBundle.h"

#include <QByteArrayView>
#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

namespace tolvane {

struct FarmBenchmark {
    struct CannonPhase {
        std::optional<double> until; // covers waves spawning strictly before; absent: never ends
        int64_t every = 0; // every n-th wave of the phase carries a cannon; below 1 ends cannons

        bool operator==(const CannonPhase&) const = default;
    };

    QString targetPatch;
    double firstWaveSpawn = 0;
    double waveInterval = 0; // 0 or less marks the empty table
    int64_t regularPerWave = 0;
    std::vector<CannonPhase> cannonPhases;

    static const FarmBenchmark& empty();
    bool isEmpty() const { return !(waveInterval > 0); }

    int64_t wavesSpawned(double t) const;
    int64_t laneCSAvailable(double t) const;
    // Absent before the first minute.
    static std::optional<double> csPerMin(int64_t creepScore, double gameTime);

    static json::Decoded<FarmBenchmark> decode(QByteArrayView bytes);
    bool operator==(const FarmBenchmark&) const = default;
};

struct FarmBenchmarkLoader {
    // Reads "farm-benchmark.json"; a missing or bad file is logged and gives the empty table.
    FarmBenchmark load(const ResourceBundle& bundle = tolvaneCoreBundle()) const;
};

} // namespace tolvane
