#include "core/advice/MetaBuildProvider.h"
#include "core/advice/MetrionLog.h"
#include "core/advice/MetrionMatchupProvider.h"

#include <algorithm>
#include <array>
#include <limits>
#include <tuple>

// Reading the lane-matchup guide's JSON reply. Kept apart from the provider's calls: pure code,
// fuzzed on its own.

namespace tolvane {

namespace {

// The reply's records, as the guide writes them.
struct ItemSet {
    std::vector<int64_t> ids; // for summoner spells: the spells' numeric keys
    std::optional<std::vector<QString>> idsNames;
    std::optional<double> pickRate;
};

struct Rune {
    std::optional<QString> primaryPageName;
    std::optional<std::vector<QString>> primaryRuneNames;
    std::optional<double> pickRate;
};

struct Skill {
    std::vector<QString> order;
    std::optional<double> pickRate;
};

struct PayloadData {
    std::optional<std::vector<ItemSet>> coreItems;
    std::optional<std::vector<ItemSet>> boots;
    std::optional<std::vector<ItemSet>> starterItems;
    std::optional<std::vector<ItemSet>> lastItems;
    std::optional<std::vector<ItemSet>> summonerSpells;
    std::optional<std::vector<Rune>> runes;
    std::optional<std::vector<Skill>> skills;
    std::optional<QString> laneAdvantageChampion;
    std::optional<QString> recommendedPlayStyle;
    std::optional<QString> opponentChampionTip;
};

std::vector<QString> strings(json::Value value)
{
    return value.toArray().map([](json::Value v) { return v.toString(); });
}

ItemSet itemSet(json::Value value)
{
    const json::Object o = value.toObject();
    return {
        o.required("ids", [](json::Value v) { return v.toArray().map([](json::Value id) { return id.toInt64(); }); }),
        o.optional("ids_names", strings), o.optNumber("pick_rate")};
}

std::optional<std::vector<ItemSet>> itemSets(const json::Object& o, std::string_view key)
{
    return o.optional(key, [](json::Value v) { return v.toArray().map(itemSet); });
}

PayloadData payloadData(json::Value value)
{
    const json::Object o = value.toObject();
    PayloadData data;
    data.coreItems = itemSets(o, "core_items");
    data.boots = itemSets(o, "boots");
    data.starterItems = itemSets(o, "starter_items");
    data.lastItems = itemSets(o, "last_items");
    data.summonerSpells = itemSets(o, "summoner_spells");
    data.runes = o.optional("runes", [](json::Value v) {
        return v.toArray().map([](json::Value r) {
            const json::Object rune = r.toObject();
            return Rune {rune.optString("primary_page_name"), rune.optional("primary_rune_names", strings),
                rune.optNumber("pick_rate")};
        });
    });
    data.skills = o.optional("skills", [](json::Value v) {
        return v.toArray().map([](json::Value s) {
            const json::Object skill = s.toObject();
            return Skill {skill.required("order", strings), skill.optNumber("pick_rate")};
        });
    });
    data.laneAdvantageChampion = o.optString("lane_advantage_champion");
    data.recommendedPlayStyle = o.optString("recommended_play_style");
    data.opponentChampionTip = o.optString("opponent_champion_tip");
    return data;
}

// The entry with the highest pick rate (a missing rate counts 0); ties keep the earlier entry.
template <class T> const T* top(const std::optional<std::vector<T>>& list)
{
    if (!list || list->empty())
        return nullptr;
    const T* best = &list->front();
    for (const T& entry : *list)
        if (entry.pickRate.value_or(0) > best->pickRate.value_or(0))
            best = &entry;
    return best;
}

QString nameAt(const std::optional<std::vector<QString>>& names, size_t i)
{
    return names && i < names->size() ? (*names)[i] : QString();
}

std::vector<MetaItem> items(const ItemSet& set)
{
    std::vector<MetaItem> out;
    out.reserve(set.ids.size());
    for (size_t i = 0; i < set.ids.size(); ++i)
        out.push_back({set.ids[i], nameAt(set.idsNames, i)});
    return out;
}

std::optional<QString> nilIfBlank(const std::optional<QString>& text)
{
    if (!text || text->trimmed().isEmpty())
        return std::nullopt;
    return text;
}

MatchupVerdict verdict(
    const std::optional<QString>& advantage, const QString& myChampion, const QString& opponentChampion)
{
    if (!advantage)
        return MatchupVerdict::even;
    const QString key = metrionChampionKey(*advantage);
    if (key == metrionChampionKey(myChampion))
        return MatchupVerdict::favored;
    if (key == metrionChampionKey(opponentChampion))
        return MatchupVerdict::unfavored;
    return MatchupVerdict::even;
}

} // namespace

std::vector<QString> MetrionMatchupProvider::skillPriority(const std::vector<QString>& order)
{
    using Metric = std::tuple<int64_t, int64_t, int64_t>;
    constexpr int64_t never = std::numeric_limits<int64_t>::max();
    std::array<std::pair<QString, Metric>, 3> letters;
    const std::array<QString, 3> basics = {QStringLiteral("Q"), QStringLiteral("W"), QStringLiteral("E")};
    for (size_t l = 0; l < basics.size(); ++l) {
        int64_t count = 0;
        int64_t first = never;
        int64_t fifth = never;
        for (size_t p = 0; p < order.size(); ++p) {
            if (order[p].toUpper() != basics[l])
                continue;
            ++count;
            if (count == 1)
                first = static_cast<int64_t>(p);
            if (count == 5)
                fifth = static_cast<int64_t>(p);
        }
        letters[l] = {basics[l], Metric {fifth, -count, first}};
    }
    std::stable_sort(letters.begin(), letters.end(), [](const auto& a, const auto& b) { return a.second < b.second; });
    return {letters[0].first, letters[1].first, letters[2].first};
}

MatchupAdvice MetrionMatchupProvider::decode(
    const QString& text, const QString& myChampion, const QString& opponentChampion, MetaRole role)
{
    auto decoded = json::decode<PayloadData>(
        text.toUtf8(), [](json::Value root) { return root.toObject().required("data", payloadData); });
    if (!decoded) {
        log::error(lcMetrion(), QStringLiteral("Metrion matchup JSON not recognized — format may have drifted"));
        return MatchupAdvice::unavailable(QStringLiteral("Metrion data not recognized"));
    }
    const PayloadData& data = *decoded.value;
    const QString noMatchup = QStringLiteral("no Metrion matchup for this pick");

    const ItemSet* core = top(data.coreItems);
    if (!core || core->ids.empty())
        return MatchupAdvice::unavailable(noMatchup);
    const Rune* page = top(data.runes);
    if (!page || !page->primaryPageName || page->primaryPageName->isEmpty())
        return MatchupAdvice::unavailable(noMatchup);

    MetaBuild build;
    if (const ItemSet* starters = top(data.starterItems))
        build.starterItems = items(*starters);
    if (const ItemSet* boots = top(data.boots); boots && !boots->ids.empty())
        build.boots = MetaItem {boots->ids.front(), nameAt(boots->idsNames, 0)};
    build.coreItems = items(*core);
    if (data.lastItems) {
        for (const ItemSet& entry : *data.lastItems) {
            if (build.situationalSlots.size() == 3)
                break;
            if (entry.ids.empty()
                || std::find(core->ids.begin(), core->ids.end(), entry.ids.front()) != core->ids.end())
                continue;
            build.situationalSlots.push_back(items(entry));
        }
    }
    build.primaryRune = page->primaryPageName;
    build.role = role;

    MatchupExtras extras;
    extras.verdict = verdict(data.laneAdvantageChampion, myChampion, opponentChampion);
    if (page->primaryRuneNames && !page->primaryRuneNames->empty())
        extras.keystone = page->primaryRuneNames->front();
    if (const Skill* skill = top(data.skills))
        extras.skillOrder = skillPriority(skill->order);
    if (const ItemSet* spells = top(data.summonerSpells))
        extras.summonerSpells = spells->idsNames;
    extras.playStyle = nilIfBlank(data.recommendedPlayStyle);
    extras.opponentTip = nilIfBlank(data.opponentChampionTip);
    extras.opponent = opponentChampion;

    return {MatchupBuild {std::move(build), std::move(extras)}, MetaFreshness::unverified(),
        MatchupAdvice::metrionProvenance()};
}

std::optional<std::vector<SpellRec>> MetrionMatchupProvider::decodeSummonerSpells(const QString& text)
{
    auto decoded = json::decode<std::optional<std::vector<ItemSet>>>(text.toUtf8(), [](json::Value root) {
        return root.toObject().required(
            "data", [](json::Value data) { return itemSets(data.toObject(), "summoner_spells"); });
    });
    if (!decoded)
        return std::nullopt;
    const ItemSet* spells = top(*decoded.value);
    if (!spells || spells->ids.empty())
        return std::nullopt;
    std::vector<SpellRec> out;
    for (size_t i = 0; i < spells->ids.size(); ++i)
        out.push_back({spells->ids[i], nameAt(spells->idsNames, i)});
    return out;
}

} // namespace tolvane
