#pragma once
// Small pieces for coroutines on the main thread: a cancel token shared between the owner of
// some work and the coroutine doing it, a sleep that a cancellation cuts short, and a wait for a
// signal that also ends when the sender is destroyed (QCoro's own would never resume then).

#include <QObject>
#include <QPointer>

#include <QTimer>

#include <chrono>
#include <coroutine>
#include <memory>

#include <QCoroTask>

namespace tolvane {

class CancelSource;

// Cheap to copy; a default token is never cancelled.
class CancelToken {
public:
    CancelToken() = default;
    bool isCancelled() const;
    // Emits cancelled() once; null for a token that can never be cancelled.
    QObject* notifier() const;

private:
    friend class CancelSource;
    struct State;
    explicit CancelToken(std::shared_ptr<State> state)
        : state_(std::move(state))
    {
    }
    std::shared_ptr<State> state_;
};

class CancelSource {
public:
    CancelSource();
    ~CancelSource();
    CancelSource(const CancelSource&) = delete;
    CancelSource& operator=(const CancelSource&) = delete;

    CancelToken token() const;
    void cancel();
    bool isCancelled() const;

private:
    std::shared_ptr<CancelToken::State> state_;
};

// The object behind a token's notifier.
class CancelNotifier : public QObject {
    Q_OBJECT
public:
    bool cancelled = false;
signals:
    void cancelledSignal();
};

// Sleeps on the calling thread's event loop. Returns false when cut short by cancellation
// (or when the token was already cancelled), true when the full pause elapsed.
QCoro::Task<bool> sleepFor(std::chrono::milliseconds pause, CancelToken token = {});

// Work that was cancelled or whose owner went away resumes from the event loop once more to end.
// Once the loop has stopped for good (the application is quitting, a test is over), this runs
// what is left queued, so that no coroutine is left suspended when the application object goes.
void finishQueuedWork();

// Resumes once, queued, on the first emission of signal or on sender's destruction.
// The awaited value is false when the sender is gone.
template <class Sender, class Signal> struct SignalAwaiter {
    QPointer<Sender> sender;
    Signal signal;
    std::shared_ptr<QObject> context = {};

    bool await_ready() const { return sender.isNull(); }
    void await_suspend(std::coroutine_handle<> handle)
    {
        context = std::make_shared<QObject>();
        auto done = std::make_shared<bool>(false);
        auto resume = [handle, done] {
            if (*done)
                return;
            *done = true;
            QTimer::singleShot(0, [handle] { handle.resume(); });
        };
        QObject::connect(sender.data(), signal, context.get(), resume);
        QObject::connect(sender.data(), &QObject::destroyed, context.get(), resume);
    }
    bool await_resume() const { return !sender.isNull(); }
};

template <class Sender, class Signal> SignalAwaiter<Sender, Signal> signalOrDestroyed(Sender* sender, Signal signal)
{
    return SignalAwaiter<Sender, Signal> {QPointer<Sender>(sender), signal, {}};
}

} // namespace tolvane
