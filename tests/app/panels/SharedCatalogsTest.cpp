// The Data Dragon catalogs the models share: fetched once per launch however many models start
// together, and a failed load handed to everyone waiting but tried again by the next asker.
#include "BuildPathFixtures.h"

#include "app/panels/ComboViewModel.h"
#include "app/panels/CooldownPanelViewModel.h"
#include "app/panels/GoldSpentViewModel.h"
#include "app/panels/SharedCatalogs.h"

#include "../../core/knowledge/FakeDDragon.h"

#include <gtest/gtest.h>

#include <map>

namespace tolvane {
namespace {

using namespace test;

class NoCombos final : public ComboProvider {
public:
    QCoro::Task<std::optional<std::vector<ChampionCombo>>> fetchCombos(QString, MetaQuery) override
    {
        co_return std::nullopt;
    }
};

std::map<QByteArray, int> requestsByFile(const test::TestHttpServer& server)
{
    std::map<QByteArray, int> counts;
    for (const test::TestRequest& request : server.requests())
        ++counts[request.path().mid(request.path().lastIndexOf('/') + 1)];
    return counts;
}

TEST(SharedCatalogs, ModelsStartingTogetherShareOneFetchOfEachCatalog)
{
    test::FakeDDragon ddragon(QStringLiteral("15.4.1"));
    test::LiveClientPeer game; // no match: the models only poll
    auto catalogs = std::make_shared<SharedCatalogs>(ddragon.base());
    GoldSpentViewModel gold(game.client(), catalogs);
    CounterBuildViewModel counter(std::make_shared<FakeMatchupProvider>(), game.client(), catalogs);
    RuneBuildViewModel rune(std::make_shared<FakeMetaBuildProvider>(), game.client(), catalogs);
    ComboViewModel combo(std::make_shared<NoCombos>(), game.client(), catalogs);
    CooldownPanelViewModel cooldown(game.client(), catalogs);
    for (SnapshotViewModel* model :
        std::initializer_list<SnapshotViewModel*> {&gold, &counter, &rune, &combo, &cooldown})
        model->start();
    // The application's own item task and the champion-select assistant ask too.
    const ItemCatalog items = await(catalogs->items());
    const ChampionCatalog champions = await(catalogs->champions());
    EXPECT_FALSE(items.totalCostByID.empty());
    EXPECT_EQ(champions.patch, QStringLiteral("15.4.1"));

    // Each model polls once it has what it waits for. Some poll more often than others, so the
    // count of polls alone does not tell that every model has its catalogs: their versions do.
    ASSERT_TRUE(test::spinUntil([&] {
        return game.polls() >= 5 && !cooldown.version().isEmpty() && !rune.version().isEmpty()
            && !counter.version().isEmpty();
    })) << "polls: " << game.polls();
    EXPECT_EQ(cooldown.version(), QStringLiteral("15.4.1"));
    EXPECT_EQ(rune.version(), QStringLiteral("15.4.1"));
    EXPECT_EQ(counter.version(), QStringLiteral("15.4.1"));
    const auto requests = requestsByFile(ddragon.server());
    EXPECT_EQ(requests.at("champion.json"), 1);
    EXPECT_EQ(requests.at("item.json"), 1);
    EXPECT_EQ(requests.at("versions.json"), 2) << "one lookup per catalog";
}

TEST(SharedCatalogs, AFailedLoadReachesItsWaitersAndTheNextAskerTriesAgain)
{
    test::FakeDDragon ddragon(QStringLiteral("15.4.1"));
    const QByteArray path = "/cdn/15.4.1/data/en_US/champion.json";
    ddragon.override(path, test::TestResponse::json("{}", 503));
    SharedCatalogs catalogs(ddragon.base());
    QCoro::Task<ChampionCatalog> first = catalogs.champions();
    QCoro::Task<ChampionCatalog> second = catalogs.champions();
    EXPECT_TRUE(await(std::move(first)).byName.empty());
    EXPECT_TRUE(await(std::move(second)).byName.empty());
    EXPECT_EQ(catalogs.championLoads(), 1);

    ddragon.override(
        path, test::TestResponse::json(test::realData(QStringLiteral("ddragon/15.4.1/data/en_US/champion.json"))));
    // A complete catalog is kept, and every asker after the load gets it whole.
    for (int ask = 0; ask < 3; ++ask)
        EXPECT_EQ(await(catalogs.champions()).patch, QStringLiteral("15.4.1")) << "ask " << ask;
    EXPECT_EQ(catalogs.championLoads(), 2) << "a complete catalog is kept";
}

} // namespace
} // namespace tolvane
