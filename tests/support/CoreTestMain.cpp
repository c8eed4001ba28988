// main() for the test executables that need only an event loop.
#include "core/support/Async.h"
#include "core/support/HttpSession.h"

#include "FreshFailureRecords.h"
#include "TestWatchdog.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::UnitTest::GetInstance()->listeners().Append(new tolvane::test::FreshFailureRecords);
    int status = 0;
    {
        // Far past any test's own waits; well inside the suite's time-out.
        tolvane::test::TestWatchdog watchdog(std::chrono::seconds(150));
        status = RUN_ALL_TESTS();
    }
    // What the last tests cancelled ends here, not as a leak.
    tolvane::finishQueuedWork();
    // The network managers' worker threads end before the program does.
    tolvane::awaitNetworkThreadsEnded();
    return status;
}
