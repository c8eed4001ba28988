// The loading-screen review of the champion-select assistant: both teams once per game, then each
// player's Riot ID where the session lacks it and each player's solo-queue rank, one at a time.

#include "app/champselect/ChampSelectViewModel.h"

#include "core/support/Log.h"

#include <algorithm>

TOLVANE_LOG_CATEGORY(lcChampSelect, "champselect")

namespace tolvane {

namespace {

constexpr int64_t arenaMapNumber = 30;
constexpr int64_t firstEnemyRowId = 100;

} // namespace

void ChampSelectViewModel::enterLoadingScreen(const GameflowSession& session, const LCUClient& client)
{
    setPhase(Phase::loadingScreen);
    if (!loadingAllies_.empty() || !loadingEnemies_.empty())
        return; // built once per game

    const auto& data = session.gameData;
    std::vector<GameflowSession::Player> teamOne
        = data && data->teamOne ? *data->teamOne : std::vector<GameflowSession::Player> {};
    std::vector<GameflowSession::Player> teamTwo
        = data && data->teamTwo ? *data->teamTwo : std::vector<GameflowSession::Player> {};
    if (teamOne.empty() && teamTwo.empty())
        return; // the next pass tries again

    const auto hasRiotId = [](const GameflowSession::Player& p) { return p.riotId().has_value(); };
    const auto withRiotIds = std::count_if(teamOne.begin(), teamOne.end(), hasRiotId)
        + std::count_if(teamTwo.begin(), teamTwo.end(), hasRiotId);
    const std::optional<int64_t> mapNumber = data ? data->mapNumber : std::nullopt;
    log::info(lcChampSelect(),
        QStringLiteral("gameflow roster: %1 players, %2 with riot IDs, map=%3")
            .arg(qint64(teamOne.size() + teamTwo.size()))
            .arg(qint64(withRiotIds))
            .arg(qint64(mapNumber.value_or(-1))));

    if (profileCancel_)
        profileCancel_->cancel();
    profileCancel_ = std::make_shared<CancelSource>();
    profileTask(QPointer<ChampSelectViewModel>(this), profileCancel_->token(), mapNumber, std::move(teamOne),
        std::move(teamTwo), client);
}

QCoro::Task<void> ChampSelectViewModel::profileTask(QPointer<ChampSelectViewModel> self, CancelToken cancel,
    std::optional<int64_t> mapNumber, std::vector<GameflowSession::Player> teamOne,
    std::vector<GameflowSession::Player> teamTwo, LCUClient client)
{
    if (!self)
        co_return;
    const bool arena = mapNumber == arenaMapNumber;
    self->setIsArenaLobby(arena);

    const std::vector<GameflowSession::Player>* allies = &teamOne;
    const std::vector<GameflowSession::Player>* enemies = &teamTwo;
    const std::vector<GameflowSession::Player> none;
    if (arena) {
        // Arena's second list is not another team: it is not shown.
        self->setLoadingTeamsIdentified(false);
        enemies = &none;
    } else {
        const std::optional<QString> puuid = co_await client.currentSummonerPuuid();
        if (!self || !self->profileMayWrite(cancel))
            co_return;
        self->setLoadingTeamsIdentified(puuid.has_value());
        const bool inTeamOne
            = puuid && std::any_of(teamOne.begin(), teamOne.end(), [&](const auto& p) { return p.puuid == puuid; });
        if (puuid && !inTeamOne)
            std::swap(allies, enemies);
    }

    std::vector<LoadingPlayer> allyRows;
    for (size_t i = 0; i < allies->size(); ++i)
        allyRows.push_back(self->row(int64_t(i), (*allies)[i]));
    self->setLoadingAllies(std::move(allyRows));
    std::vector<LoadingPlayer> enemyRows;
    for (size_t i = 0; i < enemies->size(); ++i)
        enemyRows.push_back(self->row(firstEnemyRowId + int64_t(i), (*enemies)[i]));
    self->setLoadingEnemies(std::move(enemyRows));

    // Riot IDs from the local client, back to back: the rank lookup needs them.
    for (const int64_t id : self->loadingRowIds()) {
        if (!self->profileMayWrite(cancel))
            co_return;
        const LoadingPlayer* player = self->loadingRow(id);
        if (!player || player->gameName || !player->summonerId)
            continue;
        const std::optional<RiotId> riotId = co_await client.summonerRiotId(*player->summonerId);
        if (!self || !self->profileMayWrite(cancel))
            co_return;
        if (riotId) {
            self->updateLoadingRow(id, [&](LoadingPlayer& p) { p.displayName = riotId->gameName; });
            self->updateLoadingRow(id, [&](LoadingPlayer& p) { p.gameName = riotId->gameName; });
            self->updateLoadingRow(id, [&](LoadingPlayer& p) { p.tagLine = riotId->tagLine; });
        } else {
            self->updateLoadingRow(id, [](LoadingPlayer& p) { p.rank = RankState::unavailable(); });
        }
    }
    co_await rankPass(self, cancel, client);
}

QCoro::Task<void> ChampSelectViewModel::rankPass(
    QPointer<ChampSelectViewModel> self, CancelToken cancel, LCUClient client)
{
    const std::optional<QString> region = co_await client.regionCode();
    // Tested here as after every other wait: a review cleared meanwhile (or a later game's) is not ours.
    if (!self || !self->profileMayWrite(cancel))
        co_return;
    if (!region) {
        self->markAllRanks(RankState::unavailable());
        co_return;
    }

    const auto fetchSoloRank = self->services_.fetchSoloRank;
    const std::shared_ptr<Sleeper> sleeper = self->services_.sleeper;
    for (const int64_t id : self->loadingRowIds()) {
        if (!self || !self->profileMayWrite(cancel))
            co_return;
        const LoadingPlayer* player = self->loadingRow(id);
        if (!player)
            continue;
        if (!player->gameName || !player->tagLine) {
            self->updateLoadingRow(id, [](LoadingPlayer& p) { p.rank = RankState::unavailable(); });
            continue;
        }
        const RankFetchResult result = co_await fetchSoloRank(*player->gameName, *player->tagLine, *region);
        if (!self || !self->profileMayWrite(cancel))
            co_return; // the answer is dropped
        RankState rank = RankState::unavailable();
        if (result.kind == RankFetchResult::Kind::ranked && result.snapshot)
            rank = RankState::ranked(*result.snapshot);
        else if (result.kind == RankFetchResult::Kind::unranked)
            rank = RankState::unranked();
        self->updateLoadingRow(id, [&](LoadingPlayer& p) { p.rank = rank; });
        co_await sleeper->sleep(requestPause, cancel);
    }
}

ChampSelectViewModel::LoadingPlayer ChampSelectViewModel::row(int64_t id, const GameflowSession::Player& player) const
{
    LoadingPlayer row;
    row.id = id;
    if (player.championId)
        row.championName = nameOf(*player.championId);
    if (row.championName)
        row.championKey = keyOf(*row.championName);
    row.puuid = player.puuid;
    row.summonerId = player.summonerId;
    row.displayName = player.displayName();
    if (const auto riotId = player.riotId()) {
        row.gameName = riotId->gameName;
        row.tagLine = riotId->tagLine;
    }
    // Without a summoner id no lookup can fill in a missing Riot ID.
    row.rank = player.summonerId ? RankState::loading() : RankState::unavailable();
    return row;
}

void ChampSelectViewModel::markAllRanks(const RankState& state)
{
    for (const int64_t id : loadingRowIds())
        updateLoadingRow(id, [&](LoadingPlayer& p) { p.rank = state; });
}

bool ChampSelectViewModel::profileMayWrite(const CancelToken& cancel) const
{
    return !cancel.isCancelled() && phase_ == Phase::loadingScreen;
}

std::vector<int64_t> ChampSelectViewModel::loadingRowIds() const
{
    std::vector<int64_t> ids;
    for (const auto* list : {&loadingAllies_, &loadingEnemies_}) {
        for (const LoadingPlayer& p : *list)
            ids.push_back(p.id);
    }
    return ids;
}

ChampSelectViewModel::LoadingPlayer* ChampSelectViewModel::loadingRow(int64_t id)
{
    for (auto* list : {&loadingAllies_, &loadingEnemies_}) {
        const auto it = std::find_if(list->begin(), list->end(), [id](const LoadingPlayer& p) { return p.id == id; });
        if (it != list->end())
            return &*it;
    }
    return nullptr;
}

void ChampSelectViewModel::updateLoadingRow(int64_t id, const std::function<void(LoadingPlayer&)>& edit)
{
    for (auto* list : {&loadingAllies_, &loadingEnemies_}) {
        const auto it = std::find_if(list->begin(), list->end(), [id](const LoadingPlayer& p) { return p.id == id; });
        if (it == list->end())
            continue;
        std::vector<LoadingPlayer> copy = *list;
        edit(copy[size_t(it - list->begin())]);
        if (list == &loadingAllies_)
            setLoadingAllies(std::move(copy));
        else
            setLoadingEnemies(std::move(copy));
        return;
    }
}

} // namespace tolvane
