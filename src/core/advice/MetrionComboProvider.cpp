#include "core/advice/MetrionComboProvider.h"

#include "core/advice/MetaBuildProvider.h"

#include <QJsonArray>
#include <QJsonObject>

namespace tolvane {

MetrionComboProvider::MetrionComboProvider(std::shared_ptr<MetrionMCPClient> client)
    : client_(std::move(client))
{
}

QCoro::Task<std::optional<std::vector<ChampionCombo>>> MetrionComboProvider::fetchCombos(
    QString championDisplayName, MetaQuery query)
{
    return run(client_, std::move(championDisplayName), query);
}

QCoro::Task<std::optional<std::vector<ChampionCombo>>> MetrionComboProvider::run(
    std::shared_ptr<MetrionMCPClient> client, QString championDisplayName, MetaQuery query)
{
    const QString key = metrionChampionKey(championDisplayName);
    if (key.isEmpty())
        co_return std::nullopt;
    if (query.isSummonersRift() && query.role() == MetaRole::unknown)
        co_return std::nullopt;
    QJsonObject arguments;
    arguments.insert(QStringLiteral("game_mode"), query.metrionGameMode());
    arguments.insert(QStringLiteral("champion"), key);
    arguments.insert(QStringLiteral("position"), query.metrionPosition());
    arguments.insert(QStringLiteral("desired_output_fields"),
        QJsonArray {QStringLiteral("data.skill_combos[].name"), QStringLiteral("data.skill_combos[].video_url")});
    const std::optional<QString> text
        = co_await client->callTool(QStringLiteral("lol_get_champion_analysis"), arguments);
    if (!text)
        co_return std::nullopt;
    co_return parse(*text);
}

} // namespace tolvane
