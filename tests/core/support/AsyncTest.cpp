#include "core/support/Async.h"

#include "Await.h"

#include <gtest/gtest.h>

using namespace tolvane;
using namespace tolvane::test;
using namespace std::chrono_literals;

namespace {

QCoro::Task<int> sleepRepeatedly(CancelToken token, int times)
{
    int full = 0;
    for (int i = 0; i < times; ++i) {
        auto sleeping = sleepFor(5ms, token);
        full += co_await std::move(sleeping) ? 1 : 0;
    }
    co_return full;
}

} // namespace

TEST(CancellableSleep, FullPausesCount)
{
    CancelSource source;
    EXPECT_EQ(await(sleepRepeatedly(source.token(), 3)), 3);
    EXPECT_EQ(await(sleepRepeatedly(CancelToken {}, 2)), 2);
}

TEST(CancellableSleep, CancellationCutsTheSleepShort)
{
    CancelSource source;
    const int armed = armedSingleShotTimers();
    QTimer::singleShot(20, [&] { source.cancel(); });
    // An hour's sleep ends long before the watchdog only if the cancel cut it short.
    EXPECT_FALSE(await(sleepFor(1h, source.token())));
    EXPECT_EQ(armedSingleShotTimers(), armed) << "the hour's timer outlived the sleep";
    // Already cancelled: returns at once.
    EXPECT_FALSE(await(sleepFor(1h, source.token())));
}

TEST(SignalWait, EndsOnDestructionOfTheSender)
{
    auto* sender = new QTimer;
    QTimer::singleShot(10, [sender] { delete sender; });
    auto waiting = [](QTimer* s) -> QCoro::Task<bool> {
        auto timeout = signalOrDestroyed(s, &QTimer::timeout);
        co_return co_await timeout;
    };
    EXPECT_FALSE(await(waiting(sender)));
}
