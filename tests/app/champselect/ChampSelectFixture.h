#pragma once
// Shared by the champion-select tests: a pretend game client on loopback HTTPS serving real
// captured documents, fake statistics-service providers whose answers a test can hold back, the
// real champion catalog read in place, and pauses that end when the test says so.

#include "app/champselect/ChampSelectViewModel.h"
#include "core/gameclient/RiotTrustDelegate.h"

#include "Await.h"
#include "LogCapture.h"
#include "TestCertificates.h"
#include "TestHttpServer.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <vector>

namespace tolvane::test {

using namespace std::chrono_literals;

template <class T> QCoro::Task<T> heldAnswer(T value, std::shared_ptr<bool> open)
{
    while (open && !*open)
        co_await sleepFor(2ms);
    co_return value;
}

// Poll pauses end only when the test releases them, so a test counts passes instead of time;
// request pauses end at the next turn of the event loop.
class FakeSleeper final : public Sleeper {
public:
    std::vector<std::chrono::milliseconds> pauses;
    int pollPausesBegun = 0;
    int pollPausesReleased = 0;

    QCoro::Task<bool> sleep(std::chrono::milliseconds pause, CancelToken token) override
    {
        pauses.push_back(pause);
        if (pause != ChampSelectViewModel::pollPause)
            co_return co_await sleepFor(0ms, token);
        const int mine = pollPausesBegun++;
        while (mine >= pollPausesReleased && !token.isCancelled())
            co_await sleepFor(2ms, token);
        co_return !token.isCancelled();
    }

    long count(std::chrono::milliseconds pause) const { return std::count(pauses.begin(), pauses.end(), pause); }
};

class FakeBuildProvider final : public MetaBuildProvider {
public:
    std::vector<std::pair<QString, MetaQuery>> calls;
    MetaBuildAdvice answer = MetaBuildAdvice::unavailable(QStringLiteral("Metrion unavailable"));
    std::shared_ptr<bool> open; // null: answers at once

    QCoro::Task<MetaBuildAdvice> fetch(QString championDisplayName, MetaQuery query) override
    {
        calls.emplace_back(championDisplayName, query);
        return heldAnswer(answer, open);
    }
};

class FakeSpellProvider final : public SummonerSpellRecProvider {
public:
    std::vector<QString> calls; // "me|role|opponent"
    std::map<QString, std::optional<std::vector<SpellRec>>> answers; // by opponent; default: Flash and Heal
    std::shared_ptr<bool> open;

    QCoro::Task<std::optional<std::vector<SpellRec>>> fetchSummonerSpells(
        QString my, QString opponent, MetaRole role) override
    {
        calls.push_back(SpellRecState::key(my, role, opponent));
        const auto it = answers.find(opponent);
        std::optional<std::vector<SpellRec>> answer = it != answers.end()
            ? it->second
            : std::vector<SpellRec> {{4, QStringLiteral("Flash")}, {7, QStringLiteral("Heal")}};
        return heldAnswer(std::move(answer), open);
    }
};

struct FakeRanks {
    std::vector<QString> calls; // "gameName#tagLine@region"
    std::map<QString, RankFetchResult> byGameName; // default: unranked
    std::shared_ptr<bool> open;
};

inline QByteArray lcuDoc(const QString& relative)
{
    return realData(QStringLiteral("lcu/") + relative);
}

inline const ChampionCatalog& realChampions()
{
    static const ChampionCatalog catalog = *ChampionCatalog::decode(
        realData(QStringLiteral("ddragon/15.4.1/data/en_US/champion.json")), QStringLiteral("15.4.1"))
                                                .value;
    return catalog;
}

// A real document with some members replaced.
inline QByteArray edited(const QByteArray& doc, const std::function<void(QJsonObject&)>& edit)
{
    QJsonObject root = QJsonDocument::fromJson(doc).object();
    edit(root);
    return QJsonDocument(root).toJson(QJsonDocument::Compact);
}

inline ChampSelectSession champSelectSession(const QByteArray& doc)
{
    return *ChampSelectSession::decode(doc).value;
}

// Graves (bottom) with Thresh; enemies Jinx, Nami, Diana, Aatrox, Smolder.
inline ChampSelectSession finalizationSession()
{
    return champSelectSession(lcuDoc(QStringLiteral("champ-select/draft_finalization_2024.json")));
}

// A build with every part filled: starters, boots, eight core items, a rune page, two counters.
inline MetaBuild fullBuild()
{
    const auto item = [](int64_t id) { return MetaItem {id, QString::number(id)}; };
    MetaBuild build;
    build.starterItems = {item(1055), item(2003)};
    build.boots = item(3006);
    for (int64_t id : {6671, 3031, 3036, 3072, 3026, 3094, 3033, 3139})
        build.coreItems.push_back(item(id));
    build.role = MetaRole::adc;
    MetaRunePage page;
    page.primaryPageName = QStringLiteral("Precision");
    page.primaryRuneIds = {8008, 9111, 9104, 8014};
    page.primaryRuneNames = {QStringLiteral("Lethal Tempo"), QStringLiteral("Triumph"),
        QStringLiteral("Legend: Alacrity"), QStringLiteral("Coup de Grace")};
    page.secondaryPageName = QStringLiteral("Inspiration");
    page.secondaryRuneIds = {8345, 8347};
    page.secondaryRuneNames = {QStringLiteral("Biscuit Delivery"), QStringLiteral("Cosmic Insight")};
    page.statModIds = {5005, 4242, 5008};
    page.pickRate = 0.125;
    page.winRate = 0.5049;
    build.runePage = page;
    build.weakCounters = {{222, QStringLiteral("Jinx"), 0.125}, {9999, QStringLiteral("Newcomer"), {}}};
    return build;
}

inline QByteArray gameflowDoc(
    const QString& phase, std::optional<int64_t> mapNumber, QJsonArray teamOne = {}, QJsonArray teamTwo = {})
{
    QJsonObject gameData {{QStringLiteral("teamOne"), teamOne}, {QStringLiteral("teamTwo"), teamTwo}};
    if (mapNumber)
        gameData.insert(QStringLiteral("mapNumber"), qint64(*mapNumber));
    return QJsonDocument(QJsonObject {{QStringLiteral("phase"), phase}, {QStringLiteral("gameData"), gameData}})
        .toJson(QJsonDocument::Compact);
}

class ChampSelectFixture : public ::testing::Test {
protected:
    using Route = std::function<TestResponse(const TestRequest&)>;
    using Phase = ChampSelectViewModel::Phase;

    static inline const QString champSelectPath = QStringLiteral("/lol-champ-select/v1/session");
    static inline const QString gameflowPath = QStringLiteral("/lol-gameflow/v1/session");

    ChampSelectFixture()
        : server([this](const TestRequest& r) { return answer(r); }, TestCertificates::instance().loopback)
    {
        // The fake client answers from the real captures, inside the event loop.
        requireRealData();
        synergy = SynergyCatalog({SynergyDuo {QStringLiteral("Graves"), QStringLiteral("Thresh"), 0.82,
            {QStringLiteral("hook_follow_up"), QStringLiteral("lane_pressure")}}});
    }

    // Lets every task of the model run to its end, so none is left suspended when the test ends.
    void TearDown() override
    {
        vm.reset();
        for (auto* open : {&builds->open, &spells->open, &ranks->open}) {
            if (*open)
                **open = true;
        }
        spinFor(60ms);
    }

    LCUClient client() const
    {
        return LCUClient(ClientCredentials {server.port(), QStringLiteral("pw"), QStringLiteral("https")},
            std::make_shared<RiotTrustDelegate>(TestCertificates::instance().anchor), patientTimeouts);
    }

    void route(const QString& path, TestResponse response)
    {
        routes[path.toUtf8()] = [response](const TestRequest&) { return response; };
    }
    void route(const QString& path, QByteArray body) { route(path, TestResponse::json(std::move(body))); }
    void unroute(const QString& path) { routes.erase(path.toUtf8()); }

    TestResponse answer(const TestRequest& request)
    {
        events.push_back(QString::fromUtf8(request.path()));
        const auto it = routes.find(request.path());
        if (it == routes.end())
            return TestResponse::json(
                lcuDoc(QStringLiteral("errors/champ-select_session_404_no_active_delegate.json")), 404);
        return it->second(request);
    }

    ChampSelectViewModel& model()
    {
        if (vm)
            return *vm;
        ChampSelectViewModel::Services services;
        const int64_t port = server.port();
        auto running = clientRunning;
        auto discoveries = discoverCalls;
        services.discover = [port, running, discoveries]() -> std::optional<LCUClient> {
            ++*discoveries;
            if (!*running)
                return std::nullopt;
            return LCUClient(ClientCredentials {port, QStringLiteral("pw"), QStringLiteral("https")},
                std::make_shared<RiotTrustDelegate>(TestCertificates::instance().anchor), patientTimeouts);
        };
        services.loadChampions = [this] {
            events.push_back(QStringLiteral("champions"));
            return heldAnswer(championCatalogFails ? ChampionCatalog::empty() : realChampions(), {});
        };
        services.loadRunes = [this] {
            events.push_back(QStringLiteral("runes"));
            return heldAnswer(RuneCatalog::empty(), {});
        };
        services.loadSynergy = [this] {
            events.push_back(QStringLiteral("synergy"));
            return synergy;
        };
        services.loadSpells = [this] {
            events.push_back(QStringLiteral("spells"));
            SummonerSpellCatalog spells;
            spells.byId[4] = SummonerSpellInfo {QStringLiteral("SummonerFlash"), QStringLiteral("Flash")};
            return heldAnswer(spells, {});
        };
        auto fakeRanks = ranks;
        services.fetchSoloRank = [fakeRanks](QString gameName, QString tagLine, QString region) {
            fakeRanks->calls.push_back(gameName + QLatin1Char('#') + tagLine + QLatin1Char('@') + region);
            const auto it = fakeRanks->byGameName.find(gameName);
            return heldAnswer(
                it != fakeRanks->byGameName.end() ? it->second : RankFetchResult::unranked(), fakeRanks->open);
        };
        services.sleeper = sleeper;
        vm = std::make_unique<ChampSelectViewModel>(builds, spells, std::move(services));
        return *vm;
    }

    // The model with its catalogs, for driving single passes.
    ChampSelectViewModel& loadedModel()
    {
        await(model().loadCatalogs());
        return *vm;
    }

    // Runs the loop until the given number of passes have ended (each waits in its pause).
    bool passesDone(int passes)
    {
        return spinUntil([&] { return sleeper->pollPausesBegun >= passes; });
    }
    void nextPass() { ++sleeper->pollPausesReleased; }

    int count(const QString& event) const { return int(std::count(events.begin(), events.end(), event)); }

    std::map<QByteArray, Route> routes;
    std::vector<QString> events; // catalog loads and request paths, in order
    TestHttpServer server;
    std::shared_ptr<std::atomic<bool>> clientRunning = std::make_shared<std::atomic<bool>>(true);
    std::shared_ptr<std::atomic<int>> discoverCalls = std::make_shared<std::atomic<int>>(0);
    bool championCatalogFails = false;
    SynergyCatalog synergy;
    std::shared_ptr<FakeSleeper> sleeper = std::make_shared<FakeSleeper>();
    std::shared_ptr<FakeBuildProvider> builds = std::make_shared<FakeBuildProvider>();
    std::shared_ptr<FakeSpellProvider> spells = std::make_shared<FakeSpellProvider>();
    std::shared_ptr<FakeRanks> ranks = std::make_shared<FakeRanks>();
    LogCapture logs;
    std::unique_ptr<ChampSelectViewModel> vm; // last: destroyed first
};

} // namespace tolvane::test
