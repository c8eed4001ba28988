#pragma once
// Shared by the main-window tests: the two view models with every outside service replaced (no
// client is found, catalogs are empty, pauses end only when cancelled), a settings store in
// memory.

#include "app/champselect/ChampSelectViewModel.h"
#include "app/panels/RuneBuildViewModel.h"
#include "core/overlay/OverlaySettingsStore.h"
#include "core/overlay/UserDefaults.h"

#include "Await.h"
#include "NoGame.h"

#include <gtest/gtest.h>

#include <memory>

namespace tolvane::test {

class NoBuilds final : public MetaBuildProvider {
public:
    QCoro::Task<MetaBuildAdvice> fetch(QString, MetaQuery) override
    {
        co_return MetaBuildAdvice::unavailable(QStringLiteral("Metrion unavailable"));
    }
};

class NoSpells final : public SummonerSpellRecProvider {
public:
    QCoro::Task<std::optional<std::vector<SpellRec>>> fetchSummonerSpells(QString, QString, MetaRole) override
    {
        co_return std::nullopt;
    }
};

// Pauses that end only when the poll is cancelled.
class EndlessSleeper final : public Sleeper {
public:
    QCoro::Task<bool> sleep(std::chrono::milliseconds, CancelToken token) override
    {
        co_return co_await sleepFor(std::chrono::hours(1), token);
    }
};

class MainWindowModels : public ::testing::Test {
protected:
    MainWindowModels()
    {
        ChampSelectViewModel::Services services;
        services.discover = [] { return std::optional<LCUClient>(); };
        services.loadChampions = []() -> QCoro::Task<ChampionCatalog> { co_return ChampionCatalog::empty(); };
        services.loadRunes = []() -> QCoro::Task<RuneCatalog> { co_return RuneCatalog::empty(); };
        services.loadSynergy = [] { return SynergyCatalog::empty(); };
        services.loadSpells = []() -> QCoro::Task<SummonerSpellCatalog> { co_return SummonerSpellCatalog::empty(); };
        services.fetchSoloRank = [](QString, QString, QString) -> QCoro::Task<RankFetchResult> {
            co_return RankFetchResult::unavailable();
        };
        services.sleeper = std::make_shared<EndlessSleeper>();
        champVM = std::make_unique<ChampSelectViewModel>(
            std::make_shared<NoBuilds>(), std::make_shared<NoSpells>(), std::move(services));
    }

    void TearDown() override
    {
        champVM->stop();
        spinFor(std::chrono::milliseconds(30));
    }

    std::shared_ptr<InMemoryUserDefaults> defaults = std::make_shared<InMemoryUserDefaults>();
    OverlaySettingsStore store {defaults};
    std::unique_ptr<ChampSelectViewModel> champVM;
    RuneBuildViewModel runeVM {std::make_shared<NoBuilds>(), noGameClient(), SharedCatalogs::fixed({})};
};

} // namespace tolvane::test
