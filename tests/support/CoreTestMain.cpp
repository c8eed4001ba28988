// main() for the test executables that need only an event loop.
#include "core/support/Async.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    const int status = RUN_ALL_TESTS();
    // What the last tests cancelled ends here, not as a leak.
    tolvane::finishQueuedWork();
    return status;
}
