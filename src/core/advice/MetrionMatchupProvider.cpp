#include "core/advice/MetrionMatchupProvider.h"

#include "core/advice/MetaBuildProvider.h"

#include <QJsonObject>

namespace tolvane {

namespace {

QJsonObject guideArguments(const QString& myKey, const QString& opponentKey, MetaRole role)
{
    QJsonObject arguments;
    arguments.insert(QStringLiteral("position"), metaRoleRawValue(role));
    arguments.insert(QStringLiteral("my_champion"), myKey);
    arguments.insert(QStringLiteral("opponent_champion"), opponentKey);
    return arguments;
}

} // namespace

MetrionMatchupProvider::MetrionMatchupProvider(std::shared_ptr<MetrionMCPClient> client)
    : client_(std::move(client))
{
}

QCoro::Task<MatchupAdvice> MetrionMatchupProvider::fetchMatchup(
    QString myChampion, QString opponentChampion, MetaRole role)
{
    return runMatchup(client_, std::move(myChampion), std::move(opponentChampion), role);
}

QCoro::Task<std::optional<std::vector<SpellRec>>> MetrionMatchupProvider::fetchSummonerSpells(
    QString my, QString opponent, MetaRole role)
{
    return runSpells(client_, std::move(my), std::move(opponent), role);
}

QCoro::Task<MatchupAdvice> MetrionMatchupProvider::runMatchup(
    std::shared_ptr<MetrionMCPClient> client, QString myChampion, QString opponentChampion, MetaRole role)
{
    const QString myKey = metrionChampionKey(myChampion);
    const QString opponentKey = metrionChampionKey(opponentChampion);
    if (myKey.isEmpty() || opponentKey.isEmpty())
        co_return MatchupAdvice::unavailable(QStringLiteral("champion not identified"));
    if (role == MetaRole::unknown)
        co_return MatchupAdvice::unavailable(QStringLiteral("role unknown — Metrion needs a lane"));
    const std::optional<QString> text = co_await client->callTool(
        QStringLiteral("lol_get_lane_matchup_guide"), guideArguments(myKey, opponentKey, role));
    if (!text)
        co_return MatchupAdvice::unavailable(QStringLiteral("Metrion unavailable"));
    co_return decode(*text, myChampion, opponentChampion, role);
}

QCoro::Task<std::optional<std::vector<SpellRec>>> MetrionMatchupProvider::runSpells(
    std::shared_ptr<MetrionMCPClient> client, QString my, QString opponent, MetaRole role)
{
    const QString myKey = metrionChampionKey(my);
    const QString opponentKey = metrionChampionKey(opponent);
    if (myKey.isEmpty() || opponentKey.isEmpty() || role == MetaRole::unknown)
        co_return std::nullopt;
    const std::optional<QString> text = co_await client->callTool(
        QStringLiteral("lol_get_lane_matchup_guide"), guideArguments(myKey, opponentKey, role));
    if (!text)
        co_return std::nullopt;
    co_return decodeSummonerSpells(*text);
}

} // namespace tolvane
