#include "core/advice/SummonerProfileFetcher.h"

#include <QJsonArray>
#include <QJsonObject>

namespace tolvane {

SummonerProfileFetcher::SummonerProfileFetcher(std::shared_ptr<MetrionMCPClient> client)
    : client_(std::move(client))
{
}

const std::vector<QString>& SummonerProfileFetcher::desiredOutputFields()
{
    static const std::vector<QString> fields = {
        QStringLiteral("data.summoner.league_stats[].game_type"),
        QStringLiteral("data.summoner.league_stats[].win"),
        QStringLiteral("data.summoner.league_stats[].lose"),
        QStringLiteral("data.summoner.league_stats[].tier_info.tier"),
        QStringLiteral("data.summoner.league_stats[].tier_info.division"),
        QStringLiteral("data.summoner.league_stats[].tier_info.lp"),
    };
    return fields;
}

QCoro::Task<RankFetchResult> SummonerProfileFetcher::fetchSoloRank(
    QString gameName, QString tagLine, QString region) const
{
    return run(client_, std::move(gameName), std::move(tagLine), std::move(region));
}

QCoro::Task<RankFetchResult> SummonerProfileFetcher::run(
    std::shared_ptr<MetrionMCPClient> client, QString gameName, QString tagLine, QString region)
{
    if (gameName.isEmpty() || tagLine.isEmpty() || region.isEmpty())
        co_return RankFetchResult::unavailable();
    QJsonArray fields;
    for (const QString& field : desiredOutputFields())
        fields.append(field);
    QJsonObject arguments;
    arguments.insert(QStringLiteral("game_name"), gameName);
    arguments.insert(QStringLiteral("tag_line"), tagLine);
    arguments.insert(QStringLiteral("region"), region);
    arguments.insert(QStringLiteral("desired_output_fields"), fields);
    const std::optional<QString> text
        = co_await client->callTool(QStringLiteral("lol_get_summoner_profile"), arguments);
    if (!text)
        co_return RankFetchResult::unavailable();
    co_return parse(*text);
}

} // namespace tolvane
