#pragma once
// Finds the records of the statistics service's call notation that the reply parser reads, in one
// linear pass per record kind. Each reader accepts exactly the text its regular expression (given
// above it) accepts and yields the same captures, but hostile text (thousands of "CoreItems(["
// with no closing bracket) costs time linear in its length, where a backtracking regex search
// would rescan the tail once per occurrence.

#include <QString>
#include <QStringView>

#include <array>
#include <optional>
#include <vector>

namespace tolvane {

// One match: where it ends (the next search starts there) and its capture groups, group 1 at
// index 0; a group that took no part in the match is absent.
struct NotationMatch {
    qsizetype begin = 0;
    qsizetype end = 0;
    std::vector<std::optional<QStringView>> groups;
};

class NotationScanner {
public:
    // The text must outlive the scanner and every match taken from it.
    explicit NotationScanner(QStringView text);

    // Each finds the leftmost match starting at or after from.

    // (?<![A-Za-z0-9_])<name>\(\[([^\]]*)\],\[([^\]]*)\]
    std::optional<NotationMatch> itemGroup(QStringView name, qsizetype from) const;
    // (?<![A-Za-z0-9_])Runes\("([^"]*)"
    std::optional<NotationMatch> primaryRune(qsizetype from) const;
    // (?<![A-Za-z0-9_])Runes\("([^"]*)",\[([^\]]*)\],\[([^\]]*)\],"([^"]*)",\[([^\]]*)\],\[([^\]]*)\],
    //     \[([^\]]*)\](?:,([0-9.]+))?(?:,(\d+))?(?:,(\d+))?\)
    std::optional<NotationMatch> runePage(qsizetype from) const;
    // (?<![A-Za-z0-9_])WeakCounter\((\d+),"([^"]*)",(\d+),(\d+),([0-9.]+)\)
    std::optional<NotationMatch> weakCounter(qsizetype from) const;
    // (?<![A-Za-z0-9_])Counter\((\d+),"([^"]*)",(\d+),(\d+)\)
    std::optional<NotationMatch> counter(qsizetype from) const;

    // Every non-overlapping match from left to right.
    template <class Find> std::vector<NotationMatch> all(Find&& find) const
    {
        std::vector<NotationMatch> out;
        qsizetype from = 0;
        while (auto match = find(from)) {
            from = match->end;
            out.push_back(std::move(*match));
        }
        return out;
    }

private:
    // A reader tries one start position: the match, or nothing.
    using Attempt = std::optional<NotationMatch> (NotationScanner::*)(qsizetype start, QStringView name) const;
    std::optional<NotationMatch> search(QStringView name, qsizetype from, Attempt attempt) const;

    std::optional<NotationMatch> itemGroupAt(qsizetype start, QStringView name) const;
    std::optional<NotationMatch> primaryRuneAt(qsizetype start, QStringView name) const;
    std::optional<NotationMatch> runePageAt(qsizetype start, QStringView name) const;
    // Both counter forms; a name starting with "Weak" reads the trailing win rate too.
    std::optional<NotationMatch> counterAt(qsizetype start, QStringView name) const;
    // The optional numbers after a rune page's last list, from group index k on, then ')'.
    bool runePageTail(int k, qsizetype i, NotationMatch& match) const;

    bool guardHolds(qsizetype start) const;
    bool at(qsizetype i, QStringView literal) const;
    // First '"' or ']' at or after i; -1 when there is none.
    qsizetype nextQuote(qsizetype i) const;
    qsizetype nextClose(qsizetype i) const;
    // End of a run of decimal digits (any script, as \d matches) or of [0-9.] starting at i.
    qsizetype digitRunEnd(qsizetype i) const;
    qsizetype asciiDecimalRunEnd(qsizetype i) const;

    QStringView text_;
    std::vector<qsizetype> quotes_;
    std::vector<qsizetype> closes_;
};

} // namespace tolvane
