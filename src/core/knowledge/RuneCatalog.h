#pragma once
// Every rune by numeric id, with descriptions cleaned of markup for plain-text display.

#include "core/knowledge/DDragon.h"
#include "core/support/HttpSession.h"
#include "core/support/Json.h"

#include <QByteArrayView>
#include <QString>

#include <cstdint>
#include <memory>
#include <span>
#include <unordered_map>
#include <vector>

#include <QCoroTask>

namespace tolvane {

struct RuneInfo {
    int64_t id = 0;
    QString name;
    QString icon; // relative to Data Dragon's image folder
    QString shortDesc;
    QString longDesc;

    bool operator==(const RuneInfo&) const = default;
};

struct RuneCatalog {
    std::unordered_map<int64_t, RuneInfo> byId;

    static const RuneCatalog& empty();
    // In the order given, unknown ids left out, repeats kept.
    std::vector<RuneInfo> runes(std::span<const int64_t> ids) const;

    // Builds the catalog from the bytes of "runesReforged.json".
    static json::Decoded<RuneCatalog> decode(QByteArrayView bytes);
    // Markup to plain text: line breaks to spaces, tags dropped, entities resolved, spaces folded.
    static QString cleanDescription(const QString& text);

    bool operator==(const RuneCatalog&) const = default;
};

class RuneCatalogLoader {
public:
    explicit RuneCatalogLoader(
        QString base = ddragonDefaultBase(), HttpTimeouts timeouts = HttpTimeouts::remoteService());

    QCoro::Task<RuneCatalog> load() const;

private:
    std::shared_ptr<HttpSession> session_;
    QString base_;
};

} // namespace tolvane
