#pragma once
// A stream fed by a polling task: the first fetch goes out at once, each next one a fixed pause
// after the previous result was handed over (never two in flight). The consumer takes results
// in order with next(); cancelling or destroying the stream stops the polling, ending a pause at
// once and abandoning a fetch in flight.

#include "core/support/Async.h"

#include <QObject>
#include <QPointer>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <optional>

#include <QCoroTask>

namespace tolvane {

class PollingStreamBase : public QObject {
    Q_OBJECT
public:
    ~PollingStreamBase() override;

    // Stops polling and finishes the stream; results already buffered can still be taken.
    void cancel();
    bool isFinished() const { return finished_; }
    // Fetches started so far.
    uint64_t requestsStarted() const { return requests_; }

signals:
    void elementAvailable();

protected:
    // The longest pause whose nanosecond count fits 64 bits; longer intervals are capped to it.
    static std::chrono::milliseconds pauseFor(uint64_t intervalMs);

    CancelSource cancel_;
    bool finished_ = false;
    uint64_t requests_ = 0;
};

template <class T> class PollingStream : public PollingStreamBase {
public:
    // What waits while the consumer is busy: every result, or only the newest present one at
    // the tail (absent results are always kept: they carry news of their own).
    enum class Backlog { keepAll, newestPresent };
    using Fetch = std::function<QCoro::Task<std::optional<T>>(CancelToken)>;

    static std::unique_ptr<PollingStream> start(Fetch fetch, uint64_t intervalMs, Backlog backlog)
    {
        std::unique_ptr<PollingStream> stream(new PollingStream(backlog));
        poll(std::move(fetch), pauseFor(intervalMs), QPointer<PollingStream>(stream.get()), stream->cancel_.token());
        return stream;
    }

    // The next result, waiting for one; an empty outer optional once the stream is finished and
    // drained.
    QCoro::Task<std::optional<std::optional<T>>> next()
    {
        QPointer<PollingStream> self(this);
        while (self && self->buffer_.empty() && !self->finished_) {
            if (!co_await signalOrDestroyed(
                    static_cast<PollingStreamBase*>(self.data()), &PollingStreamBase::elementAvailable))
                break;
        }
        if (!self || self->buffer_.empty())
            co_return std::nullopt;
        std::optional<T> element = std::move(self->buffer_.front());
        self->buffer_.pop_front();
        co_return element;
    }

    size_t buffered() const { return buffer_.size(); }

private:
    explicit PollingStream(Backlog backlog)
        : backlog_(backlog)
    {
    }

    void push(std::optional<T> element)
    {
        if (finished_)
            return;
        if (backlog_ == Backlog::newestPresent && element && !buffer_.empty() && buffer_.back().has_value())
            buffer_.back() = std::move(element);
        else
            buffer_.push_back(std::move(element));
        emit elementAvailable();
    }

    // Holds the fetch (and so whatever client it captured) for as long as it polls.
    static QCoro::Task<void> poll(
        Fetch fetch, std::chrono::milliseconds pause, QPointer<PollingStream> stream, CancelToken cancel)
    {
        for (;;) {
            if (cancel.isCancelled() || !stream)
                break;
            ++stream->requests_;
            std::optional<T> element = co_await fetch(cancel);
            if (cancel.isCancelled() || !stream)
                break;
            stream->push(std::move(element));
            co_await sleepFor(pause, cancel);
        }
    }

    std::deque<std::optional<T>> buffer_;
    Backlog backlog_;
};

} // namespace tolvane
