// A settings file written by one process must read back whole in the next one, as after a
// restart: the parent writes through the application's backend, a child process of this same
// test binary reads it back.

#include "core/overlay/OverlaySettingsStore.h"
#include "core/overlay/PanelPositionStore.h"

#include <QCoreApplication>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace tolvane;

namespace {

const char* const childPathVariable = "TOLVANE_PERSISTENCE_CHILD_FILE";

const QString installIDKey = QStringLiteral("usagePing.installID");
const QString installID = QStringLiteral("0F8B7C0A-3E1D-4F57-9B7E-1C2D3E4F5A6B");

void writeEverything(const std::shared_ptr<UserDefaults>& defaults)
{
    OverlaySettingsStore settings(defaults);
    settings.setTriggers(VisibilityTriggers {VisibilityTriggers::shop(), VisibilityTriggers::always()});
    settings.applyPreset(SkillModePreset::smurf);
    settings.setShowFarm(false);
    settings.setUsagePingEnabled(false);
    settings.setMainWindowDismissed(true);
    settings.setWindowTextSizeIndex(2);
    settings.setTwoBuildLinked(false);
    settings.setLayout({0.2345678901234567, -0.1, 33.25});
    settings.setShopKeyCode(0);
    settings.setFallbackKeyCode(122);
    settings.setCdPanelOpacity(0.15);
    settings.setCooldownFormat(CDTimeFormat::minutesSeconds);
    defaults->set(installIDKey, installID);

    PanelPositionStore positions(defaults);
    positions.setFraction(PanelID::goldTracker, {0.3, 0.9}, RepositionMode::arena);
    positions.setFraction(PanelID::combos, {1.0 / 3.0, 0.0}, RepositionMode::summonersRift);
    positions.clearIfNewFormat(); // sets the format flag (and clears the two above)
    positions.setFraction(PanelID::goldTracker, {0.3, 0.9}, RepositionMode::arena);
    positions.setFraction(PanelID::combos, {1.0 / 3.0, 0.0}, RepositionMode::summonersRift);
}

void expectEverything(const std::shared_ptr<UserDefaults>& defaults)
{
    const OverlaySettingsStore settings(defaults);
    EXPECT_EQ(settings.triggers().rawValue, 6);
    EXPECT_EQ(settings.matchingPreset(), SkillModePreset::smurf);
    EXPECT_FALSE(settings.showPopular());
    EXPECT_FALSE(settings.showMatchup());
    EXPECT_TRUE(settings.showGold());
    EXPECT_TRUE(settings.showCooldowns());
    EXPECT_FALSE(settings.showCombos());
    EXPECT_FALSE(settings.showFarm());
    EXPECT_FALSE(settings.usagePingEnabled());
    EXPECT_TRUE(settings.mainWindowDismissed());
    EXPECT_EQ(settings.windowTextSizeIndex(), 2);
    EXPECT_FALSE(settings.twoBuildLinked());
    EXPECT_EQ(settings.layout(), (RightStackLayout {0.2345678901234567, -0.1, 33.25}));
    EXPECT_EQ(settings.shopKeyCode(), 0);
    EXPECT_EQ(settings.fallbackKeyCode(), 122);
    EXPECT_EQ(settings.cdPanelOpacity(), 0.15);
    EXPECT_EQ(settings.cooldownFormat(), CDTimeFormat(CDTimeFormat::minutesSeconds));
    EXPECT_EQ(defaults->stringValue(installIDKey), installID);

    const PanelPositionStore positions(defaults);
    EXPECT_EQ(positions.fraction(PanelID::goldTracker, RepositionMode::arena), QPointF(0.3, 0.9));
    EXPECT_EQ(positions.fraction(PanelID::combos, RepositionMode::summonersRift), QPointF(1.0 / 3.0, 0.0));
    EXPECT_FALSE(positions.fraction(PanelID::combos, RepositionMode::aram).has_value());
    EXPECT_TRUE(defaults->boolValue(PanelPositionStore::formatFlagKey));
}

TEST(SettingsPersistenceTest, EveryValueSurvivesARestart)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("Tolvane.ini"));
    {
        auto defaults = std::make_shared<QSettingsUserDefaults>(path);
        writeEverything(defaults);
    } // the backend writes the file when it goes away

    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QString::fromLatin1(childPathVariable), path);
    // A sharded run hands its shard to children too; the child must run its one case whatever
    // shard the parent is.
    environment.remove(QStringLiteral("GTEST_SHARD_INDEX"));
    environment.remove(QStringLiteral("GTEST_TOTAL_SHARDS"));
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(QCoreApplication::applicationFilePath(),
        {QStringLiteral("--gtest_filter=SettingsPersistenceChild.ReadsWhatTheParentWrote")});
    ASSERT_TRUE(child.waitForFinished(60000));
    const QString output = QString::fromUtf8(child.readAll());
    EXPECT_EQ(child.exitCode(), 0) << output.toStdString();
    EXPECT_TRUE(output.contains(QStringLiteral("[       OK ] SettingsPersistenceChild.ReadsWhatTheParentWrote")))
        << output.toStdString();
}

// Runs only inside the child process started above.
TEST(SettingsPersistenceChild, ReadsWhatTheParentWrote)
{
    const QString path = qEnvironmentVariable(childPathVariable);
    if (path.isEmpty())
        GTEST_SKIP() << "runs as the child of SettingsPersistenceTest";
    expectEverything(std::make_shared<QSettingsUserDefaults>(path));
}

// The same checks in one process, so a failure in the expectations themselves shows up here too.
TEST(SettingsPersistenceTest, InMemoryStoreHoldsTheSameValues)
{
    auto defaults = std::make_shared<InMemoryUserDefaults>();
    writeEverything(defaults);
    expectEverything(defaults);
}

} // namespace
