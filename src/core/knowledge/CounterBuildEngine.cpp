#include "core/knowledge/CounterBuildEngine.h"

#include <algorithm>
#include <array>
#include <limits>
#include <map>

namespace tolvane {

namespace {

constexpr size_t maxPicks = 5;
constexpr size_t topUpTarget = 3;

bool hasPhysicalTag(const QStringList& tags)
{
    return tags.contains(QLatin1String("Marksman")) || tags.contains(QLatin1String("Fighter"))
        || tags.contains(QLatin1String("Assassin"));
}

enum class Threat { ad, ap, cc, assassin, other };

// The threat words, told apart by their length first: this runs for every rule on every snapshot.
Threat threatWord(const QString& word)
{
    switch (word.size()) {
    case 2:
        if (word == QLatin1String("ad"))
            return Threat::ad;
        if (word == QLatin1String("ap"))
            return Threat::ap;
        if (word == QLatin1String("cc"))
            return Threat::cc;
        break;
    case 8:
        if (word == QLatin1String("assassin"))
            return Threat::assassin;
        break;
    default:
        break;
    }
    return Threat::other;
}

bool counters(const CounterRules::ItemRule& rule, Threat threat)
{
    return std::any_of(
        rule.counters.begin(), rule.counters.end(), [&](const QString& word) { return threatWord(word) == threat; });
}

double score(const CounterRules::ItemRule& rule, const ThreatProfile& threat)
{
    double total = 0;
    for (const QString& word : rule.counters) {
        switch (threatWord(word)) {
        case Threat::ad:
            total += threat.adWeight();
            break;
        case Threat::ap:
            total += threat.apWeight();
            break;
        case Threat::cc:
            total += threat.ccCoverage.count >= 2 ? 2.0 : 0.0;
            break;
        case Threat::assassin:
            total += threat.assassinThreat ? 2.0 : 0.0;
            break;
        case Threat::other:
            break;
        }
    }
    return total;
}

QString reason(const CounterRules::ItemRule& rule, const ThreatProfile& threat)
{
    const bool ad = counters(rule, Threat::ad);
    const bool ap = counters(rule, Threat::ap);
    if (counters(rule, Threat::cc) && threat.ccCoverage.count >= 2)
        return (threat.ccCoverage.isPartial() ? QStringLiteral("≥") : QString())
            + QString::number(threat.ccCoverage.count) + QStringLiteral(" CC");
    if (counters(rule, Threat::assassin) && threat.assassinThreat)
        return QStringLiteral("vs assassin dive");
    if (!ad && !ap)
        return QStringLiteral("defensive");
    if (threat.damageAmbiguous())
        return QStringLiteral("vs mixed");
    if (ap && threat.adWeight() < threat.apWeight())
        return QStringLiteral("vs AP");
    if (ad)
        return QStringLiteral("vs AD");
    return QStringLiteral("vs AP");
}

int64_t addSaturating(int64_t a, int64_t b)
{
    int64_t out = 0;
    if (__builtin_add_overflow(a, b, &out))
        return b > 0 ? std::numeric_limits<int64_t>::max() : std::numeric_limits<int64_t>::min();
    return out;
}

// a - b >= 3 without overflowing on absurd ratings.
bool leadsByThree(int64_t a, int64_t b)
{
    int64_t difference = 0;
    if (__builtin_sub_overflow(a, b, &difference))
        return a > b;
    return difference >= 3;
}

// The first two non-empty dot-separated pieces (fewer when there are fewer), without copying.
struct MajorMinor {
    std::array<QStringView, 2> pieces;
    size_t count = 0;

    bool operator==(const MajorMinor& other) const
    {
        return count == other.count && pieces[0] == other.pieces[0] && pieces[1] == other.pieces[1];
    }
};

MajorMinor majorMinor(const QString& version)
{
    MajorMinor out;
    for (QStringView piece : QStringView(version).tokenize(u'.', Qt::SkipEmptyParts)) {
        out.pieces[out.count++] = piece;
        if (out.count == out.pieces.size())
            break;
    }
    return out;
}

} // namespace

DamageType CounterBuildEngine::heuristic(const ChampionInfo& info)
{
    const bool physical = hasPhysicalTag(info.tags);
    const bool mage = info.tags.contains(QLatin1String("Mage"));
    if (leadsByThree(info.attack, info.magic) && physical && !mage)
        return DamageType::ad;
    if (leadsByThree(info.magic, info.attack) && mage && !physical)
        return DamageType::ap;
    return DamageType::unknown;
}

DamageType CounterBuildEngine::classify(
    const QString& championName, const ChampionCatalog& catalog, const CounterRules& rules) const
{
    if (const auto override = rules.champOverrides.find(championName);
        override != rules.champOverrides.end() && override->second.damageType)
        return *override->second.damageType;
    if (const auto info = catalog.byName.find(championName); info != catalog.byName.end())
        return heuristic(info->second);
    return DamageType::unknown;
}

ThreatProfile CounterBuildEngine::computeThreatProfile(
    const std::vector<LivePlayer>& players, const ChampionCatalog& catalog, const CounterRules& rules) const
{
    return threatOf(players, nullptr, false, catalog, rules);
}

ThreatProfile CounterBuildEngine::teamThreatProfile(const std::vector<LivePlayer>& players, const QString& team,
    const ChampionCatalog& catalog, const CounterRules& rules) const
{
    return threatOf(players, &team, true, catalog, rules);
}

ThreatProfile CounterBuildEngine::threatOf(const std::vector<LivePlayer>& players, const QString* team, bool sameTeam,
    const ChampionCatalog& catalog, const CounterRules& rules) const
{
    ThreatProfile threat;
    int64_t cc = 0;
    bool partial = false;
    for (const LivePlayer& player : players) {
        if (team && (player.team == *team) != sameTeam)
            continue;
        // One lookup in each table per player: this runs on every snapshot.
        const auto override = rules.champOverrides.find(player.championName);
        const bool hasOverride = override != rules.champOverrides.end();
        const auto info = catalog.byName.find(player.championName);
        const bool inCatalog = info != catalog.byName.end();
        DamageType type = DamageType::unknown;
        if (hasOverride && override->second.damageType)
            type = *override->second.damageType;
        else if (inCatalog)
            type = heuristic(info->second);
        switch (type) {
        case DamageType::ad:
            ++threat.adCount;
            break;
        case DamageType::ap:
            ++threat.apCount;
            break;
        case DamageType::mixed:
            ++threat.mixedCount;
            break;
        case DamageType::unknown:
            ++threat.unknownCount;
            break;
        }
        if (hasOverride && override->second.cc)
            cc = addSaturating(cc, *override->second.cc);
        else
            partial = true;
        if (inCatalog && info->second.tags.contains(QLatin1String("Assassin")))
            threat.assassinThreat = true;
    }
    threat.ccCoverage = partial ? CCCoverage::atLeast(cc) : CCCoverage::exact(cc);
    return threat;
}

bool CounterBuildEngine::isStale(const QString& catalogPatch, const QString& rulesPatch)
{
    if (catalogPatch.isEmpty() || rulesPatch.isEmpty())
        return false;
    return majorMinor(catalogPatch) != majorMinor(rulesPatch);
}

std::vector<RankedItem> CounterBuildEngine::rankItems(
    const ThreatProfile& threat, const QStringList& yourTags, const ItemIDSet& owned, const CounterRules& rules)
{
    using Rule = CounterRules::ItemRule;
    // Each rule's score is needed several times below; work it out once.
    std::vector<double> scores(rules.items.size());
    auto scoreOf = [&](const Rule* rule) { return scores[size_t(rule - rules.items.data())]; };
    std::vector<const Rule*> eligible;
    for (const Rule& rule : rules.items) {
        const bool fits = rule.classFit.isEmpty()
            || std::any_of(
                rule.classFit.begin(), rule.classFit.end(), [&](const QString& tag) { return yourTags.contains(tag); });
        if (fits) {
            eligible.push_back(&rule);
            scores[size_t(&rule - rules.items.data())] = score(rule, threat);
        }
    }

    // One representative per group of alternatives: what the player owns, else the best fit.
    std::map<QString, std::vector<const Rule*>> groups;
    for (const Rule* rule : eligible) {
        if (rule->group)
            groups[*rule->group].push_back(rule);
    }
    ItemIDSet suppressed;
    for (const auto& [name, members] : groups) {
        if (members.size() < 2)
            continue;
        const Rule* chosen = nullptr;
        for (const Rule* member : members) {
            if (owned.contains(member->id)) {
                chosen = member;
                break;
            }
        }
        if (!chosen) {
            for (const Rule* member : members) {
                if (!chosen)
                    chosen = member;
                const double a = scoreOf(member);
                const double b = scoreOf(chosen);
                if (a > b || (a == b && member->priority < chosen->priority)
                    || (a == b && member->priority == chosen->priority && member->id < chosen->id))
                    chosen = member;
            }
        }
        for (const Rule* member : members) {
            if (member->id != chosen->id)
                suppressed.insert(member->id);
        }
    }

    std::vector<const Rule*> candidates;
    for (const Rule* rule : eligible) {
        if (!suppressed.contains(rule->id))
            candidates.push_back(rule);
    }
    std::vector<std::pair<const Rule*, double>> scored;
    for (const Rule* rule : candidates) {
        if (const double s = scoreOf(rule); s > 0.0)
            scored.emplace_back(rule, s);
    }
    std::stable_sort(scored.begin(), scored.end(), [](const auto& a, const auto& b) {
        if (a.second != b.second)
            return a.second > b.second;
        return a.first->priority < b.first->priority;
    });

    std::vector<const Rule*> picks;
    auto picked = [&](const Rule* rule) {
        return std::any_of(picks.begin(), picks.end(), [&](const Rule* p) { return *p == *rule; });
    };
    for (const auto& [rule, s] : scored) {
        if (picks.size() >= maxPicks)
            break;
        if (!owned.contains(rule->id))
            picks.push_back(rule);
    }
    if (picks.size() < topUpTarget) {
        std::vector<const Rule*> fillers;
        for (const Rule* rule : candidates) {
            if (rule->generic && !owned.contains(rule->id) && !picked(rule))
                fillers.push_back(rule);
        }
        std::stable_sort(
            fillers.begin(), fillers.end(), [](const Rule* a, const Rule* b) { return a->priority < b->priority; });
        for (const Rule* rule : fillers) {
            if (picks.size() >= topUpTarget)
                break;
            picks.push_back(rule);
        }
    }
    if (picks.empty())
        return {};
    for (const auto& [rule, s] : scored) {
        if (picks.size() >= maxPicks)
            break;
        if (owned.contains(rule->id) && !picked(rule))
            picks.push_back(rule);
    }

    std::vector<RankedItem> out;
    out.reserve(picks.size());
    for (const Rule* rule : picks)
        out.push_back({rule->id, rule->name, reason(*rule, threat), owned.contains(rule->id)});
    return out;
}

CounterBuildAdvice CounterBuildEngine::recommend(const std::vector<LivePlayer>& allPlayers,
    const std::optional<ResolvedSelf>& you, const ChampionCatalog& catalog, const CounterRules& rules,
    const std::optional<QString>& gameMode) const
{
    CounterBuildAdvice advice;
    advice.stale = isStale(catalog.patch, rules.targetPatch);
    if (!you) {
        advice.shortlist = Shortlist::unavailable(QStringLiteral("champion not identified"));
        return advice;
    }
    advice.threat = threatOf(allPlayers, &you->team, false, catalog, rules);
    if (gameMode && *gameMode != QLatin1String("CLASSIC")) {
        advice.shortlist = Shortlist::readoutOnly();
        return advice;
    }
    QStringList yourTags;
    if (const auto info = catalog.byName.find(you->championName); info != catalog.byName.end())
        yourTags = info->second.tags;
    advice.shortlist = Shortlist::items(rankItems(*advice.threat, yourTags, you->ownedItemIDs, rules));
    return advice;
}

} // namespace tolvane
