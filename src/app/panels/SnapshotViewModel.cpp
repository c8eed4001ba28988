#include "app/panels/SnapshotViewModel.h"

namespace tolvane {

SnapshotViewModel::SnapshotViewModel(LiveClientDataClient client, uint64_t intervalMs, QObject* parent)
    : QObject(parent)
    , client_(std::move(client))
    , intervalMs_(intervalMs)
{
}

SnapshotViewModel::~SnapshotViewModel()
{
    if (stream_)
        stream_->cancel();
}

void SnapshotViewModel::start()
{
    if (started_)
        return;
    started_ = true;
    run(QPointer<SnapshotViewModel>(this));
}

QCoro::Task<void> SnapshotViewModel::prepare()
{
    co_return;
}

void SnapshotViewModel::notify()
{
    if (!pending_)
        return;
    pending_ = false;
    emit changed();
}

QCoro::Task<void> SnapshotViewModel::run(QPointer<SnapshotViewModel> self)
{
    if (!self)
        co_return;
    co_await self->prepare();
    if (!self)
        co_return;
    self->notify();
    self->stream_ = self->client_.stream(self->intervalMs_);
    const QPointer<PollingStreamBase> alive(self->stream_.get());
    LiveSnapshotStream* stream = self->stream_.get();
    // Later snapshots wait in the stream while one is handled.
    while (self && alive) {
        std::optional<std::optional<AllGameData>> element = co_await stream->next();
        if (!self || !element)
            co_return;
        co_await self->follow(std::move(*element));
        if (self)
            self->notify();
    }
}

} // namespace tolvane
