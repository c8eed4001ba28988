#pragma once
// The farm panel's state: the local player's creep score, CS per minute, and for a laner on
// Summoner's Rift the lane CS spawned so far by the minion schedule, from a snapshot every second.

#include "app/panels/SnapshotViewModel.h"
#include "core/knowledge/FarmBenchmark.h"

#include <QString>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

#include <QCoroTask>

namespace tolvane {

class FarmViewModel : public SnapshotViewModel {
    Q_OBJECT
public:
    static constexpr uint64_t pollIntervalMs = 1000;

    struct Readout {
        int64_t cs = 0;
        std::optional<double> csPerMin; // absent before the first minute
        std::optional<int64_t> laneAvailable; // only for a laner with a schedule, and then at least 1
        std::optional<QString> position; // as the local-player lookup gives it
        bool operator==(const Readout&) const = default;
    };

    using BenchmarkLoad = std::function<FarmBenchmark()>;

    // With its own Live Client Data client and the bundle's minion schedule.
    explicit FarmViewModel(QObject* parent = nullptr);
    FarmViewModel(LiveClientDataClient client, BenchmarkLoad loadBenchmark, QObject* parent = nullptr);
    ~FarmViewModel() override;

    const std::optional<Readout>& readout() const { return readout_; }
    // Notifies when the readout differs from the one held.
    void setReadout(std::optional<Readout> value);

    void handle(const std::optional<AllGameData>& snapshot);
    // Absent when the local player is not in the snapshot.
    static std::optional<Readout> compute(const AllGameData& data, const FarmBenchmark& bench);

protected:
    // Reads the schedule before the first snapshot.
    QCoro::Task<void> prepare() override;
    QCoro::Task<void> follow(std::optional<AllGameData> data) override;

private:
    std::optional<Readout> readout_;
    BenchmarkLoad loadBenchmark_;
    FarmBenchmark bench_ = FarmBenchmark::empty();
};

} // namespace tolvane
