#pragma once
// What every overlay view model shares: the start-up (wait for what the model needs first, then
// follow its Live Client snapshot stream one element at a time on the main thread until the model
// is destroyed) and the one notification per change. A model stores each published value with
// publish(), which notes whether it really changed, and tells its observers once with notify()
// after a snapshot (and before it waits on a service), so an unchanged snapshot repaints nothing.

#include "core/gameclient/LiveClientDataClient.h"

#include <QObject>
#include <QPointer>

#include <cstdint>
#include <memory>
#include <optional>
#include <utility>

#include <QCoroTask>

namespace tolvane {

class SnapshotViewModel : public QObject {
    Q_OBJECT
public:
    ~SnapshotViewModel() override;

    // Waits for what the model needs before its first snapshot, then follows the snapshots at the
    // model's interval for as long as it lives. Returns at once; once only.
    void start();
    bool isStarted() const { return started_; }

signals:
    // Something the model publishes took another value; at most once per snapshot handled.
    void changed();

protected:
    SnapshotViewModel(LiveClientDataClient client, uint64_t intervalMs, QObject* parent);

    // Before the first snapshot; nothing by default.
    virtual QCoro::Task<void> prepare();
    // One poll's result: a snapshot, or none when no game answered.
    virtual QCoro::Task<void> follow(std::optional<AllGameData> data) = 0;

    // Stores a published value; true when it differs from the one held (the change is noted for
    // the next notify()).
    template <class T, class U> bool publish(T& field, U&& value)
    {
        if (field == value)
            return false;
        field = std::forward<U>(value);
        pending_ = true;
        return true;
    }
    // The same for a value built in a scratch buffer: exchanged with the field when it differs,
    // so the old value's storage is reused for the next one.
    template <class T> bool publishExchange(T& field, T& value)
    {
        if (field == value)
            return false;
        std::swap(field, value);
        pending_ = true;
        return true;
    }
    // Emits changed() once for everything published since the last call; nothing when nothing
    // changed.
    void notify();

private:
    static QCoro::Task<void> run(QPointer<SnapshotViewModel> self);

    LiveClientDataClient client_;
    uint64_t intervalMs_;
    // Owned here so that destroying the model stops the polling.
    std::unique_ptr<LiveSnapshotStream> stream_;
    bool started_ = false;
    bool pending_ = false;
};

} // namespace tolvane
