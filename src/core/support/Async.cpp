#include "core/support/Async.h"

#include <QCoreApplication>
#include <QTimer>

#include <algorithm>
#include <coroutine>
#include <limits>

namespace tolvane {

struct CancelToken::State {
    CancelNotifier notifier;
};

bool CancelToken::isCancelled() const
{
    return state_ && state_->notifier.cancelled;
}

QObject* CancelToken::notifier() const
{
    return state_ ? &state_->notifier : nullptr;
}

CancelSource::CancelSource()
    : state_(std::make_shared<CancelToken::State>())
{
}

CancelSource::~CancelSource() = default;

CancelToken CancelSource::token() const
{
    return CancelToken(state_);
}

void CancelSource::cancel()
{
    if (state_->notifier.cancelled)
        return;
    state_->notifier.cancelled = true;
    emit state_->notifier.cancelledSignal();
}

bool CancelSource::isCancelled() const
{
    return state_->notifier.cancelled;
}

namespace {

// Resumes once, queued, on whichever comes first: the timer or the cancellation.
struct SleepAwaiter {
    std::chrono::milliseconds pause;
    CancelToken token;
    bool completed = false;
    std::shared_ptr<QTimer> timer;

    bool await_ready() const { return token.isCancelled(); }

    void await_suspend(std::coroutine_handle<> handle)
    {
        auto done = std::make_shared<bool>(false);
        auto finish = [this, handle, done](bool fullPause) {
            if (*done)
                return;
            *done = true;
            completed = fullPause;
            QTimer::singleShot(0, [handle] { handle.resume(); });
        };
        // QTimer counts in int milliseconds; a longer pause is capped (about 24 days).
        const int ms
            = int(std::clamp<std::chrono::milliseconds::rep>(pause.count(), 0, std::numeric_limits<int>::max()));
        // The timer goes with the sleep: a single-shot timer whose object is gone would still wake
        // the event loop when a sleep cut short falls due. Its kind is the one QTimer::singleShot
        // picks for the pause.
        timer = std::make_shared<QTimer>();
        timer->setSingleShot(true);
        timer->setTimerType(ms >= 2000 ? Qt::CoarseTimer : Qt::PreciseTimer);
        QObject::connect(timer.get(), &QTimer::timeout, [finish] { finish(true); });
        if (auto* n = static_cast<CancelNotifier*>(token.notifier()))
            QObject::connect(n, &CancelNotifier::cancelledSignal, timer.get(), [finish] { finish(false); });
        timer->start(ms);
    }

    bool await_resume() { return completed && !token.isCancelled(); }
};

} // namespace

void finishQueuedWork()
{
    // Each coroutine that resumes may queue the next step of another (a reply's end, a sleep cut
    // short, the loop that awaited them), so a few rounds are run; every round is cheap.
    for (int round = 0; round < 16; ++round) {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

QCoro::Task<bool> sleepFor(std::chrono::milliseconds pause, CancelToken token)
{
    SleepAwaiter awaiter {pause, std::move(token), false, {}};
    co_return co_await awaiter;
}

} // namespace tolvane
