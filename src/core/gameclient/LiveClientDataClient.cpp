#include "core/gameclient/LiveClientDataClient.h"

#include "core/gameclient/RiotTrustDelegate.h"
#include "core/support/Log.h"

#include <algorithm>
#include <chrono>

TOLVANE_LOG_CATEGORY(lcLiveClient, "liveclient")

namespace tolvane {

QUrl LiveClientDataClient::defaultUrl()
{
    QUrl url;
    url.setScheme(QStringLiteral("https"));
    url.setHost(QStringLiteral("127.0.0.1"));
    url.setPort(2999);
    url.setPath(QStringLiteral("/liveclientdata/allgamedata"));
    return url;
}

LiveClientDataClient::LiveClientDataClient()
    : LiveClientDataClient(defaultUrl(), std::make_shared<RiotTrustDelegate>())
{
}

LiveClientDataClient::LiveClientDataClient(QUrl url, std::shared_ptr<const TlsTrustPolicy> trust, HttpTimeouts timeouts)
    : session_(std::make_shared<HttpSession>(timeouts, std::move(trust)))
    , url_(std::move(url))
{
}

QCoro::Task<std::optional<AllGameData>> LiveClientDataClient::snapshot() const
{
    return fetch(session_, url_, {});
}

QCoro::Task<std::optional<AllGameData>> LiveClientDataClient::fetch(
    std::shared_ptr<HttpSession> session, QUrl url, CancelToken cancel)
{
    const HttpResult result = co_await session->get(url, {}, std::move(cancel));
    if (!result.arrived())
        co_return std::nullopt; // no game running, time-out, trust refused, abandoned: not logged
    // The status is not looked at: a valid document under any status is a snapshot.
    auto decoded = AllGameData::decode(result.reply->body);
    if (!decoded) {
        log::error(lcLiveClient(),
            QStringLiteral("Live Client snapshot failed (likely API schema change): %1").arg(decoded.error));
        co_return std::nullopt;
    }
    co_return std::move(decoded.value);
}

std::unique_ptr<LiveSnapshotStream> LiveClientDataClient::stream(uint64_t intervalMs) const
{
    std::unique_ptr<LiveSnapshotStream> stream(new LiveSnapshotStream());
    LiveSnapshotStream::poll(
        session_, url_, intervalMs, QPointer<LiveSnapshotStream>(stream.get()), stream->cancel_.token());
    return stream;
}

LiveSnapshotStream::~LiveSnapshotStream()
{
    cancel();
}

void LiveSnapshotStream::cancel()
{
    cancel_.cancel();
    if (!finished_) {
        finished_ = true;
        emit elementAvailable();
    }
}

void LiveSnapshotStream::push(std::optional<AllGameData> element)
{
    if (finished_)
        return;
    if (element && !buffer_.empty() && buffer_.back().has_value())
        buffer_.back() = std::move(element);
    else
        buffer_.push_back(std::move(element));
    emit elementAvailable();
}

QCoro::Task<std::optional<std::optional<AllGameData>>> LiveSnapshotStream::next()
{
    QPointer<LiveSnapshotStream> self(this);
    while (self && self->buffer_.empty() && !self->finished_) {
        auto available = signalOrDestroyed(self.data(), &LiveSnapshotStream::elementAvailable);
        if (!co_await available)
            break;
    }
    if (!self || self->buffer_.empty())
        co_return std::nullopt;
    std::optional<AllGameData> element = std::move(self->buffer_.front());
    self->buffer_.pop_front();
    co_return element;
}

QCoro::Task<void> LiveSnapshotStream::poll(std::shared_ptr<HttpSession> session, QUrl url, uint64_t intervalMs,
    QPointer<LiveSnapshotStream> stream, CancelToken cancel)
{
    // The longest pause a 64-bit nanosecond count holds; a longer interval is capped to it.
    constexpr uint64_t maxIntervalMs = UINT64_MAX / 1'000'000;
    const auto pause
        = std::chrono::milliseconds(static_cast<std::chrono::milliseconds::rep>(std::min(intervalMs, maxIntervalMs)));
    for (;;) {
        if (cancel.isCancelled() || !stream)
            break;
        ++stream->requests_;
        std::optional<AllGameData> element = co_await LiveClientDataClient::fetch(session, url, cancel);
        if (cancel.isCancelled() || !stream)
            break;
        stream->push(std::move(element));
        co_await sleepFor(pause, cancel);
    }
}

} // namespace tolvane
