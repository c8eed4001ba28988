#include "core/advice/MetrionDSLParser.h"
#include "core/advice/SummonerProfileFetcher.h"

#include <QRegularExpression>
#include <QTextBoundaryFinder>

#include <cmath>

// Reading ranks out of profile replies and wording them. Kept apart from the fetcher's call: pure
// code, fuzzed on its own.

namespace tolvane {

namespace {

std::optional<int64_t> figure(const QRegularExpressionMatch& match, int group)
{
    if (!match.hasCaptured(group))
        return std::nullopt;
    // "null" and digits of other scripts do not read; neither does a count beyond 64 bits.
    return MetrionDSLParser::readInteger(match.capturedView(group));
}

// The first n user-perceived characters (a letter with its accents counts once).
QString leadingCharacters(const QString& text, int n)
{
    QTextBoundaryFinder graphemes(QTextBoundaryFinder::Grapheme, text);
    qsizetype end = 0;
    for (int i = 0; i < n; ++i) {
        const qsizetype next = graphemes.toNextBoundary();
        if (next < 0)
            return text;
        end = next;
    }
    return text.left(end);
}

} // namespace

RankFetchResult SummonerProfileFetcher::parse(const QString& text)
{
    if (!text.contains(u"LolGetSummonerProfile("))
        return RankFetchResult::unavailable();
    static const QRegularExpression soloEntry(
        QStringLiteral(
            R"re(LeagueStat\("SOLORANKED",(\d+|null),(\d+|null),TierInfo\((?:"([A-Z]+)"|null),(\d+|null),(\d+|null)\)\))re"),
        QRegularExpression::UseUnicodePropertiesOption);
    const QRegularExpressionMatch match = soloEntry.match(text);
    if (!match.hasMatch()) {
        // A solo-queue entry written in any other way (a lower-case tier, a stray blank) says the
        // player has one; calling them unranked would be a wrong answer, not a missing one.
        static const QRegularExpression anySoloEntry(QStringLiteral(R"re(LeagueStat\(\s*"SOLORANKED")re"),
            QRegularExpression::UseUnicodePropertiesOption | QRegularExpression::CaseInsensitiveOption);
        return anySoloEntry.match(text).hasMatch() ? RankFetchResult::unavailable() : RankFetchResult::unranked();
    }
    if (!match.hasCaptured(3))
        return RankFetchResult::unranked();
    SummonerRankSnapshot snapshot;
    snapshot.tier = match.captured(3);
    snapshot.division = figure(match, 4);
    snapshot.lp = figure(match, 5);
    snapshot.wins = figure(match, 1).value_or(0);
    snapshot.losses = figure(match, 2).value_or(0);
    return RankFetchResult::ranked(std::move(snapshot));
}

std::optional<int64_t> SummonerRankSnapshot::winRatePercent() const
{
    // The sum may not fit 64 bits; one that overflows upwards is certainly at least one game.
    int64_t total = 0;
    const bool overflow = __builtin_add_overflow(wins, losses, &total);
    if (overflow ? losses < 0 : total < 1)
        return std::nullopt;
    const double ratio = static_cast<double>(wins) / (static_cast<double>(wins) + static_cast<double>(losses));
    const double percent = std::round(ratio * 100.0);
    if (!std::isfinite(percent) || percent < -1e18 || percent > 1e18)
        return std::nullopt;
    return static_cast<int64_t>(percent);
}

QString SummonerRankSnapshot::shortLabel() const
{
    QString label;
    if (tier == u"GRANDMASTER")
        label = QStringLiteral("GM");
    else if (tier == u"CHALLENGER")
        label = QStringLiteral("CHALL");
    else
        label = leadingCharacters(tier, 4);
    if (division)
        label += u' ' + QString::number(*division);
    if (lp)
        label += QStringLiteral(" · ") + QString::number(*lp) + QStringLiteral(" LP");
    return label;
}

} // namespace tolvane
