#pragma once
// The enemy summoner-spell panel's state: one row per enemy with its two spells, and the
// countdowns the player starts by clicking a spell. Countdowns run on the game clock of the
// snapshots, so a paused game pauses them; nothing is read from the game about spell use.

#include "app/panels/SharedCatalogs.h"
#include "app/panels/SnapshotViewModel.h"
#include "core/knowledge/CDTimeFormat.h"
#include "core/knowledge/CooldownTracker.h"
#include "core/knowledge/SummonerCooldowns.h"

#include <QString>

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <unordered_map>
#include <vector>

#include <QCoroTask>

namespace tolvane {

class CooldownPanelViewModel : public SnapshotViewModel {
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

    static constexpr uint64_t pollIntervalMs = 500;

    // The app passes its client and catalogs; tests point them at loopback peers and hand in
    // their own table.
    explicit CooldownPanelViewModel(LiveClientDataClient client = LiveClientDataClient(),
        std::shared_ptr<SharedCatalogs> catalogs = std::make_shared<SharedCatalogs>(),
        SummonerCooldowns cooldowns = SummonerCooldownsLoader().load(), QObject* parent = nullptr);
    ~CooldownPanelViewModel() override;

    // The catalog for portraits and the version of every image; start() waits for it.
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
    // The game time of the last snapshot of a running game: the time a click marks. Not drawn,
    // so its change alone notifies no one.
    double lastGameTime() const { return lastGameTime_; }

protected:
    QCoro::Task<void> prepare() override { return loadCatalog(); }
    QCoro::Task<void> follow(std::optional<AllGameData> data) override;

private:
    // What the rows and a click need of an enemy, copied over the last snapshot's enemy so the
    // storage is reused poll after poll, with what its names were looked up as. The lookups hash
    // every name; they are done again only when a name changes, which a comparison tells.
    struct Enemy {
        QString championName;
        std::array<std::optional<QString>, 2> rawSpells; // the summoner spells' raw names
        std::vector<LiveItem> items;
        std::optional<int64_t> level;

        bool champLooked = false;
        QString champKey;
        bool spellsLooked = false;
        std::array<std::optional<QString>, 2> spellKeys;
        std::array<bool, 2> trackable {};
    };

    std::optional<QString> keyOfSpell(const std::optional<QString>& raw);

    std::vector<EnemyRow> rows_;
    bool inGame_ = false;
    QString version_;
    CDTimeFormat timeFormat_ = CDTimeFormat::seconds;
    double bgOpacity_ = 0.7;
    double lastGameTime_ = 0;

    SummonerCooldowns cooldowns_;
    std::shared_ptr<SharedCatalogs> catalogs_;
    ChampionCatalog catalog_ = ChampionCatalog::empty();
    CooldownTracker tracker_;
    std::vector<Enemy> enemies_;
    bool isAram_ = false;
    QString youTeam_;
    std::unordered_map<QString, std::optional<QString>> spellKeys_;
    std::vector<EnemyRow> rowsScratch_;
};

} // namespace tolvane
