#pragma once
// Named skill combos of a champion, each with an optional video, read from the statistics
// service's champion analysis when asked only for its combo fields.

#include "core/advice/MetaQuery.h"
#include "core/advice/MetrionMCPClient.h"

#include <QString>

#include <memory>
#include <optional>
#include <vector>

#include <QCoroTask>

namespace tolvane {

struct ChampionCombo {
    QString name; // never empty
    std::optional<QString> videoURL; // never empty when present

    bool operator==(const ChampionCombo&) const = default;
};

class ComboProvider {
public:
    virtual ~ComboProvider() = default;
    // Nothing means unavailable; an empty list means the service knows no combo.
    virtual QCoro::Task<std::optional<std::vector<ChampionCombo>>> fetchCombos(
        QString championDisplayName, MetaQuery query)
        = 0;
};

class MetrionComboProvider final : public ComboProvider {
public:
    explicit MetrionComboProvider(std::shared_ptr<MetrionMCPClient> client);

    QCoro::Task<std::optional<std::vector<ChampionCombo>>> fetchCombos(
        QString championDisplayName, MetaQuery query) override;

    // Every combo entry of an analysis reply, in reply order; nothing without the analysis marker.
    static std::optional<std::vector<ChampionCombo>> parse(const QString& text);

private:
    static QCoro::Task<std::optional<std::vector<ChampionCombo>>> run(
        std::shared_ptr<MetrionMCPClient> client, QString championDisplayName, MetaQuery query);

    std::shared_ptr<MetrionMCPClient> client_;
};

} // namespace tolvane
