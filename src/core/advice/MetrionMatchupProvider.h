#pragma once
// Lane matchups and summoner-spell recommendations from the statistics service's lane-matchup
// guide: what players of one champion build, run and level against a given opponent, and which
// summoner spells they take. The guide answers in JSON.

#include "core/advice/MatchupAdvice.h"
#include "core/advice/MetaBuild.h"
#include "core/advice/MetaQuery.h"
#include "core/advice/MetrionMCPClient.h"

#include <QString>

#include <memory>
#include <optional>
#include <vector>

#include <QCoroTask>

namespace tolvane {

class MatchupBuildProvider {
public:
    virtual ~MatchupBuildProvider() = default;
    // Never fails: every failure is advice with a reason.
    virtual QCoro::Task<MatchupAdvice> fetchMatchup(QString myChampion, QString opponentChampion, MetaRole role) = 0;
};

class SummonerSpellRecProvider {
public:
    virtual ~SummonerSpellRecProvider() = default;
    // Nothing when nothing usable came back.
    virtual QCoro::Task<std::optional<std::vector<SpellRec>>> fetchSummonerSpells(
        QString my, QString opponent, MetaRole role)
        = 0;
};

class MetrionMatchupProvider final : public MatchupBuildProvider, public SummonerSpellRecProvider {
public:
    explicit MetrionMatchupProvider(std::shared_ptr<MetrionMCPClient> client);

    QCoro::Task<MatchupAdvice> fetchMatchup(QString myChampion, QString opponentChampion, MetaRole role) override;
    QCoro::Task<std::optional<std::vector<SpellRec>>> fetchSummonerSpells(
        QString my, QString opponent, MetaRole role) override;

    // The guide's reply as advice; champion names are display names, as asked.
    static MatchupAdvice decode(
        const QString& text, const QString& myChampion, const QString& opponentChampion, MetaRole role);
    // Only the reply's summoner spells: the most played pair.
    static std::optional<std::vector<SpellRec>> decodeSummonerSpells(const QString& text);
    // The three basic abilities in the order a skill order maxes them.
    static std::vector<QString> skillPriority(const std::vector<QString>& order);

private:
    static QCoro::Task<MatchupAdvice> runMatchup(
        std::shared_ptr<MetrionMCPClient> client, QString myChampion, QString opponentChampion, MetaRole role);
    static QCoro::Task<std::optional<std::vector<SpellRec>>> runSpells(
        std::shared_ptr<MetrionMCPClient> client, QString my, QString opponent, MetaRole role);

    std::shared_ptr<MetrionMCPClient> client_;
};

} // namespace tolvane
