// The tolvane program as a user starts it, each run in a home of its own: one copy per session,
// a second launch that shows the running copy's window, a socket left by a killed copy, and a
// plain word when there is no display.

#include "DesktopSupport.h"

#include "Await.h"

#include "core/overlay/OverlaySettingsStore.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace tolvane::test {
namespace {

using namespace std::chrono_literals;

const QString mainWindowTitle = QStringLiteral("Tolvane");

class SecondLaunch : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!canIsolateNetwork())
            GTEST_SKIP() << "unshare cannot give the app a network of its own here; it is not run";
    }

    void TearDown() override
    {
        for (const auto& process : launched) {
            if (process->state() != QProcess::NotRunning) {
                process->kill();
                process->waitForFinished(20000);
            }
        }
    }

    QProcess& launch()
    {
        launched.push_back(startApp(home));
        return *launched.back();
    }

    // The socket the running copy listens on (it stays behind when that copy is killed).
    bool socketExists() const
    {
        const QStringList entries = QDir(home.runtimeFolder()).entryList(QDir::System | QDir::NoDotAndDotDot);
        return std::any_of(entries.begin(), entries.end(), [](const QString& name) {
            return name.startsWith(QLatin1String("tolvane-")) && !name.endsWith(QLatin1String(".lock"));
        });
    }

    bool shows(const QProcess& process) const { return showsWindow(process.processId(), mainWindowTitle); }

    TestHome home;
    std::vector<std::unique_ptr<QProcess>> launched;
};

TEST_F(SecondLaunch, ShowsTheRunningCopysWindowAndEnds)
{
    Trayer tray;
    ASSERT_TRUE(tray.waitUntilRunning());
    // Closed last time: with a tray, the first copy starts with its icon only.
    home.store(OverlaySettingsStore::Keys::mainWindowDismissed, true);
    QProcess& first = launch();
    ASSERT_TRUE(spinUntil([&] { return socketExists(); }, 30s));

    QProcess& second = launch();
    ASSERT_TRUE(waitForExit(second, 30s)) << "a second copy kept running";
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_TRUE(spinUntil([&] { return shows(first); }, 30s));
    EXPECT_EQ(first.state(), QProcess::Running);
}

TEST_F(SecondLaunch, ASocketLeftByAKilledCopyDoesNotStopTheNext)
{
    QProcess& killed = launch();
    ASSERT_TRUE(spinUntil([&] { return shows(killed); }, 30s));
    killed.kill();
    ASSERT_TRUE(killed.waitForFinished(20000));
    ASSERT_TRUE(socketExists());

    // No tray: the copy that runs opens its window.
    QProcess& next = launch();
    ASSERT_TRUE(spinUntil([&] { return shows(next); }, 30s));
    // ...and listens: a third launch only reopens it.
    QProcess& third = launch();
    ASSERT_TRUE(waitForExit(third, 30s)) << "the copy after the killed one does not listen";
    EXPECT_EQ(third.exitCode(), 0);
    EXPECT_EQ(next.state(), QProcess::Running);
}

struct NoDisplayCase {
    const char* name;
    QString program;
    QStringList arguments;
};

class WithoutADisplay : public ::testing::TestWithParam<NoDisplayCase> { };

TEST_P(WithoutADisplay, SaysPlainlyWhatIsMissing)
{
    // A build the run script must not start: cmake here only leaves a mark.
    QTemporaryDir stubs;
    const QString mark = stubs.filePath(QStringLiteral("cmake-ran"));
    {
        QFile cmake(stubs.filePath(QStringLiteral("cmake")));
        ASSERT_TRUE(cmake.open(QIODevice::WriteOnly));
        cmake.write("#!/bin/sh\ntouch '" + QFile::encodeName(mark) + "'\nexit 3\n");
    }
    QFile::setPermissions(stubs.filePath(QStringLiteral("cmake")), QFileDevice::ReadOwner | QFileDevice::ExeOwner);

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(QString::fromLatin1(name));
    environment.insert(QStringLiteral("PATH"), stubs.path() + u':' + environment.value(QStringLiteral("PATH")));
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(GetParam().program, GetParam().arguments);
    ASSERT_TRUE(process.waitForFinished(60000));

    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(process.exitCode(), 1);
    const QStringList lines = QString::fromLocal8Bit(process.readAllStandardError()).split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 1) << qPrintable(lines.join(u'\n'));
    EXPECT_TRUE(lines[0].contains(QLatin1String("display"), Qt::CaseInsensitive)) << qPrintable(lines[0]);
    EXPECT_FALSE(QFile::exists(mark)) << "the build was started";
}

INSTANTIATE_TEST_SUITE_P(Entries, WithoutADisplay,
    ::testing::Values(NoDisplayCase {"program", QStringLiteral(TOLVANE_EXECUTABLE), {}},
        NoDisplayCase {"runScript", QStringLiteral("bash"), {QStringLiteral(TOLVANE_SOURCE_DIR "/scripts/run")}}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace tolvane::test
