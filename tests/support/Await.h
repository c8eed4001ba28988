#pragma once
// Drives a coroutine to its end from a test, under a watchdog: a hang fails loudly instead of
// stalling the suite. Waits return as soon as their state holds; their bounds are long enough
// that only a fault, never a busy machine, runs into them.

#include "core/support/HttpSession.h"

#include "RealData.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QString>
#include <QTimer>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <source_location>

#include <QCoroTask>

namespace tolvane::test {

// Time-outs for a client whose peer answers: a slow machine never runs into them.
inline const HttpTimeouts patientTimeouts {std::chrono::seconds(20), std::chrono::seconds(30)};

template <class T>
auto await(QCoro::Task<T>&& task, std::chrono::milliseconds watchdog = std::chrono::seconds(60),
    std::source_location where = std::source_location::current())
{
    QTimer dog;
    dog.setSingleShot(true);
    QObject::connect(&dog, &QTimer::timeout, [where, watchdog] {
        std::fprintf(stderr, "test watchdog: coroutine awaited at %s:%u did not finish within %lld ms\n",
            where.file_name(), unsigned(where.line()), static_cast<long long>(watchdog.count()));
        std::abort();
    });
    dog.start(watchdog);
    return QCoro::waitFor(std::move(task));
}

// Runs the event loop until condition holds or the time runs out; returns the condition. A wait
// that runs out says where it was and how long it waited.
inline bool spinUntil(const std::function<bool()>& condition,
    std::chrono::milliseconds limit = std::chrono::seconds(30),
    std::source_location where = std::source_location::current())
{
    QElapsedTimer clock;
    clock.start();
    while (!condition()) {
        if (clock.elapsed() > limit.count()) {
            std::fprintf(stderr, "wait at %s:%u: the awaited state did not come within %lld ms\n", where.file_name(),
                unsigned(where.line()), static_cast<long long>(limit.count()));
            return false;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return true;
}

// Runs the event loop for at least the duration and at least a few turns, so that work queued a
// few steps deep has run however slowly each turn goes (events posted during a turn wait for the
// next one).
inline void spinFor(std::chrono::milliseconds duration)
{
    QElapsedTimer clock;
    clock.start();
    for (int turn = 0; turn < 10 || clock.elapsed() < duration.count(); ++turn)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
}

// Timers armed by QTimer::singleShot and not yet due. Qt keeps each on an object of the event
// dispatcher's, which wakes the event loop when it falls due even when the object the timer was
// given is gone; work that has ended leaves none behind.
inline int armedSingleShotTimers()
{
    QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance();
    int armed = 0;
    for (QObject* child : dispatcher->children())
        armed += int(dispatcher->registeredTimers(child).size());
    return armed;
}

} // namespace tolvane::test
