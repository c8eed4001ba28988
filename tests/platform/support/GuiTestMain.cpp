// main() for the GUI suites. Listing the tests needs no display, so the application object is
// made only when tests actually run.
#include "core/support/Async.h"
#include "core/support/HttpSession.h"

#include "FreshFailureRecords.h"
#include "TestWatchdog.h"

#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    if (GTEST_FLAG_GET(list_tests))
        return RUN_ALL_TESTS();
    QApplication app(argc, argv);
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
