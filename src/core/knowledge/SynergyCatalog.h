#pragma once
// The shipped table of strong bottom-lane pairs (ADC with support), looked up by the two
// champions' Data Dragon ids.

#include "core/support/Json.h"
#include "core/support/ResourceBundle.h"

#include <QByteArrayView>
#include <QHash> // std::hash<QString>
#include <QString>
#include <QStringList>

#include <optional>
#include <unordered_map>
#include <vector>

namespace tolvane {

struct SynergyDuo {
    QString adc;
    QString support;
    double score = 0;
    QStringList channels; // snake_case labels

    // Labels with every "_" turned into a space, for display.
    QStringList readableChannels() const;
    bool operator==(const SynergyDuo&) const = default;
};

struct SynergyCatalog {
    SynergyCatalog() = default;
    // The last duo of a pair wins.
    explicit SynergyCatalog(const std::vector<SynergyDuo>& duos);

    std::unordered_map<QString, SynergyDuo> byPair; // "adc|support"

    static const SynergyCatalog& empty();
    bool isEmpty() const { return byPair.empty(); }
    // Exact, ordered lookup: the pair is not tried the other way round.
    std::optional<SynergyDuo> duo(const QString& adc, const QString& support) const;

    static json::Decoded<SynergyCatalog> decode(QByteArrayView bytes);
    bool operator==(const SynergyCatalog&) const = default;
};

struct SynergyCatalogLoader {
    // Reads "adc-support-synergy.json"; a missing or bad file is logged and gives the empty
    // catalog, so the synergy card stays hidden.
    SynergyCatalog load(const ResourceBundle& bundle = tolvaneCoreBundle()) const;
};

} // namespace tolvane
