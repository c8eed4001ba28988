#include "core/advice/MetaBuild.h"

#include <gtest/gtest.h>

using namespace tolvane;

namespace {

// Ids: 1001 basic boots; 3006 and 3047 known boots; 3300 built from 1001 (boots line, unknown
// to the fixed list); 3400 transformed from 3300; A..E plain items; 6600 built from 3100.
constexpr int64_t A = 3100, B = 3200, C = 3500, D = 3600, E = 3700, Upgraded = 6600;

ItemCatalog catalog()
{
    return ItemCatalog({{1001, 300}, {3006, 1100}, {3047, 1100}, {3300, 900}, {3400, 900}, {A, 1000}, {B, 1000},
                           {C, 1000}, {D, 1000}, {E, 1000}, {Upgraded, 3000}},
        {{3300, {1001}}, {Upgraded, {A}}}, {{3400, 3300}});
}

MetaItem item(int64_t id)
{
    return {id, QStringLiteral("item %1").arg(id)};
}

struct Row {
    BuildSlot::Kind kind;
    int64_t id;
    bool owned;
    bool next;
    std::vector<int64_t> alternatives = {};
};

std::vector<Row> rows(const MetaBuild& build, ItemIDSet owned)
{
    std::vector<Row> out;
    for (const BuildSlot& slot : build.buildOrder(owned, catalog())) {
        Row row {slot.kind, slot.item.id, slot.owned, slot.isNext, {}};
        for (const MetaItem& alt : slot.alternatives)
            row.alternatives.push_back(alt.id);
        out.push_back(row);
    }
    return out;
}

void expectRows(const std::vector<Row>& actual, const std::vector<Row>& expected)
{
    ASSERT_EQ(actual.size(), expected.size());
    for (size_t i = 0; i < actual.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(actual[i].kind, expected[i].kind);
        EXPECT_EQ(actual[i].id, expected[i].id);
        EXPECT_EQ(actual[i].owned, expected[i].owned);
        EXPECT_EQ(actual[i].next, expected[i].next);
        EXPECT_EQ(actual[i].alternatives, expected[i].alternatives);
    }
}

using K = BuildSlot::Kind;

TEST(BuildOrder, NoBootsAnywhereMakesNoBootsRowEvenWhenBootsAreHeld)
{
    MetaBuild build;
    build.coreItems = {item(A)};
    build.situationalSlots = {{item(B)}};
    expectRows(rows(build, {3006}), {{K::core, A, false, true}, {K::situational, B, false, false}});
}

TEST(BuildOrder, HeldBootsReplaceTheBuildsBootsAndAreUsedUp)
{
    MetaBuild build;
    build.boots = item(3047);
    build.coreItems = {item(A)};
    build.situationalSlots = {{item(3006), item(3047), item(B)}};
    const auto order = build.buildOrder({3006}, catalog());
    ASSERT_EQ(order.size(), 3u);
    EXPECT_EQ(order[0].item, (MetaItem {3006, "Boots"}));
    EXPECT_TRUE(order[0].owned);
    EXPECT_EQ(order[2].item.id, B);
    EXPECT_TRUE(order[2].alternatives.empty());
}

TEST(BuildOrder, BootsComeFromCoreThenSituationalAndMakeNoCoreRow)
{
    MetaBuild build;
    build.coreItems = {item(A), item(3158), item(B)};
    expectRows(
        rows(build, {}), {{K::boots, 3158, false, false}, {K::core, A, false, true}, {K::core, B, false, false}});

    build.coreItems = {item(A)};
    build.situationalSlots = {{item(C)}, {item(3300), item(D)}};
    // 3300 is boots only through its recipe; base boots are shown unowned when only 1001 is held.
    expectRows(rows(build, {1001}),
        {{K::boots, 3300, false, false}, {K::core, A, false, true}, {K::situational, C, false, false},
            {K::situational, D, false, false}});
    // A transformed boots-line item counts as held boots.
    expectRows(rows(build, {3400}),
        {{K::boots, 3400, true, false}, {K::core, A, false, true}, {K::situational, C, false, false},
            {K::situational, D, false, false}});
}

TEST(BuildOrder, SituationalRowsPreferHeldCandidatesAndSkipUsedOnes)
{
    MetaBuild build;
    build.starterItems = {item(E), item(E)};
    build.coreItems = {item(A), item(E)};
    build.situationalSlots
        = {{item(A), item(3006)}, {item(B), item(C), item(D)}, {item(C), item(B), item(D)}, {item(D)}};
    expectRows(rows(build, {C, Upgraded}),
        {{K::starter, E, false, false}, {K::starter, E, false, false},
            {K::boots, 3006, false, false}, // the first situational boots
            {K::core, A, true, false}, // built into the upgrade
            {K::core, E, false, true}, {K::situational, C, true, false, {B, D}}, {K::situational, B, false, false, {D}},
            {K::situational, D, false, false}});
}

TEST(BuildOrder, NextIsFirstUnownedCoreOrSituationalRow)
{
    MetaBuild build;
    build.starterItems = {item(E)};
    build.situationalSlots = {{item(A)}, {item(B)}};
    expectRows(rows(build, {}),
        {{K::starter, E, false, false}, {K::situational, A, false, true}, {K::situational, B, false, false}});
    expectRows(rows(build, {A, B}),
        {{K::starter, E, false, false}, {K::situational, A, true, false}, {K::situational, B, true, false}});
}

} // namespace
