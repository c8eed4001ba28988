#pragma once
// One in-game snapshot as the Live Client Data interface serves it ("allgamedata"), keeping only
// what the app reads. Decoded strictly: one bad player or item fails the whole document.

#include "core/support/Json.h"

#include <QByteArrayView>
#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

namespace tolvane {

struct ActivePlayer {
    std::optional<QString> summonerName;
    std::optional<QString> riotIdGameName;

    bool operator==(const ActivePlayer&) const = default;
};

struct GameData {
    double gameTime = 0;
    std::optional<QString> gameMode; // "CLASSIC", "ARAM", "CHERRY", ...
    std::optional<int64_t> mapNumber; // 11, 12, 30, ...

    bool operator==(const GameData&) const = default;
};

struct LiveScores {
    int64_t kills = 0;
    int64_t assists = 0;
    int64_t creepScore = 0;

    // Saturates instead of overflowing.
    int64_t takedowns() const;
    bool operator==(const LiveScores&) const = default;
};

// The summoner-spell table key inside a raw spell name ("GeneratedTip_SummonerSpell_SummonerFlash_
// DisplayName" gives "SummonerFlash"); every Smite and Teleport variant shares one key.
std::optional<QString> spellKeyFromRaw(const QString& raw);

struct LiveSummonerSpell {
    std::optional<QString> rawDisplayName;

    // The spell's key extracted from rawDisplayName ("SummonerFlash"), absent without a name.
    std::optional<QString> spellKey() const;
    bool operator==(const LiveSummonerSpell&) const = default;
};

struct LiveSummonerSpells {
    LiveSummonerSpell summonerSpellOne;
    LiveSummonerSpell summonerSpellTwo;

    bool operator==(const LiveSummonerSpells&) const = default;
};

struct LiveItem {
    int64_t itemID = 0;
    int64_t price = 0;
    int64_t count = 0;

    bool operator==(const LiveItem&) const = default;
};

struct LivePlayer {
    QString championName;
    QString team; // "ORDER" or "CHAOS"
    std::vector<LiveItem> items;
    std::optional<QString> summonerName;
    std::optional<QString> riotIdGameName;
    std::optional<QString> position; // "TOP", "JUNGLE", "MIDDLE", "BOTTOM", "UTILITY", "" or "NONE"
    std::optional<LiveSummonerSpells> summonerSpells;
    std::optional<int64_t> level;
    std::optional<LiveScores> scores;

    bool operator==(const LivePlayer&) const = default;
};

struct AllGameData {
    std::optional<ActivePlayer> activePlayer;
    std::vector<LivePlayer> allPlayers;
    GameData gameData;

    // Strict decoding of one reply body; the error names the failing key path.
    static json::Decoded<AllGameData> decode(QByteArrayView body);

    bool operator==(const AllGameData&) const = default;
};

} // namespace tolvane
