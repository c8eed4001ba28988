#include "core/advice/MetrionDSLParser.h"

#include "NotationReference.h"

#include <QFile>

#include <gtest/gtest.h>

#include <random>

using namespace tolvane;
using namespace tolvane::test;

namespace {

const QString marker = QStringLiteral("LolGetChampionAnalysis(data=Data(");
const QString core = QStringLiteral(R"re(CoreItems([6655,3157],["Luden's Companion","Zhonya's Hourglass"]))re");

std::optional<MetrionDSLParser::Parsed> parse(const QString& body)
{
    return MetrionDSLParser().parse(body);
}

MetrionDSLParser::Parsed parseWithCore(const QString& records)
{
    auto parsed = parse(marker + core + u',' + records + u')');
    EXPECT_TRUE(parsed.has_value());
    return parsed.value_or(MetrionDSLParser::Parsed {});
}

QString replyFile(const QString& name)
{
    QFile file(QStringLiteral(TOLVANE_SOURCE_DIR "/tests/mcppeer/replies/champion_analysis/") + name);
    if (!file.open(QIODevice::ReadOnly))
        ADD_FAILURE() << "missing reply " << name.toStdString();
    return QString::fromUtf8(file.readAll());
}

TEST(MetrionDSLParser, ReadsAFullAnalysis)
{
    auto parsed = parse(replyFile(QStringLiteral("AHRI.analysis.txt")));
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->starterItems,
        (std::vector<MetaItem> {{1056, "Doran's Ring"}, {2003, "Health Potion"}, {2003, "Health Potion"}}));
    EXPECT_EQ(parsed->boots, (MetaItem {3020, "Sorcerer's Shoes"}));
    EXPECT_EQ(parsed->coreItems,
        (std::vector<MetaItem> {{6655, "Luden's Companion"}, {3157, "Zhonya's Hourglass"}, {4645, "Shadowflame"}}));
    ASSERT_EQ(parsed->situationalSlots.size(), 3u);
    EXPECT_EQ(parsed->situationalSlots[0].size(), 5u);
    EXPECT_EQ(parsed->situationalSlots[0][1], (MetaItem {3135, "Void Staff"}));
    EXPECT_EQ(parsed->situationalSlots[2].back(), (MetaItem {3118, "Malignance"}));
    EXPECT_EQ(parsed->primaryRune, QStringLiteral("Domination"));
    ASSERT_TRUE(parsed->runePage);
    EXPECT_EQ(parsed->runePage->primaryRuneIds, (std::vector<int64_t> {8112, 8139, 8138, 8135}));
    EXPECT_EQ(parsed->runePage->secondaryRuneNames, (std::vector<QString> {"Manaflow Band", "Transcendence"}));
    EXPECT_EQ(parsed->runePage->statModIds, (std::vector<int64_t> {5008, 5008, 5011}));
    EXPECT_DOUBLE_EQ(parsed->runePage->pickRate.value_or(0), 0.4812);
    EXPECT_DOUBLE_EQ(parsed->runePage->winRate.value_or(0), 25123.0 / 48011.0);
    ASSERT_EQ(parsed->weakCounters.size(), 5u);
    EXPECT_EQ(parsed->weakCounters[0], (CounterEntry {84, "Akali", 0.5558}));
    EXPECT_EQ(parsed->weakCounters[4].championName, u"Katarina");
}

TEST(MetrionDSLParser, FailsWithoutMarkerOrReadableCoreItems)
{
    EXPECT_FALSE(parse(core));
    EXPECT_FALSE(parse(QStringLiteral("lolGetChampionAnalysis(") + core));
    EXPECT_FALSE(parse(marker + "CoreItems([],[])"));
    EXPECT_FALSE(parse(marker + R"re(CoreItems([1,2],["a"]))re"));
    EXPECT_FALSE(parse(marker + R"re(CoreItems([1,x],["a","b"]))re"));
    EXPECT_FALSE(parse(marker + R"re(CoreItems([x],["a"]),CoreItems([1],["a"]))re"));
    EXPECT_FALSE(parse(marker + R"re(XCoreItems([1],["a"]))re"));
    EXPECT_FALSE(parse(marker + R"re(_CoreItems([1],["a"]))re"));
    EXPECT_TRUE(parse(marker + R"re(.CoreItems([1],["a"]))re"));
    EXPECT_TRUE(parse(R"re(CoreItems([1],["a"])LolGetChampionAnalysis()re"));
}

TEST(MetrionDSLParser, OtherRecordsDegradeAlone)
{
    const auto parsed = parseWithCore(R"re(Boots([],[]),StarterItems([1],["a","b"]),Runes("",[1]))re");
    EXPECT_EQ(parsed.boots, std::nullopt);
    EXPECT_TRUE(parsed.starterItems.empty());
    EXPECT_EQ(parsed.primaryRune, std::nullopt);
    EXPECT_EQ(parsed.runePage, std::nullopt);
    EXPECT_TRUE(parsed.situationalSlots.empty());
    EXPECT_TRUE(parsed.weakCounters.empty());
    EXPECT_EQ(parsed.coreItems.size(), 2u);
}

TEST(MetrionDSLParser, SituationalSlotsGatherEveryRecordOfAName)
{
    auto parsed = parseWithCore(
        R"re(FourthItem([1],["a"]),FifthItem([4],["d"]),FourthItem([2],["b"]),FourthItem([3],["c"]))re");
    ASSERT_EQ(parsed.situationalSlots.size(), 2u);
    EXPECT_EQ(parsed.situationalSlots[0], (std::vector<MetaItem> {{1, "a"}, {2, "b"}, {3, "c"}}));
    EXPECT_EQ(parsed.situationalSlots[1], (std::vector<MetaItem> {{4, "d"}}));

    parsed = parseWithCore(R"re(FourthItem([1],["a"]),FourthItem([x],["b"]),FifthItem([4],["d"]),LastItem([],[]))re");
    ASSERT_EQ(parsed.situationalSlots.size(), 1u);
    EXPECT_EQ(parsed.situationalSlots[0], (std::vector<MetaItem> {{4, "d"}}));
}

struct IdListCase {
    const char* text;
    std::optional<std::vector<int64_t>> ids;
};

class IdLists : public ::testing::TestWithParam<IdListCase> { };

TEST_P(IdLists, Read)
{
    EXPECT_EQ(MetrionDSLParser::readIdList(QString::fromUtf8(GetParam().text)), GetParam().ids);
}

INSTANTIATE_TEST_SUITE_P(Notation, IdLists,
    ::testing::Values(IdListCase {" 1 ,\t2 , 3 ", std::vector<int64_t> {1, 2, 3}},
        IdListCase {",1,,2,", std::vector<int64_t> {1, 2}}, IdListCase {"1, ,2", std::nullopt},
        IdListCase {"+7,-8", std::vector<int64_t> {7, -8}}, IdListCase {"", std::vector<int64_t> {}},
        IdListCase {"\u00a01\u2003", std::vector<int64_t> {1}}, IdListCase {"1\n", std::nullopt},
        IdListCase {"-9223372036854775808", std::vector<int64_t> {INT64_MIN}},
        IdListCase {"9223372036854775808", std::nullopt}, IdListCase {"1 2", std::nullopt},
        IdListCase {"+", std::nullopt}, IdListCase {"\u0663", std::nullopt}, IdListCase {"1.0", std::nullopt}));

TEST(MetrionDSLParser, QuotedListKeepsEmptyNamesAndNoEscapes)
{
    EXPECT_EQ(MetrionDSLParser::readQuotedList(uR"re("a","","c")re"), (std::vector<QString> {"a", "", "c"}));
    EXPECT_EQ(MetrionDSLParser::readQuotedList(uR"re("a\"b")re"), (std::vector<QString> {"a\\"}));
    EXPECT_EQ(MetrionDSLParser::readQuotedList(uR"re("a)re"), std::vector<QString> {});
    // A name holding ']' ends the list early, so the counts disagree and the group fails.
    EXPECT_FALSE(parse(marker + R"re(CoreItems([1,2],["a]","b"]))re"));
}

TEST(MetrionDSLParser, RunePageNeedsTheCompleteForm)
{
    auto parsed = parseWithCore(R"re(Runes("Precision",[1,2,3],["a","b","c"],"Domination",[5,6],["e","f"],[5008]))re");
    EXPECT_EQ(parsed.primaryRune, QStringLiteral("Precision"));
    EXPECT_EQ(parsed.runePage, std::nullopt);

    // The page may come from a later record than the primary rune.
    parsed = parseWithCore(
        R"re(Runes("Short"),Runes("Sorcery",[1,2,3,4],["a","b","c","d"],"Inspiration",[5,6],["e","f"],[]))re");
    EXPECT_EQ(parsed.primaryRune, QStringLiteral("Short"));
    ASSERT_TRUE(parsed.runePage);
    EXPECT_EQ(parsed.runePage->primaryPageName, u"Sorcery");
    EXPECT_TRUE(parsed.runePage->statModIds.empty());
    EXPECT_EQ(parsed.runePage->pickRate, std::nullopt);
    EXPECT_EQ(parsed.runePage->winRate, std::nullopt);

    EXPECT_EQ(
        parseWithCore(R"re(Runes("",[1,2,3,4],["a","b","c","d"],"I",[5,6],["e","f"],[]))re").runePage, std::nullopt);
    EXPECT_EQ(
        parseWithCore(R"re(Runes("P",[1,2,3,4],["a","b","c","d"],"",[5,6],["e","f"],[]))re").runePage, std::nullopt);
    EXPECT_EQ(parseWithCore(R"re(Runes("P",[1,2,3,4],["a","b","c","d"],"I",[5,6],["e"],[]))re").runePage, std::nullopt);
    EXPECT_EQ(
        parseWithCore(R"re(Runes("P",[1,2,3,4],["a","b","c","d"],"I",[5,6],["e","f"],[x]))re").runePage, std::nullopt);
}

struct RateCase {
    const char* tail;
    std::optional<double> pickRate;
    std::optional<double> winRate;
};

class RunePageRates : public ::testing::TestWithParam<RateCase> { };

TEST_P(RunePageRates, AreKeptOnlyInRange)
{
    const auto parsed
        = parseWithCore(QStringLiteral(R"re(Runes("P",[1,2,3,4],["a","b","c","d"],"I",[5,6],["e","f"],[5008])re")
            + QString::fromLatin1(GetParam().tail));
    ASSERT_TRUE(parsed.runePage) << GetParam().tail;
    EXPECT_EQ(parsed.runePage->pickRate, GetParam().pickRate) << GetParam().tail;
    EXPECT_EQ(parsed.runePage->winRate, GetParam().winRate) << GetParam().tail;
}

INSTANTIATE_TEST_SUITE_P(Notation, RunePageRates,
    ::testing::Values(RateCase {")", std::nullopt, std::nullopt}, RateCase {",1)", 1.0, std::nullopt},
        RateCase {",0)", std::nullopt, std::nullopt}, RateCase {",.5)", 0.5, std::nullopt},
        RateCase {",5.)", std::nullopt, std::nullopt}, RateCase {",0.5,5,10)", 0.5, 0.5},
        RateCase {",0.5,10,10)", 0.5, std::nullopt}, RateCase {",0.5,3,0)", 0.5, std::nullopt},
        RateCase {",0.5,0,10)", 0.5, std::nullopt}, RateCase {",1.2.3,5,10)", std::nullopt, 0.5},
        RateCase {",0.5,5)", 0.5, std::nullopt},
        RateCase {",0.5,5,99999999999999999999999999999999)", 0.5, 5.0 / 99999999999999999999999999999999.0}));

TEST(MetrionDSLParser, RunePageWithExtraArgumentIsNoPage)
{
    const auto parsed
        = parseWithCore(R"re(Runes("P",[1,2,3,4],["a","b","c","d"],"I",[5,6],["e","f"],[5008],0.5,1,2,3))re");
    EXPECT_EQ(parsed.runePage, std::nullopt);
    EXPECT_EQ(parsed.primaryRune, QStringLiteral("P"));
}

TEST(MetrionDSLParser, WeakCountersThenNewCounters)
{
    auto parsed
        = parseWithCore(R"re(WeakCounter(1,"A",5,3,0.55),WeakCounter(2,"B",5,3,1),WeakCounter(3,"C",5,3,0),)re"
                        R"re(Counter(4,"D",200,120),Counter(5,"E",0,0),Counter(6,"",10,5),Counter(1,"A",10,5))re");
    EXPECT_EQ(parsed.weakCounters,
        (std::vector<CounterEntry> {{1, "A", 0.55}, {2, "B", std::nullopt}, {3, "C", std::nullopt},
            {4, "D", 1.0 - 120.0 / 200.0}, {5, "E", std::nullopt}}));

    parsed = parseWithCore(
        R"re(WeakCounter(1,"A",5,3,0.5),WeakCounter(1,"A2",5,3,0.4),Counter(2,"B",10,5),Counter(2,"B2",10,5))re");
    EXPECT_EQ(parsed.weakCounters, (std::vector<CounterEntry> {{1, "A", 0.5}, {1, "A2", 0.4}, {2, "B", 0.5}}));

    parsed
        = parseWithCore(R"re(WeakCounter(1,"A",1,1,0.5),WeakCounter(2,"B",1,1,0.5),WeakCounter(3,"C",1,1,0.5),)re"
                        R"re(WeakCounter(4,"D",1,1,0.5),Counter(5,"E",4,1),Counter(6,"F",4,1),Counter(7,"G",4,1))re");
    ASSERT_EQ(parsed.weakCounters.size(), 5u);
    EXPECT_EQ(parsed.weakCounters[4], (CounterEntry {5, "E", 0.75}));
}

TEST(MetrionDSLParser, UnreadableCounterFieldsDropOnlyWhatTheyMust)
{
    const auto parsed
        = parseWithCore(R"re(WeakCounter(99999999999999999999,"A",1,1,0.5),WeakCounter(2,"B",1,1,0.5.5),)re"
                        R"re(Counter(3,"C",99999999999999999999,1),Counter(4,"D",0,1),Counter(5,"E",\u0661,1))re"
                        R"re(WeakCounter(6,"F",1,1,0.5))re");
    EXPECT_EQ(parsed.weakCounters,
        (std::vector<CounterEntry> {
            {2, "B", std::nullopt}, {6, "F", 0.5}, {3, "C", std::nullopt}, {4, "D", std::nullopt}}));
}

// Scanner and patterns agree on hand-picked traps and on mutations of a real-looking reply.
class ScannerMatchesPatterns : public ::testing::TestWithParam<const char*> { };

TEST_P(ScannerMatchesPatterns, OnTraps)
{
    const QString text = QString::fromUtf8(GetParam());
    EXPECT_EQ(scannerDisagreement(text), std::nullopt) << GetParam();
}

INSTANTIATE_TEST_SUITE_P(Notation, ScannerMatchesPatterns,
    ::testing::Values(R"re(CoreItems([1],["a"])CoreItems([2],["b"]))re", R"re(CoreItems(CoreItems([1],["a"]))re",
        R"re(CoreItems([1],["CoreItems([2],["b"]"]))re", R"re(FourthItem([1],["a FourthItem([2","b"],["c"])re",
        R"re(CoreItems([1],x],[2]))re", R"re(CoreItems([)re", "CoreItems([1\n],[\"a\n\"]",
        R"re(Runes("a",[1],[2],"b",[3],[4],[5],1.5,2,3))re", R"re(Runes("a",[1],[2],"b",[3],[4],[5],,2))re",
        R"re(Runes("a",[1],[2],"b",[3],[4],[5],1,2,3,4))re", R"re(Runes("a",[1],[2],"b",[3],[4],[5],.,.))re",
        "Runes(\"a\",[1],[2],\"b\",[3],[4],[5],\u0663)", "Runes(\"a\",[1],[2],\"b\",[3],[4],[5],1,\u0663\u0664,2)",
        "Runes(\"a\",[1],[2],\"b\",[3],[4],[5],1.\U0001D7CE)", R"re(Runes("Runes("a",[1],[2],"b",[3],[4],[5]))re",
        R"re(Runes("a",[1],[2],"b",[3],[4],[5)re", R"re(Runes(")re", "WeakCounter(1,\"a\",2,3,0.5)",
        "WeakCounter(\u0661,\"a\",2,3,.)", "WeakCounter(1,\"a\",2,3,0.5",
        R"re(WeakCounter(1,"WeakCounter(2,",3,4,5))re", R"re(Counter(1,"a",2,3)Counter(4,"b",5,6))re",
        R"re(xCounter(1,"a",2,3))re", "Counter(\U0001D7CF,\"a\",2,3)", R"re(Counter(1,"a",2,3,4))re",
        R"re(Counter(1,"a"",2,3))re"));

TEST(MetrionDSLParser, ScannerMatchesPatternsOnMutatedReplies)
{
    const QString base = replyFile(QStringLiteral("AHRI.analysis.txt"));
    const QString alphabet = QStringLiteral("[](),\"0123456789.-+ _\u0663xCR");
    std::mt19937 random(20261206);
    for (int round = 0; round < 300; ++round) {
        QString text = base;
        const int edits = 1 + static_cast<int>(random() % 8);
        for (int e = 0; e < edits && !text.isEmpty(); ++e) {
            const qsizetype at = static_cast<qsizetype>(random() % static_cast<unsigned>(text.size()));
            switch (random() % 3) {
            case 0:
                text.remove(at, 1 + random() % 4);
                break;
            case 1:
                text.insert(at, alphabet[static_cast<qsizetype>(random() % alphabet.size())]);
                break;
            default:
                text[at] = alphabet[static_cast<qsizetype>(random() % alphabet.size())];
            }
        }
        ASSERT_EQ(scannerDisagreement(text), std::nullopt) << text.toStdString();
        parse(text); // and the whole parse survives it
    }
}

TEST(MetrionDSLParser, EveryTruncationOfARealReplyIsHandled)
{
    const QString full = replyFile(QStringLiteral("AHRI.analysis.txt"));
    // The core record is readable once its second list has closed.
    const qsizetype coreEnd = full.indexOf(u']', full.indexOf(u']', full.indexOf(u"CoreItems([")) + 1) + 1;
    for (qsizetype n = 0; n <= full.size(); ++n) {
        const auto parsed = parse(full.left(n));
        EXPECT_EQ(parsed.has_value(), n >= coreEnd) << n;
    }
}

// Hostile texts many megabytes long: a search that rescanned the tail for every record name
// would not finish within the test's time limit.
class HostileReplies : public ::testing::TestWithParam<int> { };

TEST_P(HostileReplies, FinishWithTheFailureResult)
{
    const qsizetype size = 4 * 1024 * 1024;
    auto fill = [size](const QString& unit) {
        QString out = QStringLiteral("LolGetChampionAnalysis(");
        out.reserve(size + unit.size());
        while (out.size() < size)
            out += unit;
        return out;
    };
    const std::vector<QString> texts = {
        fill(QStringLiteral("CoreItems([")),
        fill(QStringLiteral("FourthItem([1],[")),
        fill(QStringLiteral("Runes(\"a\",[1],[")),
        fill(QStringLiteral("WeakCounter(1,\"")),
        fill(QStringLiteral("Counter(") + QString(64, u'7')),
        fill(QStringLiteral("[[[[((((\"")),
        fill(QStringLiteral("Runes(\"a\",[1],[2],\"b\",[3],[4],[5],1,2,3,4")),
        fill(QStringLiteral("9")),
    };
    const QString& text = texts[static_cast<size_t>(GetParam())];
    EXPECT_EQ(parse(text), std::nullopt);
    // The same hostility after a valid core record degrades to empty fields only.
    const auto parsed = parse(marker + core + text);
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->coreItems.size(), 2u);
}

INSTANTIATE_TEST_SUITE_P(Notation, HostileReplies, ::testing::Range(0, 8));

TEST(MetrionDSLParser, ManyRecordsKeepOnlyFiveCounters)
{
    QString text = marker + core;
    for (int i = 0; i < 50000; ++i)
        text += QStringLiteral(R"re(WeakCounter(%1,"C",1,1,0.5),FourthItem([%1],["I"]),)re").arg(i);
    const auto parsed = parse(text);
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->weakCounters.size(), 5u);
    ASSERT_EQ(parsed->situationalSlots.size(), 1u);
    EXPECT_EQ(parsed->situationalSlots[0].size(), 50000u);
}

} // namespace
