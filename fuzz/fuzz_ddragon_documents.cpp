// Feeds arbitrary bytes to every decoder of Data Dragon's documents (a peer may answer any request
// with any body): the versions list, the champion, item, rune and summoner-spell catalogs and a
// champion's own file with its abilities. Checks the all-or-nothing promise, the catalogs' query
// promises, and that no address built from a document's text leaves Data Dragon's host.

#include "core/knowledge/ChampionCatalog.h"
#include "core/knowledge/DDragon.h"
#include "core/knowledge/ItemCatalog.h"
#include "core/knowledge/RuneCatalog.h"
#include "core/knowledge/SummonerSpellCatalog.h"
#include "core/knowledge/UltCooldowns.h"

#include "FuzzCheck.h"

#include <QByteArray>
#include <QUrl>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

namespace {

using namespace tolvane;
using fuzz::require;

// The catalog queries run for this many entries at most, so that a large document stays quick.
constexpr int queriedEntries = 64;

const QString version = QStringLiteral("15.4.1");

void requireOnDDragon(const std::optional<QUrl>& address)
{
    require(!address
            || (address->scheme() == QLatin1String("https")
                && address->host() == QLatin1String("ddragon.leagueoflegends.com") && address->port() == -1),
        "addresses stay on Data Dragon's host");
}

void checkVersions(const QByteArray& body)
{
    const auto latest = latestDDragonVersion(body);
    require(latest.value.has_value() == latest.error.isEmpty(), "versions: a value or an error");
    if (latest)
        requireOnDDragon(ddragonAddress(
            ddragonDefaultBase(), QStringLiteral("/cdn/") + *latest.value + QStringLiteral("/data/en_US/item.json")));
}

void checkChampions(const QByteArray& body)
{
    const auto decoded = ChampionCatalog::decode(body, version);
    fuzz::requireDecodeOrError(decoded, "champions: a value or an error");
    if (!decoded)
        return;
    require(decoded.value->patch == version, "the catalog keeps its version");
    for (const auto& [name, info] : decoded.value->byName)
        requireOnDDragon(DDragonImage::champion(info.id, version));
}

void checkItems(const QByteArray& body)
{
    const auto decoded = ItemCatalog::decode(body);
    fuzz::requireDecodeOrError(decoded, "items: a value or an error");
    if (!decoded)
        return;
    const ItemCatalog& catalog = *decoded.value;
    ItemIDSet owned;
    std::vector<int64_t> probes; // ids and costs alike: some known, some not
    int queried = 0;
    for (const auto& [id, total] : catalog.totalCostByID) {
        if (++queried > queriedEntries)
            break;
        require(!catalog.goldCost(id) || *catalog.goldCost(id) > 0, "a known cost is above 0");
        const std::vector<int64_t> path = catalog.buildPath(id);
        require(path.size() == catalog.components(id).size(), "the build path holds every component");
        auto cost = [&](int64_t c) { return catalog.totalCostByID.contains(c) ? catalog.totalCostByID.at(c) : 0; };
        require(std::is_sorted(path.begin(), path.end(), [&](int64_t a, int64_t b) { return cost(a) > cost(b); }),
            "dearest component first");
        (void)catalog.isBootsLine(id);
        (void)catalog.remainingCost(id, owned);
        (void)catalog.isAcquired(id, owned);
        requireOnDDragon(DDragonImage::item(id, version));
        // Every other item counts as owned for the later queries.
        if (queried % 2 == 0)
            owned.insert(id);
        probes.push_back(id);
        probes.push_back(total);
    }
    const auto unknown = catalog.unknownItemIDs(probes);
    require(unknown.size()
            == size_t(std::count_if(
                probes.begin(), probes.end(), [&](int64_t id) { return !catalog.totalCostByID.contains(id); })),
        "exactly the ids the catalog does not hold are unknown");
}

void checkRunes(const QByteArray& body)
{
    const auto decoded = RuneCatalog::decode(body);
    fuzz::requireDecodeOrError(decoded, "runes: a value or an error");
    if (!decoded)
        return;
    for (const auto& [id, rune] : decoded.value->byId) {
        require(rune.id == id, "runes are kept under their id");
        for (const QString* text : {&rune.shortDesc, &rune.longDesc}) {
            if (!text->contains(QLatin1Char('<')) && !text->contains(QLatin1Char('&')))
                require(RuneCatalog::cleanDescription(*text) == *text, "a clean description stays as it is");
        }
        requireOnDDragon(DDragonImage::rune(rune.icon));
    }
}

void checkSpells(const QByteArray& body)
{
    for (const auto& [id, spell] : SummonerSpellCatalogLoader::decode(body).byId)
        requireOnDDragon(DDragonImage::summonerSpell(spell.key, version));
}

void checkAbilities(const QByteArray& body)
{
    const auto decoded = UltCooldownsLoader::decodeSpells(body, QStringLiteral("Ahri"));
    fuzz::requireDecodeOrError(decoded, "abilities: a value or an error");
    if (!decoded || !*decoded.value)
        return;
    for (const UltInfo::Spell& spell : **decoded.value)
        requireOnDDragon(DDragonImage::ability(spell.id, version));
    const auto ult = UltInfo::select(**decoded.value);
    require(ult.has_value() == ((*decoded.value)->size() >= 4), "an ultimate exactly with four abilities");
    if (!ult || !ult->trackable())
        return;
    require(ult->cooldownByRank.size() == 3 && ult->cooldownByRank[0] >= UltInfo::minTrackableUltCD,
        "a tracked ultimate has three long ranks");
    const double inf = std::numeric_limits<double>::infinity();
    for (int64_t level = 1; level <= 18; ++level) {
        const auto base = ult->baseCD(level);
        require(base.has_value() == (level >= 6), "a cooldown from level 6");
        for (const double haste : {0.0, 45.0, -30.0, inf, std::nan("")}) {
            const auto cd = ult->conservativeCD(level, haste);
            require(cd.has_value() == base.has_value(), "a cooldown exactly with a base cooldown");
            require(!cd || !(*base >= 0) || (*cd >= 0 && *cd <= *base), "haste only shortens");
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::silenceLogs();
    const QByteArray body = fuzz::bytes(data, size);
    checkVersions(body);
    checkChampions(body);
    checkItems(body);
    checkRunes(body);
    checkSpells(body);
    checkAbilities(body);
    return 0;
}
