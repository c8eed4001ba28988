#pragma once
// The champion-select session as the game client serves it ("/lol-champ-select/v1/session"),
// keeping the seats of both teams and the pick and ban turns. Decoded strictly: no partial
// session.

#include "core/support/Json.h"

#include <QByteArrayView>
#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

namespace tolvane {

struct ChampSelectSession {
    // One seat.
    struct Cell {
        int64_t cellId = 0;
        int64_t championId = 0; // 0 while the seat has no champion
        std::optional<int64_t> championPickIntentId;
        std::optional<QString> assignedPosition;

        bool operator==(const Cell&) const = default;
    };

    // One pick or ban turn.
    struct Action {
        int64_t actorCellId = 0;
        int64_t championId = 0;
        QString type; // "pick", "ban", ...
        bool completed = false;

        bool operator==(const Action&) const = default;
    };

    int64_t localPlayerCellId = 0; // -1 while spectating
    std::vector<Cell> myTeam;
    std::vector<Cell> theirTeam;
    std::optional<std::vector<std::vector<Action>>> actions;

    bool operator==(const ChampSelectSession&) const = default;

    static json::Decoded<ChampSelectSession> decode(QByteArrayView body);
};

} // namespace tolvane
