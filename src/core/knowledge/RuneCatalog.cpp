#include "core/knowledge/RuneCatalog.h"

#include "core/support/Log.h"

#include <QRegularExpression>

TOLVANE_LOG_CATEGORY(lcRuneCatalog, "runecatalog")

namespace tolvane {

const RuneCatalog& RuneCatalog::empty()
{
    static const RuneCatalog value;
    return value;
}

std::vector<RuneInfo> RuneCatalog::runes(std::span<const int64_t> ids) const
{
    std::vector<RuneInfo> out;
    for (int64_t id : ids) {
        if (const auto it = byId.find(id); it != byId.end())
            out.push_back(it->second);
    }
    return out;
}

QString RuneCatalog::cleanDescription(const QString& text)
{
    static const QRegularExpression tag(QStringLiteral("<[^>]+>"), QRegularExpression::UseUnicodePropertiesOption);
    static const QRegularExpression space(QStringLiteral("\\s+"), QRegularExpression::UseUnicodePropertiesOption);
    QString out = text;
    out.replace(QStringLiteral("<br>"), QStringLiteral(" "));
    out.remove(tag);
    // "&amp;" last, so that an escaped reference ("&amp;lt;") comes out as its own text.
    out.replace(QStringLiteral("&nbsp;"), QStringLiteral(" "));
    out.replace(QStringLiteral("&lt;"), QStringLiteral("<"));
    out.replace(QStringLiteral("&gt;"), QStringLiteral(">"));
    out.replace(QStringLiteral("&quot;"), QStringLiteral("\""));
    out.replace(QStringLiteral("&#39;"), QStringLiteral("'"));
    out.replace(QStringLiteral("&amp;"), QStringLiteral("&"));
    out.replace(space, QStringLiteral(" "));
    return out.trimmed();
}

json::Decoded<RuneCatalog> RuneCatalog::decode(QByteArrayView bytes)
{
    return json::decode<RuneCatalog>(bytes, [](json::Value root) {
        RuneCatalog catalog;
        root.toArray().forEach([&](json::Value tree) {
            tree.toObject().required("slots", [&](json::Value slotList) {
                slotList.toArray().forEach([&](json::Value slotValue) {
                    slotValue.toObject().required("runes", [&](json::Value runes) {
                        runes.toArray().forEach([&](json::Value runeValue) {
                            const json::Object o = runeValue.toObject();
                            RuneInfo rune {o.int64("id"), o.string("name"), o.string("icon"),
                                cleanDescription(o.string("shortDesc")), cleanDescription(o.string("longDesc"))};
                            catalog.byId.insert_or_assign(rune.id, std::move(rune));
                        });
                        return 0;
                    });
                });
                return 0;
            });
        });
        return catalog;
    });
}

RuneCatalogLoader::RuneCatalogLoader(QString base, HttpTimeouts timeouts)
    : session_(std::make_shared<HttpSession>(HttpPeer::dataDragon, timeouts))
    , base_(std::move(base))
{
}

namespace {

QCoro::Task<RuneCatalog> loadRunes(std::shared_ptr<HttpSession> session, QString base)
{
    const auto file = co_await fetchDDragonFile(session, base, QStringLiteral("data/en_US/runesReforged.json"));
    QString error = file.error;
    if (file) {
        auto decoded = RuneCatalog::decode(file.value->body);
        if (decoded) {
            log::info(lcRuneCatalog(),
                QStringLiteral("Loaded rune catalog: %1 runes at patch %2")
                    .arg(decoded.value->byId.size())
                    .arg(file.value->version));
            co_return std::move(*decoded.value);
        }
        error = decoded.error;
    }
    log::error(lcRuneCatalog(), QStringLiteral("Rune catalog load failed: %1").arg(error));
    co_return RuneCatalog::empty();
}

} // namespace

QCoro::Task<RuneCatalog> RuneCatalogLoader::load() const
{
    return loadRunes(session_, base_);
}

} // namespace tolvane
