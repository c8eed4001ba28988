#include "DefaultsBackends.h"

#include "Await.h"
#include "LogCapture.h"

#include <QFile>
#include <QLockFile>
#include <QProcess>
#include <QSettings>
#include <QStandardPaths>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QVariantList>

#include <limits>

using namespace tolvane;
using tolvane::test::DefaultsBackendTest;
using tolvane::test::LogCapture;
using tolvane::test::spinFor;
using tolvane::test::spinUntil;

namespace {

class UserDefaultsTest : public DefaultsBackendTest { };

TEST_P(UserDefaultsTest, NeverWrittenKeyHasNoObjectAndReadsTypedZero)
{
    const QString key = QStringLiteral("settings.showGold");
    EXPECT_FALSE(defaults->object(key).has_value());
    EXPECT_FALSE(defaults->contains(key));
    EXPECT_FALSE(defaults->boolValue(key));
    EXPECT_EQ(defaults->integerValue(key), 0);
    EXPECT_EQ(defaults->doubleValue(key), 0.0);
    EXPECT_FALSE(defaults->stringValue(key).has_value());
    EXPECT_FALSE(defaults->arrayValue(key).has_value());

    defaults->set(QStringLiteral("zero"), qint64(0));
    EXPECT_TRUE(defaults->contains(QStringLiteral("zero"))); // stored zero is a value, not "never written"
}

TEST_P(UserDefaultsTest, TypedValuesComeBackIntact)
{
    defaults->set(QStringLiteral("bool"), true);
    defaults->set(QStringLiteral("big"), qint64(5'000'000'123));
    defaults->set(QStringLiteral("inset"), 0.1);
    defaults->set(QStringLiteral("raise"), -0.123456789012345);
    defaults->set(QStringLiteral("text"), QStringLiteral("m:ss, seconds = \"quoted\" · ünï"));

    EXPECT_TRUE(defaults->boolValue(QStringLiteral("bool")));
    EXPECT_EQ(defaults->integerValue(QStringLiteral("big")), 5'000'000'123);
    EXPECT_EQ(defaults->doubleValue(QStringLiteral("inset")), 0.1);
    EXPECT_EQ(defaults->doubleValue(QStringLiteral("raise")), -0.123456789012345);
    EXPECT_EQ(defaults->stringValue(QStringLiteral("text")), QStringLiteral("m:ss, seconds = \"quoted\" · ünï"));
}

TEST_P(UserDefaultsTest, ReadingsConvertBetweenNumberKinds)
{
    defaults->set(QStringLiteral("int"), qint64(7));
    defaults->set(QStringLiteral("real"), 3.9);
    defaults->set(QStringLiteral("yes"), true);
    EXPECT_EQ(defaults->doubleValue(QStringLiteral("int")), 7.0);
    EXPECT_EQ(defaults->integerValue(QStringLiteral("real")), 3);
    EXPECT_EQ(defaults->stringValue(QStringLiteral("int")), QStringLiteral("7"));
    EXPECT_TRUE(defaults->boolValue(QStringLiteral("int")));
    EXPECT_EQ(defaults->integerValue(QStringLiteral("yes")), 1);
    defaults->set(QStringLiteral("huge"), 1e300);
    EXPECT_EQ(defaults->integerValue(QStringLiteral("huge")), 0);
}

TEST_P(UserDefaultsTest, UnconvertibleTextReadsTypedZero)
{
    defaults->set(QStringLiteral("word"), QStringLiteral("banana"));
    EXPECT_TRUE(defaults->contains(QStringLiteral("word")));
    EXPECT_FALSE(defaults->boolValue(QStringLiteral("word")));
    EXPECT_EQ(defaults->integerValue(QStringLiteral("word")), 0);
    EXPECT_EQ(defaults->doubleValue(QStringLiteral("word")), 0.0);
    EXPECT_FALSE(defaults->arrayValue(QStringLiteral("word")).has_value());
}

TEST_P(UserDefaultsTest, ListsKeepTheirLengthAndNumbers)
{
    defaults->set(QStringLiteral("two"), QVariantList {0.5, 0.25});
    defaults->set(QStringLiteral("three"), QVariantList {0.5, 0.25, 1.0});

    const auto two = defaults->arrayValue(QStringLiteral("two"));
    ASSERT_TRUE(two.has_value());
    ASSERT_EQ(two->size(), 2);
    EXPECT_EQ(UserDefaults::toNumber(two->at(0)), 0.5);
    EXPECT_EQ(UserDefaults::toNumber(two->at(1)), 0.25);
    ASSERT_TRUE(defaults->arrayValue(QStringLiteral("three")).has_value());
    EXPECT_EQ(defaults->arrayValue(QStringLiteral("three"))->size(), 3);
}

TEST_P(UserDefaultsTest, RemoveMakesTheKeyNeverWrittenAgain)
{
    defaults->set(QStringLiteral("k"), true);
    defaults->remove(QStringLiteral("k"));
    EXPECT_FALSE(defaults->contains(QStringLiteral("k")));
    defaults->remove(QStringLiteral("absent")); // removing an absent key does nothing
    EXPECT_FALSE(defaults->contains(QStringLiteral("absent")));
}

TEST_P(UserDefaultsTest, KeysWithDotsStayApart)
{
    defaults->set(QStringLiteral("panelFraction.goldTracker.sr"), QVariantList {0.1, 0.2});
    defaults->set(QStringLiteral("panelFraction.goldTracker"), QVariantList {0.3, 0.4});
    defaults->remove(QStringLiteral("panelFraction.goldTracker"));
    EXPECT_TRUE(defaults->contains(QStringLiteral("panelFraction.goldTracker.sr")));
}

TOLVANE_ALL_BACKENDS(UserDefaultsTest);

TEST(UserDefaultsConversionTest, NumbersFromTextMustBeWhollyNumeric)
{
    EXPECT_EQ(UserDefaults::toNumber(QStringLiteral("0.5")), 0.5);
    EXPECT_FALSE(UserDefaults::toNumber(QStringLiteral("0.5x")).has_value());
    EXPECT_FALSE(UserDefaults::toNumber(QStringLiteral("a")).has_value());
    EXPECT_FALSE(UserDefaults::toNumber(QVariant(true)).has_value());
    EXPECT_FALSE(UserDefaults::toNumber(QVariant()).has_value());
}

} // namespace

namespace {

// The application's own file: Tolvane/Tolvane.ini in the user's XDG config folder. Only the name
// is looked at; nothing is written.
TEST(QSettingsUserDefaultsTest, ApplicationFileLivesInTheXdgConfigFolder)
{
    const QSettingsUserDefaults standard;
    const QString configHome = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    EXPECT_EQ(standard.fileName(), configHome + QStringLiteral("/Tolvane/Tolvane.ini"));
}

// A writer killed while holding the settings lock leaves it empty or naming a dead process. Such a
// lock must be gone before the first write, which would otherwise wait 30 s for it to go stale;
// a lock held by a live process stays.
TEST(QSettingsUserDefaultsTest, LocksWithoutALiveOwnerAreClearedAtOpening)
{
    QProcess finished;
    finished.start(QStringLiteral("/bin/true"));
    ASSERT_TRUE(finished.waitForStarted());
    const qint64 deadPid = finished.processId();
    ASSERT_TRUE(finished.waitForFinished());

    const QByteArray deadOwner
        = QByteArray::number(deadPid) + "\ntolvane\n" + QSysInfo::machineHostName().toUtf8() + "\n";
    for (const QByteArray& contents : {QByteArray(), deadOwner}) {
        QTemporaryDir dir;
        const QString ini = dir.filePath(QStringLiteral("Tolvane.ini"));
        QFile lock(ini + QStringLiteral(".lock"));
        ASSERT_TRUE(lock.open(QIODevice::WriteOnly));
        lock.write(contents);
        lock.close();

        {
            QSettingsUserDefaults store(ini);
            EXPECT_FALSE(lock.exists()) << contents.constData();
            store.set(QStringLiteral("settings.showGold"), false);
            store.sync();
        }
        QSettings written(ini, QSettings::IniFormat);
        EXPECT_EQ(written.status(), QSettings::NoError);
        EXPECT_EQ(written.value(QStringLiteral("settings.showGold")).toString(), QStringLiteral("false"));
    }

    QTemporaryDir dir;
    const QString ini = dir.filePath(QStringLiteral("Tolvane.ini"));
    QLockFile held(ini + QStringLiteral(".lock"));
    ASSERT_TRUE(held.tryLock(0));
    const QSettingsUserDefaults store(ini);
    EXPECT_TRUE(QFile::exists(ini + QStringLiteral(".lock")));
    EXPECT_TRUE(held.isLocked());
}

// A lock the settings library cannot judge stale for 30 s (another machine's, or a live process of
// this program's name) must neither hold up the launch nor the writes: the stored values are read
// without it, changes wait in memory, and they reach the file, beside what it held, once the lock
// goes.
TEST(QSettingsUserDefaultsTest, ALockHeldElsewhereHoldsNothingUpAndLosesNothing)
{
    for (const bool otherHost : {true, false}) {
        SCOPED_TRACE(otherHost ? "another host" : "a live process of this name");
        LogCapture logs;
        QTemporaryDir dir;
        const QString ini = dir.filePath(QStringLiteral("Tolvane.ini"));
        {
            QSettings stored(ini, QSettings::IniFormat);
            stored.setValue(QStringLiteral("settings.showGold"), true);
        }
        const QString lockPath = ini + QStringLiteral(".lock");
        QLockFile ours(lockPath);
        if (otherHost) {
            QFile lock(lockPath);
            ASSERT_TRUE(lock.open(QIODevice::WriteOnly));
            lock.write("4242\ntolvane\nsome-other-machine.example\n");
        } else {
            ASSERT_TRUE(ours.tryLock(0));
        }
        const auto onDisk = [&] {
            QFile file(ini);
            return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        };

        {
            QSettingsUserDefaults store(ini);
            EXPECT_TRUE(logs.contains(QStringLiteral("going on with the values stored there, read without the lock")));
            EXPECT_TRUE(store.boolValue(QStringLiteral("settings.showGold")));
            store.set(QStringLiteral("settings.textSize"), qint64(3));
            store.remove(QStringLiteral("settings.showGold"));
            store.sync();
            EXPECT_EQ(store.integerValue(QStringLiteral("settings.textSize")), 3);
            EXPECT_FALSE(store.contains(QStringLiteral("settings.showGold")));
            // Held past a retry of the writer: the tries must go on after a failed one.
            spinFor(QSettingsUserDefaults::retryEvery + std::chrono::milliseconds(200));
            EXPECT_TRUE(QFile::exists(lockPath)) << "the lock was taken from its holder";
            EXPECT_FALSE(onDisk().contains("textSize")) << "written under someone else's lock";

            if (otherHost)
                QFile::remove(lockPath);
            else
                ours.unlock();
            EXPECT_TRUE(spinUntil([&] { return onDisk().contains("settings.textSize=3"); }))
                << "the changes were not written once the lock was free";
        }
        EXPECT_TRUE(onDisk().contains("settings.textSize=3"));
        EXPECT_FALSE(onDisk().contains("showGold"));
        EXPECT_TRUE(logs.contains(QStringLiteral("now that its lock is free")));
    }
}

// A change is on disk soon after it is made, with no explicit sync and while the store lives (a
// process killed later keeps it), and a store that wrote everything says nothing when it goes.
TEST(QSettingsUserDefaultsTest, AChangeReachesTheFileByItself)
{
    LogCapture logs;
    QTemporaryDir dir;
    const QString ini = dir.filePath(QStringLiteral("Tolvane.ini"));
    {
        QSettingsUserDefaults store(ini);
        store.set(QStringLiteral("settings.textSize"), qint64(2));
        EXPECT_TRUE(spinUntil([&] {
            return QSettings(ini, QSettings::IniFormat).value(QStringLiteral("settings.textSize")).toLongLong() == 2;
        })) << "the change stayed in memory";
    }
    for (const auto& line : logs.lines(QStringLiteral("settings")))
        ADD_FAILURE() << "logged: " << line.message.toStdString();
}

} // namespace
