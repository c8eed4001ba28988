#include "app/panels/BuildPathLayout.h"

#include "BuildPathFixtures.h"

#include <gtest/gtest.h>

using namespace tolvane;
using namespace tolvane::test;

namespace {

std::vector<int64_t> ids(const std::vector<BuildSlot>& row)
{
    std::vector<int64_t> out;
    for (const BuildSlot& s : row)
        out.push_back(s.item.id);
    return out;
}

MetaBuild coreOnly(int count)
{
    MetaBuild b;
    for (int i = 0; i < count; ++i)
        b.coreItems.push_back({4000 + i, QStringLiteral("core %1").arg(i)});
    return b;
}

} // namespace

TEST(BuildPathLayout, SplitsTheOrderIntoStartersPathNextAndBoots)
{
    const BuildPathLayout layout = BuildPathLayout::make(marksmanBuild(), {}, realItems());
    EXPECT_EQ(ids(layout.starters), (std::vector<int64_t> {1055, 2003}));
    EXPECT_EQ(ids(layout.pathTiles), (std::vector<int64_t> {6672, 3031, 3046, 3036, 3072}));
    EXPECT_FALSE(layout.overflowText);
    ASSERT_TRUE(layout.boots);
    EXPECT_EQ(layout.boots->item.id, 3006);
    EXPECT_FALSE(layout.boots->owned);
    ASSERT_TRUE(layout.next);
    EXPECT_EQ(layout.next->slot.item.id, 6672);
    EXPECT_TRUE(layout.pathTiles[0].isNext);
    EXPECT_EQ(layout.next->costText, QStringLiteral("3100g"));
    EXPECT_TRUE(layout.next->alternatives.empty());
    EXPECT_EQ(layout.next->recipe.size(), 3u);
}

TEST(BuildPathLayout, NextCardCountsWhatIsHeldAndMarksHeldComponents)
{
    // Kraken Slayer done, a Pickaxe held towards Infinity Edge (B. F. Sword, Pickaxe, Cloak).
    const BuildPathLayout layout = BuildPathLayout::make(marksmanBuild(), {6672, 1037}, realItems());
    ASSERT_TRUE(layout.next);
    EXPECT_EQ(layout.next->slot.item.id, 3031);
    EXPECT_TRUE(layout.pathTiles[0].owned);
    EXPECT_FALSE(layout.pathTiles[0].isNext);
    EXPECT_EQ(layout.next->costText, QStringLiteral("%1g").arg(3450 - 875));
    EXPECT_EQ(
        layout.next->recipe, (std::vector<BuildPathLayout::Component> {{1038, false}, {1037, true}, {1018, false}}));
}

TEST(BuildPathLayout, NextSituationalSlotShowsTwoAlternatives)
{
    const BuildPathLayout layout = BuildPathLayout::make(marksmanBuild(), {6672, 3031, 3046, 3036}, realItems());
    ASSERT_TRUE(layout.next);
    EXPECT_EQ(layout.next->slot.item.id, 3072);
    EXPECT_EQ(layout.next->slot.alternatives.size(), 3u);
    ASSERT_EQ(layout.next->alternatives.size(), 2u);
    EXPECT_EQ(layout.next->alternatives[0].id, 3033);
    EXPECT_EQ(layout.next->alternatives[1].id, 3094);
}

TEST(BuildPathLayout, EverythingHeldOrNothingToBuyIsComplete)
{
    EXPECT_FALSE(BuildPathLayout::make(marksmanBuild(), {6672, 3031, 3046, 3036, 3072, 3006}, realItems()).next);
    MetaBuild startersOnly;
    startersOnly.starterItems = {named(1055, "Doran's Blade")};
    const BuildPathLayout layout = BuildPathLayout::make(startersOnly, {}, realItems());
    EXPECT_FALSE(layout.next);
    EXPECT_TRUE(layout.pathTiles.empty());
    EXPECT_FALSE(layout.boots);
}

TEST(BuildPathLayout, HeldBootsAreTheBootsRow)
{
    const BuildPathLayout layout = BuildPathLayout::make(marksmanBuild(), {3047}, realItems());
    ASSERT_TRUE(layout.boots);
    EXPECT_EQ(layout.boots->item.id, 3047);
    EXPECT_TRUE(layout.boots->owned);
}

TEST(BuildPathLayout, BeforeTheCatalogArrivesThereIsNoCostAndNoRecipe)
{
    MetaBuild b = marksmanBuild();
    b.coreItems.clear();
    const BuildPathLayout layout = BuildPathLayout::make(b, {3036}, ItemCatalog::empty());
    ASSERT_TRUE(layout.next);
    EXPECT_EQ(layout.next->slot.item.id, 3072);
    EXPECT_FALSE(layout.next->costText);
    EXPECT_TRUE(layout.next->recipe.empty());
    EXPECT_EQ(layout.next->alternatives.size(), 2u);
}

struct CostCase {
    const char* what;
    ItemIDSet owned;
    std::optional<QString> text;
};

class NextCost : public ::testing::TestWithParam<CostCase> { };

TEST_P(NextCost, ShownOnlyWhenSomeGoldIsLeft)
{
    // 100 costs 1 and has no recipe; 200 costs 500, made of 201 which costs 500; 300 is unknown.
    const ItemCatalog catalog({{100, 1}, {200, 500}, {201, 500}}, {{200, {201}}}, {});
    const CostCase& c = GetParam();
    MetaBuild b;
    b.coreItems = {{100, QStringLiteral("a")}, {200, QStringLiteral("b")}, {300, QStringLiteral("c")}};
    const BuildPathLayout layout = BuildPathLayout::make(b, c.owned, catalog);
    ASSERT_TRUE(layout.next) << c.what;
    EXPECT_EQ(layout.next->costText, c.text) << c.what;
}

INSTANTIATE_TEST_SUITE_P(Costs, NextCost,
    ::testing::Values(CostCase {"one gold", {}, QStringLiteral("1g")},
        CostCase {"nothing left once the component is held", {100, 201}, std::nullopt},
        CostCase {"unknown item", {100, 200}, std::nullopt}));

struct OverflowCase {
    int pathSlots;
    size_t tiles;
    std::optional<QString> overflow;
};

class PathOverflow : public ::testing::TestWithParam<OverflowCase> { };

TEST_P(PathOverflow, SixTilesThenACount)
{
    const OverflowCase& c = GetParam();
    const BuildPathLayout layout = BuildPathLayout::make(coreOnly(c.pathSlots), {}, ItemCatalog::empty());
    EXPECT_EQ(layout.pathTiles.size(), c.tiles);
    EXPECT_EQ(layout.overflowText, c.overflow);
}

INSTANTIATE_TEST_SUITE_P(Counts, PathOverflow,
    ::testing::Values(OverflowCase {0, 0, std::nullopt}, OverflowCase {6, 6, std::nullopt},
        OverflowCase {7, 6, QStringLiteral("+1")}, OverflowCase {9, 6, QStringLiteral("+3")}));

TEST(BuildPathLayout, NextMayLieBeyondTheShownTiles)
{
    ItemIDSet owned;
    for (int i = 0; i < 7; ++i)
        owned.insert(4000 + i);
    const BuildPathLayout layout = BuildPathLayout::make(coreOnly(8), owned, ItemCatalog::empty());
    ASSERT_TRUE(layout.next);
    EXPECT_EQ(layout.next->slot.item.id, 4007);
}
