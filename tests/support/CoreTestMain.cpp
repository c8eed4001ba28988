// main() for the test executables that need only an event loop.
#include "core/support/Async.h"
#include "core/support/HttpSession.h"

#include "TestWatchdog.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

namespace {

// Each test starts knowing nothing of the addresses that failed the tests before it, as a new process
// would: a port one test left refusing may be another's server.
class FreshFailureRecords final : public ::testing::EmptyTestEventListener {
    void OnTestStart(const ::testing::TestInfo&) override { tolvane::HttpSession::forgetFailures(); }
};

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::UnitTest::GetInstance()->listeners().Append(new FreshFailureRecords);
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
