#include "core/advice/NotationScanner.h"

#include <QChar>

#include <algorithm>

namespace tolvane {

namespace {

bool isWordChar(char16_t c)
{
    return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9') || c == u'_';
}

qsizetype firstAtOrAfter(const std::vector<qsizetype>& positions, qsizetype i)
{
    auto it = std::lower_bound(positions.begin(), positions.end(), i);
    return it == positions.end() ? -1 : *it;
}

} // namespace

NotationScanner::NotationScanner(QStringView text)
    : text_(text)
{
    for (qsizetype i = 0; i < text_.size(); ++i) {
        const char16_t c = text_[i].unicode();
        if (c == u'"')
            quotes_.push_back(i);
        else if (c == u']')
            closes_.push_back(i);
    }
}

bool NotationScanner::guardHolds(qsizetype start) const
{
    return start == 0 || !isWordChar(text_[start - 1].unicode());
}

bool NotationScanner::at(qsizetype i, QStringView literal) const
{
    return i >= 0 && i <= text_.size() && text_.sliced(i).startsWith(literal);
}

qsizetype NotationScanner::nextQuote(qsizetype i) const
{
    return firstAtOrAfter(quotes_, i);
}
qsizetype NotationScanner::nextClose(qsizetype i) const
{
    return firstAtOrAfter(closes_, i);
}

qsizetype NotationScanner::digitRunEnd(qsizetype i) const
{
    while (i < text_.size()) {
        char32_t cp = text_[i].unicode();
        qsizetype width = 1;
        if (QChar::isHighSurrogate(cp) && i + 1 < text_.size() && text_[i + 1].isLowSurrogate()) {
            cp = QChar::surrogateToUcs4(text_[i], text_[i + 1]);
            width = 2;
        }
        if (QChar::category(cp) != QChar::Number_DecimalDigit)
            break;
        i += width;
    }
    return i;
}

qsizetype NotationScanner::asciiDecimalRunEnd(qsizetype i) const
{
    while (i < text_.size() && ((text_[i] >= u'0' && text_[i] <= u'9') || text_[i] == u'.'))
        ++i;
    return i;
}

std::optional<NotationMatch> NotationScanner::search(QStringView name, qsizetype from, Attempt attempt) const
{
    for (qsizetype start = text_.indexOf(name, std::max<qsizetype>(from, 0)); start >= 0;
         start = text_.indexOf(name, start + 1)) {
        if (!guardHolds(start))
            continue;
        if (auto match = (this->*attempt)(start, name))
            return match;
    }
    return std::nullopt;
}

std::optional<NotationMatch> NotationScanner::itemGroup(QStringView name, qsizetype from) const
{
    if (name.isEmpty())
        return std::nullopt;
    return search(name, from, &NotationScanner::itemGroupAt);
}

std::optional<NotationMatch> NotationScanner::itemGroupAt(qsizetype start, QStringView name) const
{
    qsizetype i = start + name.size();
    if (!at(i, u"(["))
        return std::nullopt;
    i += 2;
    const qsizetype close1 = nextClose(i);
    if (close1 < 0 || !at(close1, u"],["))
        return std::nullopt;
    const qsizetype j = close1 + 3;
    const qsizetype close2 = nextClose(j);
    if (close2 < 0)
        return std::nullopt;
    return NotationMatch {start, close2 + 1, {text_.sliced(i, close1 - i), text_.sliced(j, close2 - j)}};
}

std::optional<NotationMatch> NotationScanner::primaryRune(qsizetype from) const
{
    return search(u"Runes(\"", from, &NotationScanner::primaryRuneAt);
}

std::optional<NotationMatch> NotationScanner::primaryRuneAt(qsizetype start, QStringView name) const
{
    const qsizetype i = start + name.size();
    const qsizetype quote = nextQuote(i);
    if (quote < 0)
        return std::nullopt;
    return NotationMatch {start, quote + 1, {text_.sliced(i, quote - i)}};
}

std::optional<NotationMatch> NotationScanner::runePage(qsizetype from) const
{
    return search(u"Runes(\"", from, &NotationScanner::runePageAt);
}

std::optional<NotationMatch> NotationScanner::runePageAt(qsizetype start, QStringView name) const
{
    NotationMatch match {start, 0, {}};
    qsizetype i = start + name.size();
    // A quoted text up to the next '"', then the separator that must follow it.
    auto quoted = [&](QStringView after) {
        const qsizetype quote = nextQuote(i);
        if (quote < 0 || !at(quote, after))
            return false;
        match.groups.push_back(text_.sliced(i, quote - i));
        i = quote + after.size();
        return true;
    };
    // A bracketed list's inside up to the next ']', then the separator that must follow it.
    auto bracketed = [&](QStringView after) {
        const qsizetype close = nextClose(i);
        if (close < 0 || !at(close, after))
            return false;
        match.groups.push_back(text_.sliced(i, close - i));
        i = close + after.size();
        return true;
    };
    if (!quoted(u"\",[") || !bracketed(u"],[") || !bracketed(u"],\"") || !quoted(u"\",[") || !bracketed(u"],[")
        || !bracketed(u"],[") || !bracketed(u"]"))
        return std::nullopt;

    match.groups.resize(10);
    if (!runePageTail(0, i, match))
        return std::nullopt;
    return match;
}

bool NotationScanner::runePageTail(int k, qsizetype i, NotationMatch& match) const
{
    if (k == 3) {
        if (!at(i, u")"))
            return false;
        match.end = i + 1;
        return true;
    }
    // Each optional number is tried taken first, then skipped, as a greedy optional group is. A
    // run never gives back characters: the one after a shorter run could be neither ',' nor ')'.
    if (at(i, u",")) {
        const qsizetype end = k == 0 ? asciiDecimalRunEnd(i + 1) : digitRunEnd(i + 1);
        if (end > i + 1) {
            match.groups[7 + k] = text_.sliced(i + 1, end - i - 1);
            if (runePageTail(k + 1, end, match))
                return true;
            match.groups[7 + k].reset();
        }
    }
    return runePageTail(k + 1, i, match);
}

std::optional<NotationMatch> NotationScanner::weakCounter(qsizetype from) const
{
    return search(u"WeakCounter(", from, &NotationScanner::counterAt);
}

std::optional<NotationMatch> NotationScanner::counter(qsizetype from) const
{
    return search(u"Counter(", from, &NotationScanner::counterAt);
}

std::optional<NotationMatch> NotationScanner::counterAt(qsizetype start, QStringView name) const
{
    const bool weak = name.startsWith(u"Weak");
    NotationMatch match {start, 0, {}};
    qsizetype i = start + name.size();
    auto digits = [&](QStringView after) {
        const qsizetype end = digitRunEnd(i);
        if (end == i || !at(end, after))
            return false;
        match.groups.push_back(text_.sliced(i, end - i));
        i = end + after.size();
        return true;
    };
    if (!digits(u",\""))
        return std::nullopt;
    const qsizetype quote = nextQuote(i);
    if (quote < 0 || !at(quote, u"\","))
        return std::nullopt;
    match.groups.push_back(text_.sliced(i, quote - i));
    i = quote + 2;
    if (!digits(u",") || !digits(weak ? u"," : u")"))
        return std::nullopt;
    if (weak) {
        const qsizetype end = asciiDecimalRunEnd(i);
        if (end == i || !at(end, u")"))
            return std::nullopt;
        match.groups.push_back(text_.sliced(i, end - i));
        i = end + 1;
    }
    match.end = i;
    return match;
}

} // namespace tolvane
