// Feeds arbitrary bytes to the decoders of the game client's champion-select and gameflow
// sessions (a peer may answer either request with any body), and reads a decoded champion-select
// session out as the assistant does. Checks the all-or-nothing promise, that the same body gives
// the same session again, and what the readout and the players' names promise.

#include "core/gameclient/ChampSelectReadout.h"
#include "core/gameclient/ChampSelectSession.h"
#include "core/gameclient/GameflowSession.h"

#include "FuzzCheck.h"

#include <QByteArray>

#include <algorithm>
#include <cstdint>

namespace {

using namespace tolvane;
using fuzz::require;

void checkChampSelect(const QByteArray& body)
{
    const auto decoded = ChampSelectSession::decode(body);
    fuzz::requireDecodeOrError(decoded, "champion select: a value or an error");
    if (!decoded)
        return;
    require(ChampSelectSession::decode(body).value == decoded.value, "the same body gives the same session");

    const ChampSelectSession& session = *decoded.value;
    const ChampSelectReadout readout = ChampSelectReadout::resolve(session);
    require(readout.allyChampionIds.size() == session.myTeam.size(), "one ally id per seat");
    require(readout.enemyChampionIds.size() == session.theirTeam.size(), "one enemy id per seat");
    require(readout.enemyKnown
            == std::any_of(
                readout.enemyChampionIds.begin(), readout.enemyChampionIds.end(), [](int64_t id) { return id >= 1; }),
        "the enemy is known by a real champion");
    require(!readout.assignedRole || !readout.assignedRole->isEmpty(), "a role is never empty");
    if (readout.botLanePartnerChampionId != 0) {
        const QString role = readout.assignedRole.value_or(QString()).toLower();
        require(role == QLatin1String("bottom") || role == QLatin1String("utility"), "a partner only in bot lane");
    }
}

void checkPlayers(const std::optional<std::vector<GameflowSession::Player>>& team)
{
    if (!team)
        return;
    for (const GameflowSession::Player& player : *team) {
        if (const auto name = player.displayName())
            require(!name->isEmpty(), "a display name is never empty");
        if (const auto id = player.riotId())
            require(!id->gameName.isEmpty() && !id->tagLine.isEmpty(), "both parts of a Riot ID");
        require(!player.riotId() || player.displayName() == player.riotId()->gameName, "the Riot ID names the player");
    }
}

void checkGameflow(const QByteArray& body)
{
    const auto decoded = GameflowSession::decode(body);
    fuzz::requireDecodeOrError(decoded, "gameflow: a value or an error");
    if (!decoded)
        return;
    require(GameflowSession::decode(body).value == decoded.value, "the same body gives the same session");
    const GameflowSession& session = *decoded.value;
    if (session.gameData) {
        checkPlayers(session.gameData->teamOne);
        checkPlayers(session.gameData->teamTwo);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::silenceLogs();
    const QByteArray body = fuzz::bytes(data, size);
    checkChampSelect(body);
    checkGameflow(body);
    return 0;
}
