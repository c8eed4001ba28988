// The version the app reports is the project's, and the usage heartbeat sends it.
#include "app/startup/AppLaunch.h"

#include "core/overlay/UsagePing.h"
#include "core/overlay/UserDefaults.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

namespace tolvane {
namespace {

TEST(AppLaunchTest, TheApplicationCarriesTheProjectsVersion)
{
    AppLaunch::applyIdentity();
    EXPECT_EQ(QCoreApplication::applicationVersion(), QStringLiteral(TOLVANE_PROJECT_VERSION));
    EXPECT_EQ(
        UsagePing(std::make_shared<InMemoryUserDefaults>()).appVersion(), QStringLiteral(TOLVANE_PROJECT_VERSION));
}

} // namespace
} // namespace tolvane
