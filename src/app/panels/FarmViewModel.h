#pragma once
// The farm panel's state: the local player's creep score, CS per minute, and for a laner on
// Summoner's Rift the lane CS spawned so far by the minion schedule, from a snapshot every second.

#include "core/gameclient/LiveClientDataClient.h"
#include "core/knowledge/FarmBenchmark.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

#include <QCoroTask>

namespace tolvane {

class FarmViewModel : public QObject {
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

    // Reads the schedule, then starts polling; returns at once. Once only.
    void start();

    const std::optional<Readout>& readout() const { return readout_; }
    // Notifies on every assignment, also of an equal value.
    void setReadout(std::optional<Readout> value);

    void handle(const std::optional<AllGameData>& snapshot);
    // Absent when the local player is not in the snapshot.
    static std::optional<Readout> compute(const AllGameData& data, const FarmBenchmark& bench);

signals:
    void changed();

private:
    static QCoro::Task<void> poll(QPointer<FarmViewModel> self);

    std::optional<Readout> readout_;
    LiveClientDataClient client_;
    BenchmarkLoad loadBenchmark_;
    FarmBenchmark bench_ = FarmBenchmark::empty();
    std::unique_ptr<LiveSnapshotStream> stream_;
    bool started_ = false;
};

} // namespace tolvane
