// The game's cooldown format read from its configuration text and file, and the launch's choice
// between the stored format, the game's and seconds.
#include "app/startup/LeagueGameSettings.h"

#include "core/overlay/OverlaySettingsStore.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace tolvane {
namespace {

using Format = std::optional<CDTimeFormat>;

struct TextCase {
    const char* name;
    QString text;
    Format expected;
};

void PrintTo(const TextCase& c, std::ostream* os)
{
    *os << c.name;
}

class GameConfigText : public ::testing::TestWithParam<TextCase> { };

TEST_P(GameConfigText, GivesTheFormatOfTheFirstUsableLine)
{
    const TextCase& c = GetParam();
    EXPECT_EQ(LeagueGameSettings::cooldownFormatFromText(c.text), c.expected) << c.name;
}

const CDTimeFormat mss = CDTimeFormat::minutesSeconds;
const CDTimeFormat secs = CDTimeFormat::seconds;
const CDTimeFormat mins = CDTimeFormat::minutes;

INSTANTIATE_TEST_SUITE_P(Lines, GameConfigText,
    ::testing::Values(TextCase {"zero", QStringLiteral("[General]\nNumericCooldownFormat=0\n"), mss},
        TextCase {"two with blanks", QStringLiteral("  NumericCooldownFormat \t=  2 \t"), mins},
        TextCase {"one", QStringLiteral("NumericCooldownFormat=1"), secs},
        TextCase {"minus three", QStringLiteral("NumericCooldownFormat=-3"), secs},
        TextCase {"plus two", QStringLiteral("NumericCooldownFormat=+2"), mins},
        TextCase {"later line after a non-number",
            QStringLiteral("NumericCooldownFormat=abc\nOther=0\nNumericCooldownFormat=2"), mins},
        TextCase {"first usable line wins", QStringLiteral("NumericCooldownFormat=0\nNumericCooldownFormat=2"), mss},
        TextCase {"other case", QStringLiteral("numericcooldownformat=2"), std::nullopt},
        TextCase {"two equals", QStringLiteral("NumericCooldownFormat==2"), std::nullopt},
        TextCase {"nothing after equals", QStringLiteral("NumericCooldownFormat=\n"), std::nullopt},
        TextCase {"no equals", QStringLiteral("NumericCooldownFormat 2"), std::nullopt},
        TextCase {"leading equals skipped", QStringLiteral("=NumericCooldownFormat=2"), mins},
        TextCase {"fraction", QStringLiteral("NumericCooldownFormat=2.0"), std::nullopt},
        TextCase {"beyond 64 bits", QStringLiteral("NumericCooldownFormat=99999999999999999999"), std::nullopt},
        TextCase {"non-ASCII digit", QStringLiteral("NumericCooldownFormat=\u0662"), std::nullopt},
        TextCase {"no-break space trimmed", QStringLiteral("NumericCooldownFormat=\u00a02"), mins},
        TextCase {"CR LF", QStringLiteral("[General]\r\nA=1\r\nNumericCooldownFormat=0\r\n"), mss},
        TextCase {"CR alone", QStringLiteral("A=1\rNumericCooldownFormat=2\r"), mins},
        TextCase {"line separator", QStringLiteral("A=1\u2028NumericCooldownFormat=2"), mins},
        TextCase {"next line", QStringLiteral("A=1\u0085NumericCooldownFormat=0"), mss},
        TextCase {"form feed ends the value", QStringLiteral("NumericCooldownFormat=2\f7"), mins}));

class GameConfigFile : public ::testing::Test {
protected:
    QString write(const QByteArray& bytes)
    {
        const QString path = dir.filePath(QStringLiteral("game.cfg"));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }

    QTemporaryDir dir;
    std::shared_ptr<InMemoryUserDefaults> defaults = std::make_shared<InMemoryUserDefaults>();
    OverlaySettingsStore settings {defaults};
};

TEST_F(GameConfigFile, ReadsTheFileAndGivesNoneWhenItCannotBeRead)
{
    EXPECT_EQ(LeagueGameSettings::cooldownFormat(write("[General]\r\nNumericCooldownFormat=2\r\n")), mins);
    EXPECT_EQ(LeagueGameSettings::cooldownFormat(write("NumericCooldownFormat=2\n\xff\xfe")), std::nullopt)
        << "a file that is not UTF-8";
    EXPECT_EQ(LeagueGameSettings::cooldownFormat(dir.filePath(QStringLiteral("absent.cfg"))), std::nullopt);
    EXPECT_EQ(LeagueGameSettings::cooldownFormat(dir.path()), std::nullopt) << "a folder";
}

TEST_F(GameConfigFile, AFileFarLargerThanASettingsFileIsNotRead)
{
    QByteArray bytes("NumericCooldownFormat=2\n");
    bytes.append(QByteArray(LeagueGameSettings::maximumFileSize, '#'));
    EXPECT_EQ(LeagueGameSettings::cooldownFormat(write(bytes)), std::nullopt);
}

TEST_F(GameConfigFile, APipeAtThePathIsNotOpened)
{
    // Opening a pipe for reading waits for a writer: the launch would never go on.
    const QString path = dir.filePath(QStringLiteral("game.cfg"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    EXPECT_EQ(LeagueGameSettings::cooldownFormat(path), std::nullopt);
}

TEST_F(GameConfigFile, TheGameIsFoundInTheWinePrefixOfTheHomeFolder)
{
    const QByteArray home = qgetenv("HOME");
    qputenv("HOME", QFile::encodeName(dir.path()));
    EXPECT_EQ(LeagueGameSettings::cooldownFormat(), std::nullopt) << "no game installed";
    const QString config
        = dir.filePath(QStringLiteral("Games/league-of-legends/drive_c/Riot Games/League of Legends/Config"));
    ASSERT_TRUE(QDir().mkpath(config));
    QFile file(config + QStringLiteral("/game.cfg"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[General]\r\nNumericCooldownFormat=2\r\n");
    file.close();
    const auto found = LeagueGameSettings::cooldownFormat();
    const CDTimeFormat settled = settleCDFormat(settings);
    qputenv("HOME", home);
    EXPECT_EQ(found, mins);
    EXPECT_EQ(settled, mins);
}

TEST_F(GameConfigFile, AStoredChoiceWinsOverTheGamesSetting)
{
    const QString path = write("NumericCooldownFormat=0\n");
    defaults->set(OverlaySettingsStore::Keys::cooldownFormat, QStringLiteral("minutes"));
    EXPECT_EQ(resolveCDFormat(settings, path), mins);
    EXPECT_EQ(settleCDFormat(settings, path), mins);
    EXPECT_EQ(defaults->stringValue(OverlaySettingsStore::Keys::cooldownFormat), QStringLiteral("minutes"));
}

TEST_F(GameConfigFile, WithoutAStoredChoiceTheGamesSettingIsStored)
{
    const QString path = write("NumericCooldownFormat=0\n");
    EXPECT_EQ(settleCDFormat(settings, path), mss);
    EXPECT_EQ(defaults->stringValue(OverlaySettingsStore::Keys::cooldownFormat), QStringLiteral("m:ss"));

    // Kept from now on, whatever the game's file says later.
    write("NumericCooldownFormat=2\n");
    EXPECT_EQ(settleCDFormat(settings, path), mss);
}

TEST_F(GameConfigFile, AnUnrecognisedStoredTextCountsAsNoChoice)
{
    defaults->set(OverlaySettingsStore::Keys::cooldownFormat, QStringLiteral("Minutes"));
    EXPECT_EQ(settleCDFormat(settings, write("NumericCooldownFormat=0\n")), mss);
    EXPECT_EQ(defaults->stringValue(OverlaySettingsStore::Keys::cooldownFormat), QStringLiteral("m:ss"));
}

TEST_F(GameConfigFile, WithoutTheGameSecondsAreStored)
{
    EXPECT_EQ(settleCDFormat(settings, dir.filePath(QStringLiteral("absent.cfg"))), secs);
    EXPECT_EQ(defaults->stringValue(OverlaySettingsStore::Keys::cooldownFormat), QStringLiteral("seconds"));
}

} // namespace
} // namespace tolvane
