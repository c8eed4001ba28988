#pragma once
// The enemy summoner-spell panel's state: one row per enemy with its two spells, and the
// countdowns the player starts by clicking a spell. Countdowns run on the game clock of the
// snapshots, so a paused game pauses them; nothing is read from the game about spell use.

#include "core/gameclient/AllGameData.h"
#include "core/gameclient/LiveClientDataClient.h"
#include "core/knowledge/CDTimeFormat.h"
#include "core/knowledge/ChampionCatalog.h"
#include "core/knowledge/CooldownTracker.h"
#include "core/knowledge/SummonerCooldowns.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include <QCoroTask>

namespace tolvane {

class CooldownPanelViewModel : public QObject {
    Q_OBJECT
public:
    struct SpellCell {
        int64_t id = 0; // the slot: 0 the first summoner spell, 1 the second
        QString spellKey; // table key and Data Dragon image name, "SummonerFlash"
        std::optional<double> remaining; // seconds left on a running countdown
        bool trackable = false; // the cooldown table knows the spell

        bool operator==(const SpellCell&) const = default;
    };

    struct EnemyRow {
        int64_t id = 0; // index among the enemies, as the snapshot lists them
        QString champKey; // Data Dragon champion id; "" when the catalog does not know it
        std::vector<SpellCell> spells; // at most two, in slot order

        bool operator==(const EnemyRow&) const = default;
    };

    // The app passes nothing; tests point the client and the loader at loopback peers and hand in
    // their own table.
    explicit CooldownPanelViewModel(LiveClientDataClient client = LiveClientDataClient(),
        ChampionCatalogLoader champLoader = ChampionCatalogLoader(),
        SummonerCooldowns cooldowns = SummonerCooldownsLoader().load(), QObject* parent = nullptr);
    ~CooldownPanelViewModel() override;

    // Loads the champion catalog once, then follows the snapshots every 500 ms for as long as
    // the view model lives. Called once.
    void start();
    // The first half of start(): the catalog for portraits and the version of every image.
    QCoro::Task<void> loadCatalog();
    // One poll result: a snapshot, or nothing when no game answered.
    void handle(const std::optional<AllGameData>& data);
    void rebuildRows(double now);
    // A click on a spell: starts its countdown at the last game time seen, or cancels a running one.
    void markCell(int64_t enemy, int64_t slot);

    const std::vector<EnemyRow>& rows() const { return rows_; }
    bool inGame() const { return inGame_; }
    const QString& version() const { return version_; }
    CDTimeFormat timeFormat() const { return timeFormat_; }
    void setTimeFormat(CDTimeFormat format);
    double bgOpacity() const { return bgOpacity_; }
    void setBgOpacity(double opacity);
    double lastGameTime() const { return lastGameTime_; }

signals:
    // Any published value was assigned, also to the value it had.
    void changed();

private:
    static QCoro::Task<void> run(QPointer<CooldownPanelViewModel> self);

    void setRows(std::vector<EnemyRow> rows);
    void setInGame(bool inGame);
    void setVersion(QString version);
    void setLastGameTime(double time);

    std::vector<EnemyRow> rows_;
    bool inGame_ = false;
    QString version_;
    CDTimeFormat timeFormat_ = CDTimeFormat::seconds;
    double bgOpacity_ = 0.7;
    double lastGameTime_ = 0;

    LiveClientDataClient client_;
    SummonerCooldowns cooldowns_;
    ChampionCatalogLoader champLoader_;
    ChampionCatalog catalog_ = ChampionCatalog::empty();
    CooldownTracker tracker_;
    std::vector<LivePlayer> enemies_;
    bool isAram_ = false;
    QString youTeam_;
    // Owned here so that destroying the view model stops the polling.
    std::unique_ptr<LiveSnapshotStream> stream_;
    bool started_ = false;
};

} // namespace tolvane
