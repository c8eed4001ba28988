#pragma once
// A player's solo-queue rank, looked up by Riot ID and region through the statistics service's
// summoner profile, which answers in its compact call notation.

#include "core/advice/MetrionMCPClient.h"

#include <QString>

#include <cstdint>
#include <memory>
#include <optional>
#include <variant>

#include <QCoroTask>

namespace tolvane {

struct SummonerRankSnapshot {
    QString tier; // upper case as the service writes it ("GOLD")
    std::optional<int64_t> division;
    std::optional<int64_t> lp;
    int64_t wins = 0;
    int64_t losses = 0;

    // Rounded half away from zero; absent without games.
    std::optional<int64_t> winRatePercent() const;
    // "GOLD 2 · 45 LP", "GM 1 · 312 LP", "CHALL".
    QString shortLabel() const;

    bool operator==(const SummonerRankSnapshot&) const = default;
};

struct RankFetchResult {
    enum class Kind { ranked, unranked, unavailable };
    Kind kind = Kind::unavailable;
    std::optional<SummonerRankSnapshot> snapshot; // only when ranked

    static RankFetchResult ranked(SummonerRankSnapshot s) { return {Kind::ranked, std::move(s)}; }
    static RankFetchResult unranked() { return {Kind::unranked, std::nullopt}; }
    static RankFetchResult unavailable() { return {Kind::unavailable, std::nullopt}; }

    bool operator==(const RankFetchResult&) const = default;
};

class SummonerProfileFetcher {
public:
    explicit SummonerProfileFetcher(std::shared_ptr<MetrionMCPClient> client);

    QCoro::Task<RankFetchResult> fetchSoloRank(QString gameName, QString tagLine, QString region) const;

    // The solo-queue entry of a profile reply. An entry that is there but cannot be read is
    // unavailable, not unranked: the player may well be ranked.
    static RankFetchResult parse(const QString& text);

    static const std::vector<QString>& desiredOutputFields();

private:
    static QCoro::Task<RankFetchResult> run(
        std::shared_ptr<MetrionMCPClient> client, QString gameName, QString tagLine, QString region);

    std::shared_ptr<MetrionMCPClient> client_;
};

} // namespace tolvane
