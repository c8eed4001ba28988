#include "core/advice/MetaBuildProvider.h"

#include "core/advice/MetrionLog.h"

#include <QJsonArray>
#include <QJsonObject>

namespace tolvane {

QString metrionChampionKey(const QString& displayName)
{
    const QString upper = displayName.toUpper();
    QString key;
    key.reserve(upper.size());
    for (const char32_t cp : upper.toUcs4()) {
        if (cp == U' ' || cp == U'_') {
            key += u'_';
            continue;
        }
        const QChar::Category category = QChar::category(cp);
        if (category == QChar::Letter_Uppercase || category == QChar::Letter_Titlecase
            || category == QChar::Number_DecimalDigit)
            key += QString::fromUcs4(&cp, 1);
    }
    return key;
}

const std::vector<QString>& MetrionMetaBuildProvider::desiredOutputFields()
{
    static const std::vector<QString> fields = {
        QStringLiteral("champion"),
        QStringLiteral("data.starter_items.ids"),
        QStringLiteral("data.starter_items.ids_names"),
        QStringLiteral("data.boots.ids"),
        QStringLiteral("data.boots.ids_names"),
        QStringLiteral("data.boots.pick_rate"),
        QStringLiteral("data.core_items.ids"),
        QStringLiteral("data.core_items.ids_names"),
        QStringLiteral("data.core_items.win"),
        QStringLiteral("data.fourth_items[].ids"),
        QStringLiteral("data.fourth_items[].ids_names"),
        QStringLiteral("data.fourth_items[].pick_rate"),
        QStringLiteral("data.fourth_items[].win"),
        QStringLiteral("data.fifth_items[].ids"),
        QStringLiteral("data.fifth_items[].ids_names"),
        QStringLiteral("data.fifth_items[].play"),
        QStringLiteral("data.last_items[].ids"),
        QStringLiteral("data.last_items[].ids_names"),
        QStringLiteral("data.last_items[].play"),
        QStringLiteral("data.last_items[].win"),
        QStringLiteral("data.runes.primary_page_name"),
        QStringLiteral("data.runes.primary_rune_ids"),
        QStringLiteral("data.runes.primary_rune_names"),
        QStringLiteral("data.runes.secondary_page_name"),
        QStringLiteral("data.runes.secondary_rune_ids"),
        QStringLiteral("data.runes.secondary_rune_names"),
        QStringLiteral("data.runes.stat_mod_ids"),
        QStringLiteral("data.runes.pick_rate"),
        QStringLiteral("data.runes.win"),
        QStringLiteral("data.runes.play"),
        QStringLiteral("data.weak_counters"),
        QStringLiteral("data.summary.positions[].counters[].{champion_id,champion_name,play,win}"),
    };
    return fields;
}

MetrionMetaBuildProvider::MetrionMetaBuildProvider(std::shared_ptr<MetrionMCPClient> client)
    : client_(std::move(client))
{
}

QCoro::Task<MetaBuildAdvice> MetrionMetaBuildProvider::fetch(QString championDisplayName, MetaQuery query)
{
    // Everything the call needs travels by value: the provider may go away while it waits.
    return run(client_, parser_, std::move(championDisplayName), query);
}

QCoro::Task<std::optional<QString>> MetrionMetaBuildProvider::callChampionAnalysis(
    std::shared_ptr<MetrionMCPClient> client, QString champion, QString gameMode, QString position)
{
    QJsonArray fields;
    for (const QString& field : desiredOutputFields())
        fields.append(field);
    QJsonObject arguments;
    arguments.insert(QStringLiteral("champion"), champion);
    arguments.insert(QStringLiteral("game_mode"), gameMode);
    arguments.insert(QStringLiteral("position"), position);
    arguments.insert(QStringLiteral("desired_output_fields"), fields);
    co_return co_await client->callTool(QStringLiteral("lol_get_champion_analysis"), arguments);
}

QCoro::Task<MetaBuildAdvice> MetrionMetaBuildProvider::run(
    std::shared_ptr<MetrionMCPClient> client, MetrionDSLParser parser, QString championDisplayName, MetaQuery query)
{
    const QString key = metrionChampionKey(championDisplayName);
    if (key.isEmpty())
        co_return MetaBuildAdvice::unavailable(QStringLiteral("champion not identified"));
    if (query.isSummonersRift() && query.role() == MetaRole::unknown)
        co_return MetaBuildAdvice::unavailable(QStringLiteral("role unknown — Metrion needs a lane"));

    const std::optional<QString> text
        = co_await callChampionAnalysis(client, key, query.metrionGameMode(), query.metrionPosition());
    if (!text)
        co_return MetaBuildAdvice::unavailable(QStringLiteral("Metrion unavailable"));

    auto parsed = parser.parse(*text);
    if (!parsed) {
        log::error(lcMetrion(), QStringLiteral("Metrion DSL parse failed for %1 — format may have drifted").arg(key));
        co_return MetaBuildAdvice::unavailable(QStringLiteral("Metrion data not recognized"));
    }

    MetaBuild build;
    build.starterItems = std::move(parsed->starterItems);
    build.boots = std::move(parsed->boots);
    build.coreItems = std::move(parsed->coreItems);
    build.situationalSlots = std::move(parsed->situationalSlots);
    build.primaryRune = std::move(parsed->primaryRune);
    build.role = query.isAram() ? MetaRole::mid : query.role();
    build.roleInferred = query.isSummonersRift() && query.roleInferred();
    build.aram = query.isAram();
    build.runePage = std::move(parsed->runePage);
    build.weakCounters = std::move(parsed->weakCounters);
    co_return MetaBuildAdvice {std::move(build), MetaFreshness::unverified(), MetaBuildAdvice::metrionProvenance()};
}

} // namespace tolvane
