// The version the app reports is the project's: the usage heartbeat sends it, the Debian package
// carries it, and it is the release the newest What's New notes are for.
#include "app/mainwindow/WhatsNewTab.h"
#include "app/startup/AppLaunch.h"

#include "core/overlay/UsagePing.h"
#include "core/overlay/UserDefaults.h"

#include <QCoreApplication>
#include <QFile>
#include <QRegularExpression>
#include <QVersionNumber>

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

TEST(AppLaunchTest, TheVersionIsTheNewestReleaseNotesAndThePackages)
{
    const QVersionNumber version = QVersionNumber::fromString(AppLaunch::version());
    ASSERT_FALSE(version.isNull());

    // "1.1 — Usage ping" is release 1.1, that is 1.1.0.
    const QString newest = WhatsNewTab().entries().front().version;
    const QVersionNumber release = QVersionNumber::fromString(newest.section(u' ', 0, 0));
    ASSERT_FALSE(release.isNull()) << "the newest notes name no release: " << newest.toStdString();
    EXPECT_EQ(version.normalized().toString(), release.normalized().toString())
        << "newest notes: " << newest.toStdString();

    QFile cpack(QStringLiteral(TOLVANE_BINARY_DIR "/CPackConfig.cmake"));
    ASSERT_TRUE(cpack.open(QIODevice::ReadOnly)) << "no package configuration in the build tree";
    const auto found = QRegularExpression(QStringLiteral("set\\(CPACK_PACKAGE_VERSION \"([^\"]*)\"\\)"))
                           .match(QString::fromUtf8(cpack.readAll()));
    ASSERT_TRUE(found.hasMatch());
    EXPECT_EQ(found.captured(1), AppLaunch::version());
}

} // namespace
} // namespace tolvane
