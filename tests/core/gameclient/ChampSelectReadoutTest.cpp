#include "core/gameclient/ChampSelectReadout.h"

#include "Await.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace tolvane;

namespace {

using Cell = ChampSelectSession::Cell;
using Action = ChampSelectSession::Action;

Cell cell(int64_t id, int64_t champion, std::optional<int64_t> intent = std::nullopt,
    std::optional<QString> position = std::nullopt)
{
    return Cell {id, champion, intent, std::move(position)};
}

Action pick(int64_t actor, int64_t champion, bool completed = true)
{
    return Action {actor, champion, QStringLiteral("pick"), completed};
}

// The text of one member of a document, exactly as written (re-serialising through Qt would turn
// the client's 64-bit sentinels such as spell ids of 2^64-1 into doubles).
QByteArray memberText(const QByteArray& document, const char* key)
{
    auto d = json::decode<QByteArray>(document, [key](json::Value root) {
        const std::string text
            = simdjson::to_string(root.toObject().required(key, [](json::Value v) { return v; }).raw());
        return QByteArray(text.data(), qsizetype(text.size()));
    });
    EXPECT_TRUE(d) << d.error.toStdString();
    return d.value.value_or(QByteArray());
}

// --- decoding ---------------------------------------------------------------------------------

TEST(ChampSelectDecode, ReadsSeatsAndTurns)
{
    auto d = ChampSelectSession::decode(
        R"({"localPlayerCellId":2,"extra":{"x":[1]},
            "myTeam":[{"cellId":2,"championId":0,"championPickIntentId":157,"assignedPosition":"UTILITY"},
                      {"cellId":3,"championId":22,"championPickIntentId":null,"assignedPosition":null}],
            "theirTeam":[],
            "actions":[[{"actorCellId":2,"championId":0,"type":"pick","completed":false,"id":9}],[]]})");
    ASSERT_TRUE(d) << d.error.toStdString();
    const ChampSelectSession expected {2, {cell(2, 0, 157, QStringLiteral("UTILITY")), cell(3, 22)}, {},
        std::vector<std::vector<Action>> {{pick(2, 0, false)}, {}}};
    EXPECT_EQ(*d.value, expected);
}

TEST(ChampSelectDecode, ActionsMissingOrNullAreAbsent)
{
    for (const char* text : {R"({"localPlayerCellId":0,"myTeam":[],"theirTeam":[]})",
             R"({"localPlayerCellId":0,"myTeam":[],"theirTeam":[],"actions":null})"}) {
        auto d = ChampSelectSession::decode(text);
        ASSERT_TRUE(d) << text;
        EXPECT_FALSE(d.value->actions.has_value()) << text;
    }
}

TEST(ChampSelectDecode, OneBadValueFailsTheWholeSession)
{
    struct Case {
        const char* text;
        const char* error;
    };
    const Case cases[] = {
        {R"({"myTeam":[],"theirTeam":[]})", "localPlayerCellId: missing"},
        {R"({"localPlayerCellId":0,"theirTeam":[]})", "myTeam: missing"},
        {R"({"localPlayerCellId":0,"myTeam":[{"cellId":0}],"theirTeam":[]})", "myTeam[0].championId: missing"},
        {R"({"localPlayerCellId":0,"myTeam":[],"theirTeam":[{"cellId":"5","championId":1}]})",
            "theirTeam[0].cellId: expected integer"},
        {R"({"localPlayerCellId":0,"myTeam":[],"theirTeam":[],"actions":[[{"actorCellId":0,"championId":1,"type":"pick"}]]})",
            "actions[0][0].completed: missing"},
        {R"({"localPlayerCellId":0,"myTeam":[],"theirTeam":[],"actions":[{"actorCellId":0}]})",
            "actions[0]: expected array"},
        {R"([{"localPlayerCellId":0}])", "expected object"},
    };
    for (const Case& c : cases) {
        auto d = ChampSelectSession::decode(c.text);
        EXPECT_FALSE(d) << c.text;
        EXPECT_EQ(d.error.toStdString(), c.error) << c.text;
    }
}

// --- resolve ----------------------------------------------------------------------------------

TEST(ChampSelectResolve, MyChampionFromSeatThenPickTurnThenIntent)
{
    ChampSelectSession s {1, {cell(1, 0, 64)}, {}, std::nullopt};
    EXPECT_EQ(ChampSelectReadout::resolve(s).myChampionId, 64); // only the intent

    s.actions = {{pick(1, 0, false), Action {1, 99, QStringLiteral("ban"), true}},
        {Action {1, 98, QStringLiteral("PICK"), true}, pick(0, 55), pick(1, 157, false)}};
    EXPECT_EQ(ChampSelectReadout::resolve(s).myChampionId, 157); // hovered, not yet locked

    s.myTeam[0].championId = 12;
    EXPECT_EQ(ChampSelectReadout::resolve(s).myChampionId, 12); // the seat wins

    s.myTeam[0].championId = -3; // anything but 0 on the seat is taken as it is
    EXPECT_EQ(ChampSelectReadout::resolve(s).myChampionId, -3);
}

TEST(ChampSelectResolve, NegativeOrZeroIntentGivesNoChampionOfMine)
{
    for (int64_t intent : {0, -1}) {
        const ChampSelectSession s {4, {cell(4, 0, intent)}, {cell(5, 0, -1)}, std::nullopt};
        const ChampSelectReadout r = ChampSelectReadout::resolve(s);
        EXPECT_EQ(r.myChampionId, 0) << intent;
        EXPECT_EQ(r.allyChampionIds, (std::vector<int64_t> {intent}));
        EXPECT_EQ(r.enemyChampionIds, (std::vector<int64_t> {-1})); // listed unchanged
        EXPECT_FALSE(r.enemyKnown);
    }
}

TEST(ChampSelectResolve, WithoutMySeatOnlyPickTurnsCount)
{
    const ChampSelectSession s {7, {cell(1, 10, std::nullopt, QStringLiteral("bottom")), cell(2, 0, 412)}, {cell(5, 0)},
        std::vector<std::vector<Action>> {{pick(7, 33, false)}}};
    const ChampSelectReadout r = ChampSelectReadout::resolve(s);
    EXPECT_EQ(r, (ChampSelectReadout {33, std::nullopt, {10, 412}, {0}, false, 0}));
}

TEST(ChampSelectResolve, EnemyKnownFromAnySeatOrIntent)
{
    ChampSelectSession s {0, {cell(0, 1)}, {cell(5, 0), cell(6, 0)}, std::nullopt};
    EXPECT_FALSE(ChampSelectReadout::resolve(s).enemyKnown);
    s.theirTeam[1].championPickIntentId = 64;
    EXPECT_TRUE(ChampSelectReadout::resolve(s).enemyKnown);
    EXPECT_EQ(ChampSelectReadout::resolve(s).enemyChampionIds, (std::vector<int64_t> {0, 64}));
}

struct PartnerCase {
    const char* name;
    std::optional<QString> myRole;
    std::vector<Cell> allies; // besides the user's own seat (cell 0)
    std::optional<QString> expectedRole;
    int64_t expectedPartner;
};

void PrintTo(const PartnerCase& c, std::ostream* os)
{
    *os << c.name;
}

class BotLanePartner : public ::testing::TestWithParam<PartnerCase> { };

TEST_P(BotLanePartner, FindsTheOnlyMatchingAlly)
{
    const PartnerCase& c = GetParam();
    ChampSelectSession s {0, {cell(0, 81, std::nullopt, c.myRole)}, {}, std::nullopt};
    s.myTeam.insert(s.myTeam.end(), c.allies.begin(), c.allies.end());
    const ChampSelectReadout r = ChampSelectReadout::resolve(s);
    EXPECT_EQ(r.assignedRole, c.expectedRole);
    EXPECT_EQ(r.botLanePartnerChampionId, c.expectedPartner);
}

const QString bottomUpper = QStringLiteral("BOTTOM");
const QString utility = QStringLiteral("utility");

INSTANTIATE_TEST_SUITE_P(Roles, BotLanePartner,
    ::testing::Values(
        PartnerCase {"upper_role_lower_partner", bottomUpper, {cell(1, 0, 412, utility)}, bottomUpper, 412},
        PartnerCase {"upper_both", bottomUpper, {cell(1, 40, 412, QStringLiteral("UTILITY"))}, bottomUpper, 40},
        PartnerCase {"support_finds_adc", utility, {cell(1, 22, std::nullopt, QStringLiteral("Bottom"))}, utility, 22},
        PartnerCase {"partner_without_champion", QStringLiteral("bottom"), {cell(1, 0, std::nullopt, utility)},
            QStringLiteral("bottom"), 0},
        PartnerCase {"two_candidates", QStringLiteral("bottom"), {cell(1, 40, {}, utility), cell(2, 41, {}, utility)},
            QStringLiteral("bottom"), 0},
        PartnerCase {"no_candidate", QStringLiteral("bottom"), {cell(1, 40, {}, QStringLiteral("middle"))},
            QStringLiteral("bottom"), 0},
        PartnerCase {"other_role", QStringLiteral("MIDDLE"), {cell(1, 40, {}, utility)}, QStringLiteral("MIDDLE"), 0},
        PartnerCase {"empty_role", QString(), {cell(1, 40, {}, utility)}, std::nullopt, 0},
        PartnerCase {"no_role", std::nullopt, {cell(1, 40, {}, utility)}, std::nullopt, 0},
        // The user's own seat never counts, even when it carries the wanted position.
        PartnerCase {"own_cell_id_twice", utility, {cell(0, 50, {}, QStringLiteral("bottom"))}, utility, 0}),
    [](const auto& info) { return std::string(info.param.name); });

// --- real sessions ----------------------------------------------------------------------------

struct RealCase {
    const char* file;
    ChampSelectReadout expected;
};

void PrintTo(const RealCase& c, std::ostream* os)
{
    *os << c.file;
}

class RealChampSelect : public ::testing::TestWithParam<RealCase> { };

// What a person reading each captured session sees: the user's champion (locked, or hovered in
// the pick turn), the user's lane, both teams, and the bot-lane partner.
TEST_P(RealChampSelect, ReadsWhatAPersonReads)
{
    const auto d = ChampSelectSession::decode(test::realData(QStringLiteral("lcu/champ-select/") + GetParam().file));
    ASSERT_TRUE(d) << d.error.toStdString();
    EXPECT_EQ(ChampSelectReadout::resolve(*d.value), GetParam().expected);
}

const auto none = std::nullopt;
using Ids = std::vector<int64_t>;

INSTANTIATE_TEST_SUITE_P(Captures, RealChampSelect,
    ::testing::Values(
        // ARAM: the champion is rolled, there are no lanes and the other team stays hidden.
        RealCase {"aram_2020_from_recording.json", {121, none, Ids {61, 39, 121, 114, 80}, Ids(5, 0), false, 0}},
        RealCase {"aram_finalization_bench_2020.json", {203, none, Ids {63, 203, 86, 98, 64}, Ids(5, 0), false, 0}},
        RealCase {"custom_blind_finalization_2022.json", {16, none, Ids {16}, Ids {}, false, 0}},
        RealCase {"custom_blind_single_player_2024.json", {0, none, Ids {0}, Ids {}, false, 0}},
        // Only bans so far for the user's seat.
        RealCase {"custom_tournament_draft_ban_pick_2024.json",
            {0, none, Ids {0, 18, 45, 102, 117}, Ids {29, 876, 117, 54, 69}, true, 0}},
        RealCase {"custom_tournament_draft_finalization_2024.json",
            {1, none, Ids {1, 18, 45, 102, 117}, Ids {29, 876, 117, 54, 69}, true, 0}},
        // The user is support, still to pick; the ADC (cell 1) has locked 81.
        RealCase {"draft_ban_pick_2020.json",
            {0, QStringLiteral("utility"), Ids {141, 81, 75, 131, 0}, Ids {420, 142, 20, 157, 0}, true, 81}},
        RealCase {"draft_ban_pick_2024.json",
            {523, QStringLiteral("bottom"), Ids {897, 523, 28, 161, 0}, Ids {22, 25, 30, 83, 134}, true, 161}},
        RealCase {"draft_finalization_2024.json",
            {104, QStringLiteral("bottom"), Ids {145, 104, 777, 412, 134}, Ids {222, 267, 131, 266, 901}, true, 412}},
        // The jungler (cell 7) hovers 28 before anything is locked.
        RealCase {"draft_planning_2024.json", {0, QStringLiteral("bottom"), Ids {0, 0, 28, 0, 0}, Ids(5, 0), false, 0}},
        RealCase {"draft_planning_cn_2024.json", {0, QStringLiteral("jungle"), Ids(5, 0), Ids(5, 0), false, 0}},
        // Cell 3 hovers 22 with its pick not yet locked.
        RealCase {"normal_ban_pick_cn_2024.json", {777, none, Ids {11, 777, 901, 22, 51}, Ids(5, 0), false, 0}},
        // Spectators have no seat of their own.
        RealCase {"tournament_spectator_ban_pick_first_2025.json", {0, none, Ids(5, 0), Ids(5, 0), false, 0}},
        RealCase {"tournament_spectator_game_starting_2025.json",
            {0, none, Ids {150, 4, 166, 34, 804}, Ids {203, 222, 17, 53, 101}, true, 0}}),
    [](const auto& info) {
        std::string name = info.param.file;
        return name.substr(0, name.find('.'));
    });

// Every session polled in the recordings decodes; the "No active delegate" bodies polled outside
// champion select do not.
TEST(RealChampSelectRecordings, PolledSessionsDecodeAndErrorBodiesDoNot)
{
    for (const char* file : {"rcvolus_recording.json", "rcvolus_tournament-draft.json"}) {
        const QByteArray recording = test::realData(QStringLiteral("lcu/recordings/") + QLatin1String(file));
        struct Point {
            bool active;
            QByteArray session;
        };
        auto points = json::decode<std::vector<Point>>(recording, [](json::Value root) {
            return root.toObject().required("dataPoints", [](json::Value v) {
                return v.toArray().map([](json::Value p) {
                    const json::Object o = p.toObject();
                    const std::string text
                        = simdjson::to_string(o.required("session", [](json::Value s) { return s; }).raw());
                    return Point {o.boolean("isChampSelectActive"), QByteArray(text.data(), qsizetype(text.size()))};
                });
            });
        });
        ASSERT_TRUE(points) << points.error.toStdString();
        int active = 0;
        int inactive = 0;
        for (const Point& p : *points.value) {
            const auto d = ChampSelectSession::decode(p.session);
            if (p.active) {
                ++active;
                EXPECT_TRUE(d) << file << ": " << d.error.toStdString();
            } else {
                ++inactive;
                EXPECT_EQ(d.error, QStringLiteral("localPlayerCellId: missing")) << file;
            }
        }
        EXPECT_GT(active, 50) << file;
        EXPECT_GT(inactive, 0) << file;
    }

    QFile lines(test::realDataPath(QStringLiteral("lcu/recordings/fearless_draft_spectator_2025.jsonl")));
    ASSERT_TRUE(lines.open(QIODevice::ReadOnly));
    int updates = 0;
    while (!lines.atEnd()) {
        const QByteArray line = lines.readLine().trimmed();
        if (line.isEmpty())
            continue;
        const auto d = ChampSelectSession::decode(memberText(line, "data"));
        ASSERT_TRUE(d) << d.error.toStdString();
        const ChampSelectReadout r = ChampSelectReadout::resolve(*d.value);
        EXPECT_EQ(r.myChampionId, 0);
        EXPECT_FALSE(r.assignedRole.has_value());
        ++updates;
    }
    EXPECT_EQ(updates, 20);

    const QByteArray notInSelect
        = test::realData(QStringLiteral("lcu/errors/champ-select_session_404_no_active_delegate.json"));
    EXPECT_EQ(ChampSelectSession::decode(notInSelect).error, QStringLiteral("localPlayerCellId: missing"));
}

} // namespace
