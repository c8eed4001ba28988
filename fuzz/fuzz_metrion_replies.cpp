// Feeds arbitrary bytes to every reader of the statistics service's replies: the reply envelope,
// the analysis notation, the lane-matchup guide's JSON, combo entries and profile ranks. It checks
// what each promises of its result and, on small inputs (where the backtracking reference stays
// fast), that the linear record scanner agrees with the regular expressions it stands in for.
// Any crash, sanitizer report or broken promise is a finding.

#include "core/advice/MetrionComboProvider.h"
#include "core/advice/MetrionDSLParser.h"
#include "core/advice/MetrionMCPClient.h"
#include "core/advice/MetrionMatchupProvider.h"
#include "core/advice/SummonerProfileFetcher.h"

#include "FuzzCheck.h"
#include "NotationReference.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

using tolvane::fuzz::require;

bool fraction(const std::optional<double>& rate, bool oneAllowed)
{
    return !rate || (*rate > 0 && (oneAllowed ? *rate <= 1 : *rate < 1));
}

void checkAnalysis(const QString& text)
{
    const auto parsed = tolvane::MetrionDSLParser().parse(text);
    if (!parsed)
        return;
    require(!parsed->coreItems.empty(), "core items never empty");
    require(parsed->weakCounters.size() <= 5, "at most five counters");
    require(parsed->situationalSlots.size() <= 3, "at most three situational slots");
    for (const auto& slot : parsed->situationalSlots)
        require(!slot.empty(), "no empty situational slot");
    for (const auto& counter : parsed->weakCounters) {
        require(!counter.championName.isEmpty(), "counter names never empty");
        require(fraction(counter.winRate, false), "counter win rate in (0, 1)");
    }
    if (parsed->runePage) {
        require(parsed->runePage->primaryRuneIds.size() == 4 && parsed->runePage->primaryRuneNames.size() == 4,
            "four primary runes");
        require(parsed->runePage->secondaryRuneIds.size() == 2 && parsed->runePage->secondaryRuneNames.size() == 2,
            "two secondary runes");
        require(fraction(parsed->runePage->pickRate, true), "pick rate in (0, 1]");
        require(fraction(parsed->runePage->winRate, false), "page win rate in (0, 1)");
    }
}

void checkMatchup(const QString& text)
{
    using namespace tolvane;
    const MatchupAdvice advice
        = MetrionMatchupProvider::decode(text, QStringLiteral("Lee Sin"), QStringLiteral("Vi"), MetaRole::jungle);
    require(advice.provenance == MatchupAdvice::metrionProvenance(), "matchup caption");
    if (const auto* built = std::get_if<MatchupBuild>(&advice.result)) {
        require(!built->build.coreItems.empty(), "matchup core items never empty");
        require(built->build.situationalSlots.size() <= 3, "at most three matchup slots");
        if (built->extras.skillOrder)
            require(built->extras.skillOrder->size() == 3, "three basic abilities");
    }
    if (auto spells = MetrionMatchupProvider::decodeSummonerSpells(text))
        require(!spells->empty(), "spells never an empty list");
}

void checkCombosAndRanks(const QString& text)
{
    using namespace tolvane;
    if (auto combos = MetrionComboProvider::parse(text)) {
        for (const ChampionCombo& combo : *combos)
            require(
                !combo.name.isEmpty() && (!combo.videoURL || !combo.videoURL->isEmpty()), "combo texts never empty");
    }
    const RankFetchResult rank = SummonerProfileFetcher::parse(text);
    if (rank.kind == RankFetchResult::Kind::ranked) {
        require(rank.snapshot.has_value(), "ranked carries a snapshot");
        require(rank.snapshot->wins >= 0 && rank.snapshot->losses >= 0, "counts never negative");
        if (auto percent = rank.snapshot->winRatePercent())
            require(*percent >= 0 && *percent <= 100, "win rate a percentage");
        require(!rank.snapshot->shortLabel().isEmpty(), "label never empty");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    tolvane::fuzz::silenceLogs();
    const QByteArray bytes = tolvane::fuzz::bytes(data, size);
    const QString text = QString::fromUtf8(bytes);

    (void)tolvane::MetrionMCPClient::extractToolText(bytes);
    checkAnalysis(text);
    checkMatchup(text);
    checkCombosAndRanks(text);

    if (size <= 4096) {
        if (auto kind = tolvane::test::scannerDisagreement(text)) {
            std::fprintf(stderr, "scanner and patterns disagree on %s\n", qPrintable(*kind));
            std::abort();
        }
    }
    return 0;
}
