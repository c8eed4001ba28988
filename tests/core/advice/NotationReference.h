#pragma once
// The record patterns of the champion-analysis notation as plain regular expressions: the
// reference the linear scanner must agree with, match for match and capture for capture.
// Backtracking search makes these quadratic on hostile text, so they only check small inputs.

#include "core/advice/NotationScanner.h"

#include <QRegularExpression>
#include <QString>

#include <optional>
#include <vector>

namespace tolvane::test {

inline QRegularExpression notationPattern(const QString& pattern)
{
    return QRegularExpression(pattern, QRegularExpression::UseUnicodePropertiesOption);
}

inline const QString& notationGuard()
{
    static const QString guard = QStringLiteral("(?<![A-Za-z0-9_])");
    return guard;
}

inline QRegularExpression itemGroupPattern(const QString& name)
{
    return notationPattern(
        notationGuard() + QRegularExpression::escape(name) + QStringLiteral(R"re(\(\[([^\]]*)\],\[([^\]]*)\])re"));
}

inline QRegularExpression primaryRunePattern()
{
    return notationPattern(notationGuard() + QStringLiteral(R"re(Runes\("([^"]*)")re"));
}

inline QRegularExpression runePagePattern()
{
    return notationPattern(notationGuard()
        + QStringLiteral(
            R"re(Runes\("([^"]*)",\[([^\]]*)\],\[([^\]]*)\],"([^"]*)",\[([^\]]*)\],\[([^\]]*)\],\[([^\]]*)\](?:,([0-9.]+))?(?:,(\d+))?(?:,(\d+))?\))re"));
}

inline QRegularExpression weakCounterPattern()
{
    return notationPattern(
        notationGuard() + QStringLiteral(R"re(WeakCounter\((\d+),"([^"]*)",(\d+),(\d+),([0-9.]+)\))re"));
}

inline QRegularExpression counterPattern()
{
    return notationPattern(notationGuard() + QStringLiteral(R"re(Counter\((\d+),"([^"]*)",(\d+),(\d+)\))re"));
}

// Matches in the scanner's shape; captures as strings so that results compare with ==.
struct PlainMatch {
    qsizetype begin = 0;
    qsizetype end = 0;
    std::vector<std::optional<QString>> groups;
    bool operator==(const PlainMatch&) const = default;
};

inline std::vector<PlainMatch> referenceMatches(const QRegularExpression& re, const QString& text)
{
    std::vector<PlainMatch> out;
    auto it = re.globalMatch(text);
    while (it.hasNext()) {
        const QRegularExpressionMatch m = it.next();
        PlainMatch p {m.capturedStart(0), m.capturedEnd(0), {}};
        for (int g = 1; g <= re.captureCount(); ++g) {
            if (m.capturedStart(g) < 0)
                p.groups.push_back(std::nullopt);
            else
                p.groups.push_back(m.captured(g));
        }
        out.push_back(std::move(p));
    }
    return out;
}

inline std::vector<PlainMatch> plain(const std::vector<NotationMatch>& matches)
{
    std::vector<PlainMatch> out;
    for (const NotationMatch& m : matches) {
        PlainMatch p {m.begin, m.end, {}};
        for (const auto& g : m.groups)
            p.groups.push_back(g ? std::optional<QString>(g->toString()) : std::nullopt);
        out.push_back(std::move(p));
    }
    return out;
}

// Describes the first record kind on which the scanner and the patterns disagree, or nothing.
inline std::optional<QString> scannerDisagreement(const QString& text)
{
    const NotationScanner scanner(text);
    auto check = [&](const char* kind, const QRegularExpression& re,
                     const std::vector<NotationMatch>& mine) -> std::optional<QString> {
        if (referenceMatches(re, text) != plain(mine))
            return QString::fromLatin1(kind);
        return std::nullopt;
    };
    for (const char* name : {"CoreItems", "Boots", "StarterItems", "FourthItem", "FifthItem", "LastItem"}) {
        const QString n = QString::fromLatin1(name);
        if (auto d
            = check(name, itemGroupPattern(n), scanner.all([&](qsizetype f) { return scanner.itemGroup(n, f); })))
            return d;
    }
    if (auto d
        = check("primary rune", primaryRunePattern(), scanner.all([&](qsizetype f) { return scanner.primaryRune(f); })))
        return d;
    if (auto d = check("rune page", runePagePattern(), scanner.all([&](qsizetype f) { return scanner.runePage(f); })))
        return d;
    if (auto d
        = check("weak counter", weakCounterPattern(), scanner.all([&](qsizetype f) { return scanner.weakCounter(f); })))
        return d;
    if (auto d = check("counter", counterPattern(), scanner.all([&](qsizetype f) { return scanner.counter(f); })))
        return d;
    return std::nullopt;
}

} // namespace tolvane::test
