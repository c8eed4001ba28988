#include "core/overlay/HudZones.h"

#include <QSet>

#include <gtest/gtest.h>

using namespace tolvane;

namespace {

const HUDZone& zoneNamed(const QString& label)
{
    for (const HUDZone& zone : HUDLayout::zones(RepositionMode::summonersRift)) {
        if (zone.label == label)
            return zone;
    }
    static const HUDZone missing;
    ADD_FAILURE() << "no zone " << label.toStdString();
    return missing;
}

QRectF onWindow(const QRectF& fraction, double width, double height)
{
    return {fraction.x() * width, fraction.y() * height, fraction.width() * width, fraction.height() * height};
}

TEST(HudZonesTest, OnlySummonersRiftHasZones)
{
    EXPECT_EQ(HUDLayout::zones(RepositionMode::summonersRift).size(), 9);
    EXPECT_TRUE(HUDLayout::zones(RepositionMode::aram).isEmpty());
    EXPECT_TRUE(HUDLayout::zones(RepositionMode::arena).isEmpty());
}

TEST(HudZonesTest, MinimapSitsInTheBottomRightCorner)
{
    const QRectF minimap = onWindow(zoneNamed(QStringLiteral("Minimap")).rect, 1920, 1080);
    EXPECT_NEAR(minimap.left(), 1624.32, 1e-9);
    EXPECT_NEAR(minimap.right(), 1920, 1e-9);
    EXPECT_NEAR(minimap.top(), 820.8, 1e-9);
    EXPECT_NEAR(minimap.bottom(), 1080, 1e-9);
}

TEST(HudZonesTest, ScoreTouchesTopAndRightEdges)
{
    const QRectF score = onWindow(zoneNamed(QStringLiteral("Score \u00B7 KDA \u00B7 Timer")).rect, 1920, 1080);
    EXPECT_EQ(score.top(), 0);
    EXPECT_NEAR(score.right(), 1920, 1e-9);
}

TEST(HudZonesTest, ShopOverlapsBothScoreboardZones)
{
    const QRectF shop = zoneNamed(QStringLiteral("P-key Shop")).rect;
    EXPECT_TRUE(shop.intersects(zoneNamed(QStringLiteral("Scoreboard header")).rect));
    EXPECT_TRUE(shop.intersects(zoneNamed(QStringLiteral("Scoreboard body")).rect));
}

TEST(HudZonesTest, EveryZoneLiesInsideTheWindowWithItsOwnStableID)
{
    QSet<QUuid> ids;
    for (const HUDZone& zone : HUDLayout::zones(RepositionMode::summonersRift)) {
        EXPECT_TRUE(QRectF(0, 0, 1, 1).adjusted(-1e-9, -1e-9, 1e-9, 1e-9).contains(zone.rect))
            << zone.label.toStdString();
        EXPECT_FALSE(zone.id.isNull());
        ids.insert(zone.id);
    }
    EXPECT_EQ(ids.size(), 9);
    EXPECT_EQ(HUDLayout::zones(RepositionMode::summonersRift).first().id,
        HUDLayout::zones(RepositionMode::summonersRift).first().id);
}

} // namespace
