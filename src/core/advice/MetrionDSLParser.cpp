#include "core/advice/MetrionDSLParser.h"

#include "core/advice/NotationScanner.h"
#include "core/support/Text.h"

#include <charconv>
#include <limits>
#include <set>

namespace tolvane {

namespace {

// Pairs ids with names, or nothing when the ids do not read or the counts differ.
std::optional<std::vector<MetaItem>> pairItems(const NotationMatch& match)
{
    const std::vector<QString> names = MetrionDSLParser::readQuotedList(*match.groups[1]);
    auto ids = MetrionDSLParser::readIdList(*match.groups[0]);
    if (!ids || ids->size() != names.size())
        return std::nullopt;
    std::vector<MetaItem> items;
    items.reserve(ids->size());
    for (size_t i = 0; i < ids->size(); ++i)
        items.push_back({(*ids)[i], names[i]});
    return items;
}

std::optional<std::vector<MetaItem>> firstItemGroup(const NotationScanner& scanner, QStringView name)
{
    auto match = scanner.itemGroup(name, 0);
    if (!match)
        return std::nullopt;
    auto items = pairItems(*match);
    if (!items || items->empty())
        return std::nullopt;
    return items;
}

std::vector<MetaItem> allItemGroups(const NotationScanner& scanner, QStringView name)
{
    std::vector<MetaItem> items;
    for (const NotationMatch& match : scanner.all([&](qsizetype from) { return scanner.itemGroup(name, from); })) {
        auto pairs = pairItems(match);
        if (!pairs)
            return {};
        items.insert(items.end(), pairs->begin(), pairs->end());
    }
    return items;
}

std::optional<MetaRunePage> runePage(const NotationScanner& scanner)
{
    auto match = scanner.runePage(0);
    if (!match)
        return std::nullopt;
    const auto& g = match->groups;
    MetaRunePage page;
    page.primaryPageName = g[0]->toString();
    if (page.primaryPageName.isEmpty())
        return std::nullopt;
    auto primaryIds = MetrionDSLParser::readIdList(*g[1]);
    if (!primaryIds || primaryIds->size() != 4)
        return std::nullopt;
    page.primaryRuneIds = std::move(*primaryIds);
    page.primaryRuneNames = MetrionDSLParser::readQuotedList(*g[2]);
    if (page.primaryRuneNames.size() != 4)
        return std::nullopt;
    page.secondaryPageName = g[3]->toString();
    if (page.secondaryPageName.isEmpty())
        return std::nullopt;
    auto secondaryIds = MetrionDSLParser::readIdList(*g[4]);
    if (!secondaryIds || secondaryIds->size() != 2)
        return std::nullopt;
    page.secondaryRuneIds = std::move(*secondaryIds);
    page.secondaryRuneNames = MetrionDSLParser::readQuotedList(*g[5]);
    if (page.secondaryRuneNames.size() != 2)
        return std::nullopt;
    auto statMods = MetrionDSLParser::readIdList(*g[6]);
    if (!statMods)
        return std::nullopt;
    page.statModIds = std::move(*statMods);

    auto decimal = [&g](size_t i) { return g[i] ? MetrionDSLParser::readDecimal(*g[i]) : std::nullopt; };
    if (auto pick = decimal(7); pick && *pick > 0 && *pick <= 1)
        page.pickRate = pick;
    const auto wins = decimal(8);
    const auto games = decimal(9);
    if (wins && games && *games > 0) {
        const double rate = *wins / *games;
        if (rate > 0 && rate < 1)
            page.winRate = rate;
    }
    return page;
}

// Reads the counter records found by find into entries, stopping once limit entries exist.
template <class Find, class Build>
void counterEntries(const NotationScanner& scanner, Find find, Build build, std::vector<CounterEntry>& out,
    std::set<int64_t>* skipIds, size_t limit)
{
    qsizetype from = 0;
    while (out.size() < limit) {
        auto match = find(scanner, from);
        if (!match)
            break;
        from = match->end;
        const auto& g = match->groups;
        const auto id = MetrionDSLParser::readInteger(*g[0]);
        if (!id || g[1]->isEmpty())
            continue;
        const auto third = MetrionDSLParser::readInteger(*g[2]);
        const auto fourth = MetrionDSLParser::readInteger(*g[3]);
        const auto fifth = g.size() > 4 && g[4] ? MetrionDSLParser::readDecimal(*g[4]) : std::nullopt;
        if (skipIds) {
            if (skipIds->count(*id))
                continue;
            skipIds->insert(*id);
        }
        out.push_back(build(*id, g[1]->toString(), third, fourth, fifth));
    }
}

std::vector<CounterEntry> weakCounters(const NotationScanner& scanner)
{
    constexpr size_t limit = 5;
    std::vector<CounterEntry> result;
    counterEntries(
        scanner, [](const NotationScanner& s, qsizetype from) { return s.weakCounter(from); },
        [](int64_t id, QString name, auto, auto, std::optional<double> rate) {
            if (rate && !(*rate > 0 && *rate < 1))
                rate.reset();
            return CounterEntry {id, std::move(name), rate};
        },
        result, nullptr, limit);
    // Counters add champions the weak counters did not name; equal weak-counter ids all stay.
    std::set<int64_t> seen;
    for (const CounterEntry& entry : result)
        seen.insert(entry.championId);
    counterEntries(
        scanner, [](const NotationScanner& s, qsizetype from) { return s.counter(from); },
        [](int64_t id, QString name, std::optional<int64_t> games, std::optional<int64_t> wins, auto) {
            std::optional<double> rate;
            if (games && wins && *games >= 1) {
                const double value = 1.0 - static_cast<double>(*wins) / static_cast<double>(*games);
                if (value > 0 && value < 1)
                    rate = value;
            }
            return CounterEntry {id, std::move(name), rate};
        },
        result, &seen, limit);
    return result;
}

} // namespace

std::optional<int64_t> MetrionDSLParser::readInteger(QStringView text)
{
    qsizetype i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        ++i;
    }
    if (i == text.size())
        return std::nullopt;
    // Accumulated negatively so that the minimum value reads too.
    int64_t value = 0;
    for (; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c < u'0' || c > u'9')
            return std::nullopt;
        const int digit = c - u'0';
        if (value < (std::numeric_limits<int64_t>::min() + digit) / 10)
            return std::nullopt;
        value = value * 10 - digit;
    }
    if (!negative) {
        if (value == std::numeric_limits<int64_t>::min())
            return std::nullopt;
        value = -value;
    }
    return value;
}

std::optional<double> MetrionDSLParser::readDecimal(QStringView text)
{
    if (text.isEmpty())
        return std::nullopt;
    std::string ascii;
    ascii.reserve(static_cast<size_t>(text.size()));
    for (QChar c : text) {
        // from_chars would take a sign, an exponent, "inf" or "nan"; the notation writes none.
        if (!((c >= u'0' && c <= u'9') || c == u'.'))
            return std::nullopt;
        ascii.push_back(static_cast<char>(c.unicode()));
    }
    double value = 0;
    const auto [end, error] = std::from_chars(ascii.data(), ascii.data() + ascii.size(), value);
    if (error == std::errc::result_out_of_range) {
        // Beyond what a double holds either way: no rate accepts the value the C library would give
        // (an infinity, or a quotient of one), so any value out of range serves.
        return std::numeric_limits<double>::infinity();
    }
    if (error != std::errc() || end != ascii.data() + ascii.size())
        return std::nullopt;
    return value;
}

std::optional<std::vector<int64_t>> MetrionDSLParser::readIdList(QStringView text)
{
    std::vector<int64_t> ids;
    text = trimBlanks(text);
    if (text.isEmpty())
        return ids;
    qsizetype start = 0;
    while (start <= text.size()) {
        qsizetype comma = text.indexOf(u',', start);
        if (comma < 0)
            comma = text.size();
        const QStringView piece = text.sliced(start, comma - start);
        start = comma + 1;
        if (piece.isEmpty())
            continue; // two commas in a row count as one
        auto id = readInteger(trimBlanks(piece));
        if (!id)
            return std::nullopt;
        ids.push_back(*id);
    }
    return ids;
}

std::vector<QString> MetrionDSLParser::readQuotedList(QStringView text)
{
    std::vector<QString> names;
    qsizetype open = text.indexOf(u'"');
    while (open >= 0) {
        const qsizetype close = text.indexOf(u'"', open + 1);
        if (close < 0)
            break;
        names.push_back(text.sliced(open + 1, close - open - 1).toString());
        open = text.indexOf(u'"', close + 1);
    }
    return names;
}

std::optional<MetrionDSLParser::Parsed> MetrionDSLParser::parse(QStringView text) const
{
    if (!text.contains(u"LolGetChampionAnalysis("))
        return std::nullopt;
    const NotationScanner scanner(text);

    Parsed parsed;
    auto core = firstItemGroup(scanner, u"CoreItems");
    if (!core)
        return std::nullopt;
    parsed.coreItems = std::move(*core);
    if (auto boots = firstItemGroup(scanner, u"Boots"))
        parsed.boots = boots->front();
    if (auto starters = firstItemGroup(scanner, u"StarterItems"))
        parsed.starterItems = std::move(*starters);
    for (const char16_t* name : {u"FourthItem", u"FifthItem", u"LastItem"}) {
        auto slot = allItemGroups(scanner, QStringView(name));
        if (!slot.empty())
            parsed.situationalSlots.push_back(std::move(slot));
    }
    if (auto rune = scanner.primaryRune(0); rune && !rune->groups[0]->isEmpty())
        parsed.primaryRune = rune->groups[0]->toString();
    parsed.runePage = runePage(scanner);
    parsed.weakCounters = weakCounters(scanner);
    return parsed;
}

} // namespace tolvane
