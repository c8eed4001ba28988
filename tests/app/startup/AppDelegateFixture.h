#pragma once
// The application delegate with every outside service replaced: fake key state, window list,
// window flags and alerts, an in-memory settings store, its network answers handed in and
// nothing started in the background. Used by the start-up tests and the desktop tests.

#include "app/startup/AlertPresenter.h"
#include "app/startup/AppDelegate.h"
#include "core/knowledge/ItemCatalog.h"
#include "platform/KeyCodeNamer.h"
#include "platform/KeyState.h"
#include "platform/OverlayWindowNative.h"
#include "platform/WindowList.h"

#include "NoGame.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace tolvane::test {

struct ShownAlert {
    QString message;
    QString informative;
};

class FakeAlerts final : public AlertPresenter {
public:
    void showWarning(const QString& messageText, const QString& informativeText) override
    {
        shown.push_back({messageText, informativeText});
    }
    std::vector<ShownAlert> shown;
};

template <class T> QCoro::Task<T> give(T value)
{
    co_return value;
}

template <class T> QCoro::Task<T> giveEmpty()
{
    co_return T::empty();
}

class AppDelegateFixture : public ::testing::Test {
protected:
    AppDelegate& launch()
    {
        AppDelegate::Services services {defaults, keys, windows, native, alerts};
        services.loadItemCatalog = [catalog = catalog] { return give(catalog); };
        services.checkAvailability = [status = availability] { return give(status); };
        services.startBackgroundWork = false;
        // Nothing reaches the machine's own game port, Data Dragon or the statistics service.
        services.liveClient = [] { return noGameClient(); };
        services.dataDragonBase = refusingBase();
        services.statisticsEndpoint = refusingUrl(QStringLiteral("/mcp"));
        services.trayAvailable = trayAvailable;
        services.gameConfigPath = dir.filePath(QStringLiteral("game.cfg"));
        services.champSelect.discover = [] { return std::optional<LCUClient>(); };
        services.champSelect.loadChampions = [] { return giveEmpty<ChampionCatalog>(); };
        services.champSelect.loadRunes = [] { return giveEmpty<RuneCatalog>(); };
        services.champSelect.loadSpells = [] { return giveEmpty<SummonerSpellCatalog>(); };
        services.champSelect.loadSynergy = [] { return SynergyCatalog::empty(); };
        services.mainWindow.keyNamer = std::make_shared<FakeKeyCodeNamer>();
        services.mainWindow.inputMonitoringGranted = [] { return true; };
        services.mainWindow.requestInputMonitoring = [] {};
        services.mainWindow.startNewInstance = [] { return false; };
        delegate = std::make_unique<AppDelegate>(std::move(services));
        delegate->applicationDidFinishLaunching();
        return *delegate;
    }

    std::shared_ptr<InMemoryUserDefaults> defaults = std::make_shared<InMemoryUserDefaults>();
    FakeKeyState keys;
    FakeWindowList windows;
    FakeOverlayWindowNative native;
    FakeAlerts alerts;
    QTemporaryDir dir;
    ItemCatalog catalog;
    AppAvailability::Status availability = AppAvailability::Status::available();
    bool trayAvailable = false;
    std::unique_ptr<AppDelegate> delegate;
};

} // namespace tolvane::test
