#pragma once
// The six panel windows on Qt's offscreen platform with fake key state and window list, the
// stores over an in-memory user-defaults store that counts its reads, and the gold and cooldown
// view models fed by hand: what the main loops run against in these tests.

#include "../windows/TestContent.h"

#include "app/panels/CooldownPanelViewModel.h"
#include "app/panels/GoldSpentViewModel.h"
#include "app/panels/SharedCatalogs.h"
#include "app/startup/OverlayLoopServices.h"
#include "app/startup/OverlayLoopState.h"
#include "app/startup/OverlayPanels.h"
#include "app/windows/CooldownPanel.h"
#include "app/windows/OverlayScale.h"
#include "app/windows/OverlayWindow.h"
#include "core/overlay/KeyCodes.h"
#include "core/overlay/OverlaySettingsStore.h"
#include "core/overlay/PanelPositionStore.h"
#include "core/overlay/UserDefaults.h"
#include "platform/KeyState.h"
#include "platform/OverlayWindowNative.h"
#include "platform/WindowList.h"
#include "RefusingPort.h"

#include <gtest/gtest.h>

namespace tolvane::test {

// An address where nothing answers; the view models are never started here.
inline QUrl unusedAddress(const char* path)
{
    return refusingUrl(QLatin1String(path));
}

inline LivePlayer livePlayer(QString champion, QString team, QString name)
{
    LivePlayer p;
    p.championName = std::move(champion);
    p.team = std::move(team);
    p.riotIdGameName = std::move(name);
    p.summonerSpells = LiveSummonerSpells {
        LiveSummonerSpell {QStringLiteral("GeneratedTip_SummonerSpell_SummonerFlash_DisplayName")},
        LiveSummonerSpell {QStringLiteral("GeneratedTip_SummonerSpell_SummonerHeal_DisplayName")}};
    return p;
}

// A Summoner's Rift snapshot with one enemy: enough for the cooldown panel to have a row.
inline AllGameData riftSnapshot()
{
    AllGameData d;
    d.activePlayer = ActivePlayer {std::nullopt, QStringLiteral("me")};
    d.allPlayers = {livePlayer(QStringLiteral("Ahri"), QStringLiteral("ORDER"), QStringLiteral("me")),
        livePlayer(QStringLiteral("Garen"), QStringLiteral("CHAOS"), QStringLiteral("g"))};
    d.gameData.gameTime = 120;
    d.gameData.gameMode = QStringLiteral("CLASSIC");
    d.gameData.mapNumber = 11;
    return d;
}

// The window list a test sets, counting how often it was asked.
class CountingWindowList final : public WindowList {
public:
    std::optional<std::vector<WindowInfo>> windows = std::vector<WindowInfo> {};
    mutable int listings = 0;
    std::optional<std::vector<WindowInfo>> onScreenWindows() const override
    {
        ++listings;
        return windows;
    }
};

// The in-memory store, counting how often a value was read from it.
class CountingUserDefaults final : public UserDefaults {
public:
    mutable int reads = 0;
    std::optional<QVariant> object(const QString& key) const override
    {
        ++reads;
        return values_.object(key);
    }
    void set(const QString& key, const QVariant& value) override
    {
        values_.set(key, value);
        noteChange();
    }
    void remove(const QString& key) override
    {
        values_.remove(key);
        noteChange();
    }

private:
    InMemoryUserDefaults values_;
};

class OverlayLoopFixture : public ::testing::Test {
protected:
    static constexpr QSizeF panelSize {200, 100};
    // 1440 pt high: the panels' zoom stays 1.0, so their sizes stay the content's.
    const QRectF game {100, 200, 2560, 1440};

    OverlayLoopFixture() { setGameWindow(game); }

    void setGameWindow(std::optional<QRectF> frame)
    {
        std::vector<WindowInfo> list {{QStringLiteral("Terminal"), QString(), 0, QRectF(0, 0, 800, 600), 0}};
        if (frame)
            list.insert(list.begin(), WindowInfo {QStringLiteral("League of Legends"), QString(), 0, *frame, 0});
        windowList.windows = list;
    }
    void startMatch(MetaModeRoute mode = MetaModeRoute::summonersRift())
    {
        goldVM.setSummary(GoldSpentTracker::Summary {});
        goldVM.setGameMode(mode);
    }
    void endMatch() { goldVM.setSummary(std::nullopt); }
    void holdTab(bool down) { keys.setDown(VirtualKey::tab, down); }

    std::shared_ptr<CountingUserDefaults> defaults = std::make_shared<CountingUserDefaults>();
    OverlaySettingsStore settings {defaults};
    PanelPositionStore positions {defaults};
    FakeKeyState keys;
    CountingWindowList windowList;
    OverlayLoopState state;
    FakeOverlayWindowNative native;
    OverlayScale overlayScale {1.0};

    OverlayWindow gold {new TestContent(panelSize, QStringLiteral("Gold")), overlayScale, {keys, native}};
    OverlayWindow rune {new TestContent(panelSize, QStringLiteral("Popular")), overlayScale, {keys, native}};
    OverlayWindow counter {new TestContent(panelSize, QStringLiteral("Matchup")), overlayScale, {keys, native}};
    OverlayWindow farm {new TestContent(panelSize, QStringLiteral("Farm")), overlayScale, {keys, native}};
    OverlayWindow combo {new TestContent(panelSize, QStringLiteral("Combos")), overlayScale, {keys, native}};
    CooldownPanel cooldown {new TestContent(panelSize, QStringLiteral("Cooldowns")), overlayScale, {keys, native}};
    OverlayPanels panels {&gold, &rune, &counter, &farm, &combo, &cooldown};
    OverlayLoopServices services {settings, positions, keys, windowList, state};

    GoldSpentViewModel goldVM {
        LiveClientDataClient(unusedAddress("/liveclientdata/allgamedata"), nullptr), SharedCatalogs::fixed({})};
    CooldownPanelViewModel cooldownVM {LiveClientDataClient(unusedAddress("/liveclientdata/allgamedata"), nullptr),
        SharedCatalogs::fixed({}),
        SummonerCooldowns(QStringLiteral("15.12.1"), 10,
            {{QStringLiteral("SummonerFlash"), 300}, {QStringLiteral("SummonerHeal"), 240}}, 70,
            SummonerCooldowns::TeleportScaling {600, 330, 240})};
};

} // namespace tolvane::test
