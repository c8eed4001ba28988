#include "core/support/ResourceBundle.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace tolvane;

namespace {
const QString kName = QStringLiteral("Tolvane_TolvaneCore.bundle");
}

class BundleSearch : public ::testing::Test {
protected:
    // Three base folders standing for the installed data folder, the executable's folder and
    // the build's resources folder.
    QStringList places() const
    {
        return {QDir(root.filePath(QStringLiteral("share"))).filePath(kName),
            QDir(root.filePath(QStringLiteral("bin"))).filePath(kName),
            QDir(root.filePath(QStringLiteral("resources"))).filePath(kName)};
    }
    void make(int place, const QString& marker)
    {
        const QString dir = places()[place];
        ASSERT_TRUE(QDir().mkpath(dir));
        QFile f(QDir(dir).filePath(QStringLiteral("marker.txt")));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(marker.toUtf8());
    }
    QTemporaryDir root;
};

TEST_F(BundleSearch, FirstExistingPlaceWins)
{
    make(2, QStringLiteral("resources"));
    auto found = ResourceBundle::locate(kName, places());
    ASSERT_TRUE(found);
    EXPECT_EQ(found->path(), places()[2]);

    make(1, QStringLiteral("bin"));
    EXPECT_EQ(ResourceBundle::locate(kName, places())->path(), places()[1]);

    make(0, QStringLiteral("share"));
    found = ResourceBundle::locate(kName, places());
    EXPECT_EQ(found->path(), places()[0]);
    EXPECT_TRUE(found->url(QStringLiteral("marker"), QStringLiteral("txt")).has_value());
    EXPECT_FALSE(found->url(QStringLiteral("absent"), QStringLiteral("json")).has_value());
}

TEST_F(BundleSearch, APlainFileIsNotABundle)
{
    QFile f(places()[0]);
    ASSERT_TRUE(QDir().mkpath(QFileInfo(places()[0]).path()));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    make(2, QStringLiteral("resources"));
    EXPECT_EQ(ResourceBundle::locate(kName, places())->path(), places()[2]);
}

TEST_F(BundleSearch, BuildTreeFindsTheCoreBundle)
{
    EXPECT_TRUE(tolvaneCoreBundle().url(QStringLiteral("riotgames"), QStringLiteral("pem")).has_value());
    EXPECT_EQ(&tolvaneCoreBundle(), &tolvaneCoreBundle());
}

using BundleSearchDeathTest = BundleSearch;

TEST_F(BundleSearchDeathTest, MissingEverywhereStopsWithTheMessage)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_DEATH(ResourceBundle::require(kName, places()),
        "Tolvane_TolvaneCore.bundle not found — resource bundle missing from app bundle");
}
