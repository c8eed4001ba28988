#pragma once
// Asks the statistics service for a champion's popular build and runes and reads its textual
// answer; also owns the rule turning a champion's display name into the service's champion key.

#include "core/advice/MetaBuild.h"
#include "core/advice/MetaQuery.h"
#include "core/advice/MetrionDSLParser.h"
#include "core/advice/MetrionMCPClient.h"

#include <QByteArrayView>
#include <QString>

#include <memory>
#include <optional>

#include <QCoroTask>

namespace tolvane {

class MetaBuildProvider {
public:
    virtual ~MetaBuildProvider() = default;
    // Never fails: every failure is advice with a reason.
    virtual QCoro::Task<MetaBuildAdvice> fetch(QString championDisplayName, MetaQuery query) = 0;
};

// The service's champion key: upper case, spaces as "_", then only upper-case letters, decimal
// digits and "_" kept ("Kai'Sa" gives KAISA, "Dr. Mundo" DR_MUNDO). May be empty.
QString metrionChampionKey(const QString& displayName);

class MetrionMetaBuildProvider final : public MetaBuildProvider {
public:
    explicit MetrionMetaBuildProvider(std::shared_ptr<MetrionMCPClient> client);

    QCoro::Task<MetaBuildAdvice> fetch(QString championDisplayName, MetaQuery query) override;

    static QString metrionChampionKey(const QString& displayName) { return tolvane::metrionChampionKey(displayName); }
    static std::optional<QString> extractToolText(QByteArrayView body)
    {
        return MetrionMCPClient::extractToolText(body);
    }

    // The field paths the analysis is asked for, in order.
    static const std::vector<QString>& desiredOutputFields();

private:
    static QCoro::Task<MetaBuildAdvice> run(std::shared_ptr<MetrionMCPClient> client, MetrionDSLParser parser,
        QString championDisplayName, MetaQuery query);
    static QCoro::Task<std::optional<QString>> callChampionAnalysis(
        std::shared_ptr<MetrionMCPClient> client, QString champion, QString gameMode, QString position);

    std::shared_ptr<MetrionMCPClient> client_;
    MetrionDSLParser parser_;
};

} // namespace tolvane
