#pragma once
// The champion-select assistant's state behind the Live tab: while the main window is shown it
// follows the game client through champion select (champion, role, enemies, popular build with
// counters, spell advice per lane opponent, duo synergy) and the loading screen (both teams with
// their solo-queue ranks). Everything runs on the main thread.

#include "core/advice/MetaBuild.h"
#include "core/advice/MetaBuildProvider.h"
#include "core/advice/MetaQuery.h"
#include "core/advice/MetrionMatchupProvider.h"
#include "core/advice/SpellRecState.h"
#include "core/advice/SummonerProfileFetcher.h"
#include "core/gameclient/ChampSelectReadout.h"
#include "core/gameclient/ChampSelectSession.h"
#include "core/gameclient/GameflowSession.h"
#include "core/gameclient/LCUClient.h"
#include "core/knowledge/ChampionCatalog.h"
#include "core/knowledge/ItemCatalog.h"
#include "core/knowledge/RuneCatalog.h"
#include "core/knowledge/SummonerSpellCatalog.h"
#include "core/knowledge/SynergyCatalog.h"
#include "core/overlay/Sleeper.h"
#include "core/support/Async.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <unordered_map>
#include <vector>

#include <QCoroTask>

namespace tolvane {

class ChampSelectViewModel : public QObject {
    Q_OBJECT
public:
    enum class Phase { connecting, clientOffline, idle, inSelect, loadingScreen };

    // A champion the player's champion does well against ("ban ideas").
    struct CounterRow {
        int64_t id = 0;
        QString name;
        std::optional<QString> key; // Data Dragon id, for the portrait
        std::optional<double> winRate;

        bool operator==(const CounterRow&) const = default;
    };

    // The summoner-spell advice against one enemy champion.
    struct EnemySpellRec {
        struct SpellState {
            enum class Kind { spells, loading, unavailable };
            Kind kind = Kind::loading;
            std::vector<SpellRec> spells; // never empty for Kind::spells, empty otherwise

            static SpellState withSpells(std::vector<SpellRec> s) { return {Kind::spells, std::move(s)}; }
            static SpellState loading() { return {Kind::loading, {}}; }
            static SpellState unavailable() { return {Kind::unavailable, {}}; }
            bool operator==(const SpellState&) const = default;
        };

        QString id; // the enemy's display name
        QString enemyName;
        std::optional<QString> enemyKey;
        SpellState state;

        bool operator==(const EnemySpellRec&) const = default;
    };

    // A player's solo-queue standing as far as known.
    struct RankState {
        enum class Kind { ranked, loading, unavailable, unranked };
        Kind kind = Kind::loading;
        std::optional<SummonerRankSnapshot> snapshot; // only for Kind::ranked

        static RankState ranked(SummonerRankSnapshot s) { return {Kind::ranked, std::move(s)}; }
        static RankState loading() { return {Kind::loading, std::nullopt}; }
        static RankState unavailable() { return {Kind::unavailable, std::nullopt}; }
        static RankState unranked() { return {Kind::unranked, std::nullopt}; }
        bool operator==(const RankState&) const = default;
    };

    // One player of the loading screen. Ally ids count from 0, enemy ids from 100.
    struct LoadingPlayer {
        int64_t id = 0;
        std::optional<QString> championName;
        std::optional<QString> championKey;
        std::optional<QString> puuid;
        std::optional<int64_t> summonerId;
        std::optional<QString> displayName;
        std::optional<QString> gameName; // gameName and tagLine are both present or both absent
        std::optional<QString> tagLine;
        RankState rank;

        bool operator==(const LoadingPlayer&) const = default;
    };

    // What the model reaches out to. Every member left empty gets the real one: the process
    // scan, the Data Dragon loaders, the shipped synergy table, the statistics service's profile
    // tool over a client of its own, and real pauses. A function's task must not borrow the
    // function object itself: the model may be gone before the task ends.
    struct Services {
        // Blocking (it runs "/bin/ps"): always called on a worker thread.
        std::function<std::optional<LCUClient>()> discover;
        std::function<QCoro::Task<ChampionCatalog>()> loadChampions;
        std::function<QCoro::Task<RuneCatalog>()> loadRunes;
        std::function<SynergyCatalog()> loadSynergy;
        std::function<QCoro::Task<SummonerSpellCatalog>()> loadSpells;
        std::function<QCoro::Task<RankFetchResult>(QString gameName, QString tagLine, QString region)> fetchSoloRank;
        std::shared_ptr<Sleeper> sleeper;
    };

    // The pause after each poll pass, and after each spell or rank request.
    static constexpr std::chrono::milliseconds pollPause {1500};
    static constexpr std::chrono::milliseconds requestPause {300};

    ChampSelectViewModel(std::shared_ptr<MetaBuildProvider> provider,
        std::shared_ptr<SummonerSpellRecProvider> spellProvider, Services services = {}, QObject* parent = nullptr);
    ~ChampSelectViewModel() override;

    // Starts polling unless a poll task is already held.
    void start();
    // Cancels the poll, profile and spell tasks; the published state stays as it is.
    void stop();
    bool isPolling() const { return pollCancel_ != nullptr; }

    // Called each time champion select is entered from another phase.
    void setOnEnterChampSelect(std::function<void()> callback) { onEnterChampSelect_ = std::move(callback); }

    // The four catalogs, one after the other (the first part of every poll task while no
    // champion is known by id).
    QCoro::Task<void> loadCatalogs();
    // One champion-select pass; awaits the build request.
    QCoro::Task<void> handle(ChampSelectSession session, LCUClient client);
    // One pass at the loading screen or in a running game; does not wait for the rank lookups.
    void enterLoadingScreen(const GameflowSession& session, const LCUClient& client);

    // Published state.
    Phase phase() const { return phase_; }
    const std::optional<QString>& myChampionName() const { return myChampionName_; }
    const std::optional<QString>& myChampionKey() const { return myChampionKey_; }
    MetaRole assignedRole() const { return assignedRole_; }
    const std::vector<QString>& enemyNames() const { return enemyNames_; }
    const std::vector<QString>& enemyKeys() const { return enemyKeys_; }
    bool enemyKnown() const { return enemyKnown_; }
    const std::optional<MetaBuildAdvice>& advice() const { return advice_; }
    const QString& version() const { return version_; }
    const ItemCatalog& itemCatalog() const { return itemCatalog_; }
    void setItemCatalog(ItemCatalog catalog);
    const std::vector<CounterRow>& counterRows() const { return counterRows_; }
    const std::vector<EnemySpellRec>& spellRecs() const { return spellRecs_; }
    const SummonerSpellCatalog& spellCatalog() const { return spellCatalog_; }
    const std::optional<SynergyDuo>& synergyDuo() const { return synergyDuo_; }
    const std::optional<QString>& synergyPartnerName() const { return synergyPartnerName_; }
    const std::vector<LoadingPlayer>& loadingAllies() const { return loadingAllies_; }
    const std::vector<LoadingPlayer>& loadingEnemies() const { return loadingEnemies_; }
    bool loadingTeamsIdentified() const { return loadingTeamsIdentified_; }
    bool isArenaLobby() const { return isArenaLobby_; }
    const MetaModeRoute& gameMode() const { return gameMode_; }

    // Read by the card views.
    const ChampionCatalog& catalog() const { return catalog_; }
    const RuneCatalog& runeCatalog() const { return runeCatalog_; }

signals:
    // Any published value was assigned, also to the value it had.
    void changed();

private:
    static QCoro::Task<void> pollLoop(QPointer<ChampSelectViewModel> self, CancelToken cancel);
    static QCoro::Task<void> pass(QPointer<ChampSelectViewModel> self);
    static QCoro::Task<void> spellTask(QPointer<ChampSelectViewModel> self, CancelToken cancel,
        std::vector<QString> enemies, QString myName, MetaRole role, int64_t generation);
    static QCoro::Task<void> profileTask(QPointer<ChampSelectViewModel> self, CancelToken cancel,
        std::optional<int64_t> mapNumber, std::vector<GameflowSession::Player> teamOne,
        std::vector<GameflowSession::Player> teamTwo, LCUClient client);
    static QCoro::Task<void> rankPass(QPointer<ChampSelectViewModel> self, CancelToken cancel, LCUClient client);

    void reset(Phase target);
    void clearLoadingReview();
    void cancelSpellTask();
    std::optional<QString> keyOf(const QString& championName) const;
    std::optional<QString> nameOf(int64_t championId) const;

    void updateSpellRecs(const QString& myName, MetaRole role);
    void rebuildSpellRows(const QString& myName, MetaRole role);
    void resolveSynergy(const ChampSelectReadout& readout, const QString& myName);

    LoadingPlayer row(int64_t id, const GameflowSession::Player& player) const;
    void markAllRanks(const RankState& state);
    // The row with the id, in whichever list holds it; null when neither does.
    LoadingPlayer* loadingRow(int64_t id);
    std::vector<int64_t> loadingRowIds() const;
    // True while a profile task may still write: not cancelled and still at the loading screen.
    bool profileMayWrite(const CancelToken& cancel) const;

    void setPhase(Phase phase);
    void setMyChampionName(std::optional<QString> name);
    void setMyChampionKey(std::optional<QString> key);
    void setAssignedRole(MetaRole role);
    void setEnemyNames(std::vector<QString> names);
    void setEnemyKeys(std::vector<QString> keys);
    void setEnemyKnown(bool known);
    void setAdvice(std::optional<MetaBuildAdvice> advice);
    void setVersion(QString version);
    void setCounterRows(std::vector<CounterRow> rows);
    void setSpellRecs(std::vector<EnemySpellRec> rows);
    void setSpellCatalog(SummonerSpellCatalog catalog);
    void setSynergyDuo(std::optional<SynergyDuo> duo);
    void setSynergyPartnerName(std::optional<QString> name);
    void setLoadingAllies(std::vector<LoadingPlayer> players);
    void setLoadingEnemies(std::vector<LoadingPlayer> players);
    void setLoadingTeamsIdentified(bool identified);
    void setIsArenaLobby(bool arena);
    void setGameMode(MetaModeRoute mode);
    // Replaces one row of whichever list holds it, as one change of that list.
    void updateLoadingRow(int64_t id, const std::function<void(LoadingPlayer&)>& edit);

    Phase phase_ = Phase::connecting;
    std::optional<QString> myChampionName_;
    std::optional<QString> myChampionKey_;
    MetaRole assignedRole_ = MetaRole::unknown;
    std::vector<QString> enemyNames_;
    std::vector<QString> enemyKeys_;
    bool enemyKnown_ = false;
    std::optional<MetaBuildAdvice> advice_;
    QString version_;
    ItemCatalog itemCatalog_ = ItemCatalog::empty();
    std::vector<CounterRow> counterRows_;
    std::vector<EnemySpellRec> spellRecs_;
    SummonerSpellCatalog spellCatalog_ = SummonerSpellCatalog::empty();
    std::optional<SynergyDuo> synergyDuo_;
    std::optional<QString> synergyPartnerName_;
    std::vector<LoadingPlayer> loadingAllies_;
    std::vector<LoadingPlayer> loadingEnemies_;
    bool loadingTeamsIdentified_ = false;
    bool isArenaLobby_ = false;
    MetaModeRoute gameMode_ = MetaModeRoute::summonersRift();

    std::function<void()> onEnterChampSelect_;
    std::shared_ptr<MetaBuildProvider> provider_;
    std::shared_ptr<SummonerSpellRecProvider> spellProvider_;
    Services services_;
    std::unordered_map<int64_t, QString> idToName_;
    ChampionCatalog catalog_ = ChampionCatalog::empty();
    RuneCatalog runeCatalog_ = RuneCatalog::empty();
    SynergyCatalog synergyCatalog_ = SynergyCatalog::empty();
    // A held task is a live cancel source; cancelling one never touches another.
    std::shared_ptr<CancelSource> pollCancel_;
    std::shared_ptr<CancelSource> profileCancel_;
    std::shared_ptr<CancelSource> spellCancel_;
    std::optional<QString> builtForChampRole_;
    std::optional<LCUClient> lcuClient_;
    SpellRecState spellState_;
};

} // namespace tolvane
