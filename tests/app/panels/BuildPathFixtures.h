#pragma once
// Shared pieces of the build-panel tests: snapshots made in code, the real Data Dragon catalogs,
// a sample marksman build, a settable clock and fake statistics-service providers.

#include "app/panels/CounterBuildViewModel.h"
#include "app/panels/RuneBuildViewModel.h"
#include "core/advice/MatchupAdvice.h"
#include "core/advice/MetaBuild.h"
#include "core/advice/MetaBuildProvider.h"
#include "core/advice/MetrionMatchupProvider.h"
#include "app/panels/BuildPathRows.h"
#include "core/gameclient/AllGameData.h"
#include "core/knowledge/ChampionCatalog.h"
#include "core/knowledge/DDragon.h"
#include "core/knowledge/ItemCatalog.h"

#include "Await.h"
#include "PanelTestSupport.h"

#include <QDir>
#include <QImage>
#include <QString>

#include <chrono>
#include <functional>
#include <optional>
#include <vector>

namespace tolvane {

// Single snapshots handed to the view models, past their polling loop.
struct RuneBuildViewModelProbe {
    static void setCatalog(RuneBuildViewModel& vm, ChampionCatalog catalog) { vm.catalog_ = std::move(catalog); }
    static void setVersion(RuneBuildViewModel& vm, QString version) { vm.setVersion(std::move(version)); }
    static void handle(RuneBuildViewModel& vm, std::optional<AllGameData> data)
    {
        test::await(vm.handle(std::move(data)));
    }
};

struct CounterBuildViewModelProbe {
    static void setCatalog(CounterBuildViewModel& vm, ChampionCatalog catalog)
    {
        vm.catalog_ = std::move(catalog);
        vm.lineup_.reset();
    }
    static void setVersion(CounterBuildViewModel& vm, QString version) { vm.setVersion(std::move(version)); }
    static void setAdvice(CounterBuildViewModel& vm, std::optional<CounterBuildAdvice> advice)
    {
        vm.setAdvice(std::move(advice));
    }
    static void setMatchup(CounterBuildViewModel& vm, std::optional<MatchupAdvice> matchup)
    {
        vm.setMatchup(std::move(matchup));
    }
    static void setThreats(
        CounterBuildViewModel& vm, std::optional<ThreatProfile> ally, std::optional<ThreatProfile> enemy)
    {
        vm.setAllyThreat(std::move(ally));
        vm.setEnemyThreat(std::move(enemy));
    }
    static void setOwned(CounterBuildViewModel& vm, ItemIDSet owned) { vm.setOwned(std::move(owned)); }
    static void setLanerNote(CounterBuildViewModel& vm, std::optional<QString> note)
    {
        vm.setLanerNote(std::move(note));
    }
    static void handle(CounterBuildViewModel& vm, std::optional<AllGameData> data)
    {
        test::await(vm.handle(std::move(data)));
    }
};

} // namespace tolvane

namespace tolvane::test {

inline const ItemCatalog& realItems()
{
    static const ItemCatalog catalog
        = *ItemCatalog::decode(realData(QStringLiteral("ddragon/15.4.1/data/en_US/item.json"))).value;
    return catalog;
}

inline const ChampionCatalog& realChampions()
{
    static const ChampionCatalog catalog = *ChampionCatalog::decode(
        realData(QStringLiteral("ddragon/15.4.1/data/en_US/champion.json")), QStringLiteral("15.4.1"))
                                                .value;
    return catalog;
}

inline LivePlayer player(const QString& name, const QString& champion, const QString& team,
    std::optional<QString> position, std::vector<int64_t> items = {})
{
    LivePlayer p;
    p.summonerName = name;
    p.championName = champion;
    p.team = team;
    p.position = std::move(position);
    for (int64_t id : items)
        p.items.push_back({id, 0, 1});
    return p;
}

// A lane game seen by "me" (the ORDER marksman) unless the players are replaced.
inline AllGameData laneGame(std::vector<int64_t> myItems = {}, std::optional<QString> mode = QStringLiteral("CLASSIC"),
    std::optional<int64_t> map = 11)
{
    AllGameData d;
    d.activePlayer = ActivePlayer {QStringLiteral("me"), std::nullopt};
    d.gameData.gameTime = 300;
    d.gameData.gameMode = std::move(mode);
    d.gameData.mapNumber = map;
    const QString order = QStringLiteral("ORDER"), chaos = QStringLiteral("CHAOS");
    d.allPlayers = {
        player("a1", "Darius", order, "TOP"),
        player("a2", "Lee Sin", order, "JUNGLE"),
        player("a3", "Ahri", order, "MIDDLE"),
        player("me", "Caitlyn", order, "BOTTOM", std::move(myItems)),
        player("a5", "Leona", order, "UTILITY"),
        player("e1", "Garen", chaos, "TOP"),
        player("e2", "Vi", chaos, "JUNGLE"),
        player("e3", "Zed", chaos, "MIDDLE"),
        player("e4", "Jinx", chaos, "BOTTOM"),
        player("e5", "Lux", chaos, "UTILITY"),
    };
    return d;
}

inline LivePlayer& playerNamed(AllGameData& d, const QString& name)
{
    for (LivePlayer& p : d.allPlayers)
        if (p.summonerName == name)
            return p;
    std::abort();
}

inline MetaItem named(int64_t id, const char* name)
{
    return {id, QString::fromUtf8(name)};
}

// Doran's Blade and a potion to start, Berserker's Greaves, then three core items and two
// situational slots (the second with three candidates).
inline MetaBuild marksmanBuild()
{
    MetaBuild b;
    b.starterItems = {named(1055, "Doran's Blade"), named(2003, "Health Potion")};
    b.boots = named(3006, "Berserker's Greaves");
    b.coreItems = {named(6672, "Kraken Slayer"), named(3031, "Infinity Edge"), named(3046, "Phantom Dancer")};
    b.situationalSlots = {{named(3036, "Lord Dominik's Regards")},
        {named(3072, "Bloodthirster"), named(3033, "Mortal Reminder"), named(3094, "Rapid Firecannon"),
            named(3085, "Runaan's Hurricane")}};
    b.primaryRune = QStringLiteral("Lethal Tempo");
    b.role = MetaRole::adc;
    b.roleInferred = true;
    return b;
}

struct FakeClock {
    std::chrono::steady_clock::time_point now {std::chrono::hours(1)};
    std::function<std::chrono::steady_clock::time_point()> fn()
    {
        return [this] { return now; };
    }
    void advance(std::chrono::milliseconds by) { now += by; }
};

class FakeMetaBuildProvider final : public MetaBuildProvider {
public:
    struct Call {
        QString champion;
        MetaQuery query;
    };
    std::vector<Call> calls;
    MetaBuildAdvice answer = MetaBuildAdvice::unavailable(QStringLiteral("Metrion unavailable"));

    QCoro::Task<MetaBuildAdvice> fetch(QString championDisplayName, MetaQuery query) override
    {
        calls.push_back({championDisplayName, query});
        co_return MetaBuildAdvice(answer); // a copy: co_return would move the member out
    }
};

class FakeMatchupProvider final : public MatchupBuildProvider {
public:
    struct Call {
        QString mine;
        QString opponent;
        MetaRole role;
    };
    std::vector<Call> calls;
    MatchupAdvice answer = MatchupAdvice::unavailable(QStringLiteral("Metrion unavailable"));

    QCoro::Task<MatchupAdvice> fetchMatchup(QString myChampion, QString opponentChampion, MetaRole role) override
    {
        calls.push_back({myChampion, opponentChampion, role});
        co_return MatchupAdvice(answer); // a copy: co_return would move the member out
    }
};

inline MatchupAdvice matchupBuildAnswer(const QString& opponent)
{
    MatchupExtras extras;
    extras.verdict = MatchupVerdict::favored;
    extras.opponent = opponent;
    return {MatchupBuild {marksmanBuild(), extras}, MetaFreshness::unverified(), MatchupAdvice::metrionProvenance()};
}

inline MetaBuildAdvice buildAnswer(MetaBuild build = marksmanBuild())
{
    return {std::move(build), MetaFreshness::unverified(), MetaBuildAdvice::metrionProvenance()};
}

// Where a named row of a panel's stack lands in its rendering.
template <class Panel> QRect rowRect(const Panel& panel, const QString& name)
{
    const HudColumn stack = panel.rows();
    const QRectF content = panel.panel().contentRect(stack.height());
    const std::vector<QRectF> places = stack.rowRects(content);
    for (size_t i = 0; i < places.size(); ++i)
        if (stack.rows()[i].name == name)
            return places[i].toAlignedRect();
    return {};
}

// Solid icons in a colour of their own for every item of the sample build and its recipes, so the
// renders show the dimming of held items.
inline void deliverIcons(FakeImageSource& images, const QString& version)
{
    int hue = 0;
    for (int64_t id : {1055, 2003, 3006, 3047, 6672, 3031, 3046, 3036, 3072, 3033, 3094, 3085, 1038, 1037, 1018, 6690,
             3051, 1043, 3035, 6670, 3123, 3143, 3075, 3110, 3157, 3742}) {
        QImage icon(64, 64, QImage::Format_ARGB32_Premultiplied);
        icon.fill(QColor::fromHsv(hue, 160, 120)); // darker than every HUD colour tested for
        hue = (hue + 47) % 360;
        if (const auto address = DDragonImage::item(id, version, images.dataDragonBase()))
            images.deliver(*address, icon);
    }
}

} // namespace tolvane::test
