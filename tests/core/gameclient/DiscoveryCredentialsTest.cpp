#include "core/gameclient/ClientCredentials.h"
#include "core/gameclient/LCUDiscovery.h"

#include "LogCapture.h"

#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <QThread>

#include <gtest/gtest.h>

#include <cstdio>
#include <future>
#include <vector>

#include <unistd.h>

using namespace tolvane;

namespace {

using Parsed = std::variant<ClientCredentials, CredentialError>;

Parsed ok(int64_t port, const char* password, const char* scheme = "https")
{
    return ClientCredentials {port, QString::fromUtf8(password), QString::fromUtf8(scheme)};
}

struct ArgsCase {
    const char* name;
    QString line;
    Parsed expected;
};

void PrintTo(const ArgsCase& c, std::ostream* os)
{
    *os << c.name;
}

class ProcessArgs : public ::testing::TestWithParam<ArgsCase> { };

TEST_P(ProcessArgs, ReadsPortAndToken)
{
    EXPECT_EQ(ClientCredentials::fromProcessArgs(GetParam().line), GetParam().expected)
        << GetParam().line.toStdString();
}

const Parsed missing = CredentialError::missingProcessArgs;

INSTANTIATE_TEST_SUITE_P(Lines, ProcessArgs,
    ::testing::Values(ArgsCase {"real_shape",
                          QStringLiteral("/Applications/League of Legends.app/Contents/LoL/LeagueClientUx "
                                         "--riotclient-auth-token=abc --app-port=52437 --remoting-auth-token=Xy_z-9 "
                                         "--app-pid=4242"),
                          ok(52437, "Xy_z-9")},
        ArgsCase {"token_before_port", QStringLiteral("x --remoting-auth-token=t0k --app-port=1"), ok(1, "t0k")},
        ArgsCase {"plus_sign", QStringLiteral("--app-port=+8080 --remoting-auth-token=a"), ok(8080, "a")},
        ArgsCase {
            "int64_max", QStringLiteral("--app-port=9223372036854775807 --remoting-auth-token=a"), ok(INT64_MAX, "a")},
        ArgsCase {
            "int64_min", QStringLiteral("--app-port=-9223372036854775808 --remoting-auth-token=a"), ok(INT64_MIN, "a")},
        ArgsCase {"nbsp_ends_token", QStringLiteral("--app-port=1 --remoting-auth-token=ab\u00A0cd"), ok(1, "ab")},
        ArgsCase {
            "ideographic_space_ends_port", QStringLiteral("--app-port=7\u3000 --remoting-auth-token=a"), ok(7, "a")},
        ArgsCase {"empty_token", QStringLiteral("--app-port=1 --remoting-auth-token= --x"), ok(1, "")},
        ArgsCase {"first_port_wins", QStringLiteral("--app-port=1 --app-port=2 --remoting-auth-token=a"), ok(1, "a")},
        ArgsCase {"flag_inside_a_word", QStringLiteral("x--app-port=3 y--remoting-auth-token=q"), ok(3, "q")},
        ArgsCase {"quotes_kept_in_token", QStringLiteral("--app-port=1 --remoting-auth-token=\"a\""), ok(1, "\"a\"")},
        ArgsCase {"no_port", QStringLiteral("LeagueClientUx --remoting-auth-token=a"), missing},
        ArgsCase {"no_token", QStringLiteral("LeagueClientUx --app-port=1"), missing},
        ArgsCase {"port_then_space", QStringLiteral("--app-port= 1 --remoting-auth-token=a"), missing},
        ArgsCase {"port_with_letter", QStringLiteral("--app-port=12a --remoting-auth-token=a"), missing},
        ArgsCase {"port_too_large", QStringLiteral("--app-port=9223372036854775808 --remoting-auth-token=a"), missing},
        ArgsCase {"port_two_signs", QStringLiteral("--app-port=+-1 --remoting-auth-token=a"), missing},
        ArgsCase {"port_arabic_digits", QStringLiteral("--app-port=\u0661\u0662 --remoting-auth-token=a"), missing},
        ArgsCase {"flags_case_sensitive", QStringLiteral("--APP-PORT=1 --remoting-auth-token=a"), missing}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Lockfile, ReadsFiveFields)
{
    const Parsed bad = CredentialError::malformedLockfile;
    EXPECT_EQ(
        ClientCredentials::fromLockfileContents(QStringLiteral("LeagueClient:1234:52437:pw:https\n")), ok(52437, "pw"));
    EXPECT_EQ(ClientCredentials::fromLockfileContents(QStringLiteral("  ::-7::http \r\n")), ok(-7, "", "http"));
    EXPECT_EQ(ClientCredentials::fromLockfileContents(QStringLiteral("a:b:+1:p:")), ok(1, "p", ""));
    EXPECT_EQ(ClientCredentials::fromLockfileContents(QStringLiteral("a:b:1:p")), bad);
    EXPECT_EQ(ClientCredentials::fromLockfileContents(QStringLiteral("a:b:1:p:https:x")), bad);
    EXPECT_EQ(ClientCredentials::fromLockfileContents(QStringLiteral("a:b:port:p:https")), bad);
    EXPECT_EQ(ClientCredentials::fromLockfileContents(QStringLiteral("a:b::p:https")), bad);
    EXPECT_EQ(ClientCredentials::fromLockfileContents(QString()), bad);
}

TEST(ProcessList, TakesTheFirstLineNamingTheClient)
{
    const QByteArray out = "COMMAND\n"
                           "/usr/bin/helper --app-port=1 --remoting-auth-token=notme\n"
                           "\n"
                           "/opt/lol/LeagueClient --app-port=2 --remoting-auth-token=notme\n"
                           "/opt/lol/LeagueClientUx --app-port=3 --remoting-auth-token=me\n"
                           "/opt/lol/LeagueClientUx --app-port=4 --remoting-auth-token=later\n";
    EXPECT_EQ(LCUDiscovery::fromProcessList(out), (ClientCredentials {3, "me", "https"}));
}

TEST(ProcessList, FirstMatchingLineDecidesEvenWhenItFails)
{
    const QByteArray out = "LeagueClientUxRender --app-port=3\n"
                           "LeagueClientUx --app-port=4 --remoting-auth-token=ok\n";
    EXPECT_EQ(LCUDiscovery::fromProcessList(out), std::nullopt);
}

TEST(ProcessList, NothingWithoutBothMarkers)
{
    EXPECT_EQ(LCUDiscovery::fromProcessList("COMMAND\nLeagueClientUx --remoting-auth-token=a\n"
                                            "client --app-port=1 --remoting-auth-token=a\n"),
        std::nullopt);
    EXPECT_EQ(LCUDiscovery::fromProcessList(QByteArray()), std::nullopt);
}

// One process with a name that is not valid UTF-8 must not hide the game client.
TEST(ProcessList, InvalidUtf8ElsewhereDoesNotHideTheClient)
{
    QByteArray out = "COMMAND\n/tmp/odd\xff\xfe name\n";
    out += "/opt/lol/Le\xc3"
           "agueClientUx/LeagueClientUx --app-port=5 --remoting-auth-token=tok\n";
    EXPECT_EQ(LCUDiscovery::fromProcessList(out), (ClientCredentials {5, "tok", "https"}));
}

// Without /proc, ps says how to mount it on every run. The log tells a run of failures once, and
// when it ends, with none of the program's own complaint; a program that cannot start is told once.
TEST(ProcessLister, ARunOfFailuresIsToldOnceWithoutTheProgramsErrorOutput)
{
    test::LogCapture logs;
    LCUDiscovery::ProcessLister missing(QStringLiteral("/nonexistent/ps"), {});
    EXPECT_EQ(missing.run(), std::nullopt);
    EXPECT_EQ(missing.run(), std::nullopt);
    LCUDiscovery::ProcessLister killed(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), QStringLiteral("kill -9 $$")});
    EXPECT_EQ(killed.run(), QByteArray());

    QTemporaryDir dir;
    const QString works = dir.filePath(QStringLiteral("works"));
    LCUDiscovery::ProcessLister failing(QStringLiteral("/bin/sh"),
        {QStringLiteral("-c"),
            QStringLiteral(
                "echo COMMAND; [ -e \"$0\" ] || { echo 'Error, do this: mount -t proc proc /proc' >&2; exit 1; }"),
            works});
    std::vector<std::optional<QByteArray>> outputs;
    // This process's standard error, where a program's own would have gone, is a file meanwhile.
    QTemporaryFile errors;
    ASSERT_TRUE(errors.open());
    std::fflush(stderr);
    const int saved = ::dup(STDERR_FILENO);
    ::dup2(errors.handle(), STDERR_FILENO);
    for (int run = 0; run < 7; ++run) {
        if (run == 3)
            QFile(works).open(QIODevice::WriteOnly);
        if (run == 5)
            QFile::remove(works);
        outputs.push_back(failing.run());
    }
    std::fflush(stderr);
    ::dup2(saved, STDERR_FILENO);
    ::close(saved);
    errors.seek(0);
    EXPECT_EQ(errors.readAll().toStdString(), "");
    EXPECT_EQ(outputs[0], QByteArray("COMMAND\n")) << "the output of a failed run is still read";

    const QString cannotList = QStringLiteral("cannot list processes, so the game client cannot be found: ");
    const QList<test::LogLine> lines = logs.lines(QStringLiteral("lcu"));
    ASSERT_EQ(lines.size(), 5);
    EXPECT_EQ(lines[0].type, QtCriticalMsg);
    EXPECT_TRUE(lines[0].message.startsWith(cannotList + QStringLiteral("/nonexistent/ps could not be started (")))
        << lines[0].message.toStdString();
    EXPECT_EQ(lines[1].message, cannotList + QStringLiteral("/bin/sh was ended by a signal"));
    const QString failed = cannotList + QStringLiteral("/bin/sh exited with status 1");
    EXPECT_EQ(lines[2].message, failed);
    EXPECT_EQ(lines[3].message, QStringLiteral("/bin/sh lists processes again after 3 failed runs"));
    EXPECT_EQ(lines[4].message, failed);
}

// A child whose command line carries the client's flags, found through the real "/bin/ps".
class RealProcess : public ::testing::Test {
protected:
    void TearDown() override
    {
        if (child.state() != QProcess::NotRunning) {
            child.kill();
            child.waitForFinished(5000);
        }
    }

    static QByteArray processList()
    {
        QProcess ps;
        ps.start(QStringLiteral("/bin/ps"), {QStringLiteral("-A"), QStringLiteral("-o"), QStringLiteral("command")});
        ps.waitForFinished(15000);
        return ps.readAllStandardOutput();
    }

    // Whether some listed process carries exactly these flags.
    static bool lists(const QByteArray& listing, const ClientCredentials& credentials)
    {
        for (const QByteArray& line : listing.split('\n'))
            if (line.contains("--app-port=" + QByteArray::number(credentials.port) + ' ')
                && line.contains("--remoting-auth-token=" + credentials.password.toUtf8()))
                return true;
        return false;
    }

    QProcess child;
};

TEST_F(RealProcess, DiscoverFindsPortAndToken)
{
    const int port = 20000 + int(QRandomGenerator::global()->bounded(40000));
    const QString token = QStringLiteral("tok") + QString::number(QRandomGenerator::global()->generate64(), 36);
    const ClientCredentials ours {port, token, QStringLiteral("https")};
    test::LogCapture logs;
    // The shell waits on its input (a built-in, no child of its own), so its arguments stay in the
    // list until it is killed.
    child.start(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), QStringLiteral("read -r _"), QStringLiteral("LeagueClientUx"),
        QStringLiteral("--app-port=%1").arg(port), QStringLiteral("--remoting-auth-token=") + token});
    ASSERT_TRUE(child.waitForStarted());

    // Discovery blocks, as it would on the poller's worker thread. Another copy of this suite, a
    // stand-in match or a real client may be listed before ours: what is found must then be that
    // process's own port and token (listed just before or just after the discovery).
    for (int attempt = 1;; ++attempt) {
        const QByteArray before = processList();
        const auto found = std::async(std::launch::async, [] { return LCUDiscovery::discover(); }).get();
        ASSERT_TRUE(found.has_value()) << "no game client found, ours included";
        if (found->password == token) {
            EXPECT_EQ(*found, ours);
            break;
        }
        if (lists(before, *found) || lists(processList(), *found))
            break;
        ASSERT_LT(attempt, 5) << "found a port and token that no listed process carries";
    }

    child.kill();
    child.waitForFinished(5000);
    auto after = LCUDiscovery::discover();
    EXPECT_TRUE(!after || after->password != token);
    EXPECT_TRUE(logs.lines(QStringLiteral("lcu")).isEmpty()) << "a working ps is not worth a log line";
}

} // namespace
