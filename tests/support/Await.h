#pragma once
// Drives a coroutine to its end from a test, under a watchdog: a hang fails loudly instead of
// stalling the suite.

#include "RealData.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QString>
#include <QTimer>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>

#include <QCoroTask>

namespace tolvane::test {

template <class T> auto await(QCoro::Task<T>&& task, std::chrono::milliseconds watchdog = std::chrono::seconds(20))
{
    QTimer dog;
    dog.setSingleShot(true);
    QObject::connect(&dog, &QTimer::timeout, [] {
        std::fprintf(stderr, "test watchdog: coroutine did not finish in time\n");
        std::abort();
    });
    dog.start(watchdog);
    return QCoro::waitFor(std::move(task));
}

// Runs the event loop until condition holds or the time runs out; returns the condition.
inline bool spinUntil(
    const std::function<bool()>& condition, std::chrono::milliseconds limit = std::chrono::seconds(10))
{
    QElapsedTimer clock;
    clock.start();
    while (!condition()) {
        if (clock.elapsed() > limit.count())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return true;
}

// Runs the event loop for a while.
inline void spinFor(std::chrono::milliseconds duration)
{
    spinUntil([] { return false; }, duration);
}

} // namespace tolvane::test
