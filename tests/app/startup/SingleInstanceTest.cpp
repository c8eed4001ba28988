// A restart: the running copy gives up its name before it starts the new one, which must then
// run rather than only reopen the copy that is ending. (Two real launches: tests/app/desktop.)
#include "app/startup/SingleInstance.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace tolvane {
namespace {

TEST(SingleInstanceTest, ACopyThatReleasedItsNameLetsTheNextOneRun)
{
    QTemporaryDir dir;
    const QString name = dir.filePath(QStringLiteral("tolvane-user"));
    SingleInstance ending(name);
    ASSERT_EQ(ending.claim(), SingleInstance::Role::primary);
    ASSERT_TRUE(ending.isListening());

    ending.release();
    SingleInstance restarted(name);
    EXPECT_EQ(restarted.claim(), SingleInstance::Role::primary);
    EXPECT_TRUE(restarted.isListening());
}

} // namespace
} // namespace tolvane
