// One champion-select pass over real captured sessions: champion, role, enemies, the popular
// build with its counters, spell advice per lane opponent and the duo synergy.

#include "ChampSelectFixture.h"

using namespace tolvane;
using namespace tolvane::test;

namespace {

using SpellState = ChampSelectViewModel::EnemySpellRec::SpellState;

const QString finalizationDoc = QStringLiteral("champ-select/draft_finalization_2024.json");

// Graves (bottom, cell 1) with Thresh (utility, cell 3); enemies Jinx, Nami, Diana, Aatrox, Smolder.
ChampSelectSession finalization(const std::function<void(QJsonObject&)>& edit = {})
{
    return champSelectSession(edited(lcuDoc(finalizationDoc), [&](QJsonObject& root) {
        if (edit)
            edit(root);
    }));
}

// The same lobby seen from Thresh's seat.
ChampSelectSession asThresh()
{
    return finalization([](QJsonObject& root) { root[QStringLiteral("localPlayerCellId")] = 3; });
}

// The cell of the given seat with some members replaced.
void editCell(QJsonObject& root, int seat, const QJsonObject& members)
{
    QJsonArray team = root[QStringLiteral("myTeam")].toArray();
    QJsonObject cell = team[seat].toObject();
    for (auto it = members.begin(); it != members.end(); ++it)
        cell[it.key()] = it.value();
    team[seat] = cell;
    root[QStringLiteral("myTeam")] = team;
}

MetaBuildAdvice buildWithCounters(std::vector<CounterEntry> counters)
{
    MetaBuild build;
    build.weakCounters = std::move(counters);
    return MetaBuildAdvice {build, MetaFreshness::fresh(), MetaBuildAdvice::metrionProvenance()};
}

class ChampSelectPass : public ChampSelectFixture {
protected:
    void SetUp() override { route(gameflowPath, gameflowDoc(QStringLiteral("ChampSelect"), 11)); }

    void pass(const ChampSelectSession& session) { await(loaded().handle(session, client())); }

    ChampSelectViewModel& loaded()
    {
        if (!vm)
            loadedModel();
        return *vm;
    }

    // Lets running spell tasks finish.
    bool spellsSettled()
    {
        return spinUntil([&] {
            return std::none_of(vm->spellRecs().begin(), vm->spellRecs().end(),
                [](const auto& r) { return r.state.kind == SpellState::Kind::loading; });
        });
    }
};

TEST_F(ChampSelectPass, RealSessionPublishesTheLobbyAndAsksForTheBuildOnce)
{
    builds->answer = buildWithCounters({{222, QStringLiteral("Jinx"), 0.54}, {9999, QStringLiteral("Newcomer"), {}}});
    int entered = 0;
    loaded().setOnEnterChampSelect([&] { ++entered; });
    pass(finalization());
    pass(finalization());

    auto& vm = *this->vm;
    EXPECT_EQ(vm.phase(), Phase::inSelect);
    EXPECT_EQ(entered, 1);
    EXPECT_EQ(vm.myChampionName(), "Graves");
    EXPECT_EQ(vm.myChampionKey(), "Graves");
    EXPECT_EQ(vm.assignedRole(), MetaRole::adc);
    EXPECT_TRUE(vm.enemyKnown());
    EXPECT_EQ(vm.enemyNames(), (std::vector<QString> {"Jinx", "Nami", "Diana", "Aatrox", "Smolder"}));
    EXPECT_EQ(vm.enemyKeys(), vm.enemyNames());
    ASSERT_EQ(builds->calls.size(), 1u) << "the same champion and role are not asked again";
    EXPECT_EQ(builds->calls[0].first, "Graves");
    EXPECT_EQ(builds->calls[0].second, MetaQuery::summonersRift(MetaRole::adc, false));
    EXPECT_EQ(vm.advice(), builds->answer);
    EXPECT_EQ(vm.counterRows(),
        (std::vector<ChampSelectViewModel::CounterRow> {
            {222, "Jinx", QStringLiteral("Jinx"), 0.54}, {9999, "Newcomer", std::nullopt, std::nullopt}}));
    EXPECT_EQ(count(gameflowPath), 1) << "the mode is settled once per champion select";
}

struct ModeCase {
    const char* name;
    std::optional<int64_t> mapNumber;
    std::optional<MetaQuery> query; // absent: no build asked
};

class ChampSelectModes : public ChampSelectPass, public ::testing::WithParamInterface<ModeCase> { };

TEST_P(ChampSelectModes, TheMapOnEnteringDecidesTheQuery)
{
    route(gameflowPath, gameflowDoc(QStringLiteral("ChampSelect"), GetParam().mapNumber));
    builds->answer = buildWithCounters({{222, QStringLiteral("Jinx"), {}}});
    pass(finalization());
    pass(finalization());
    if (GetParam().query) {
        ASSERT_EQ(builds->calls.size(), 1u);
        EXPECT_EQ(builds->calls[0].second, *GetParam().query);
        EXPECT_EQ(vm->counterRows().size(), 1u);
    } else {
        EXPECT_TRUE(builds->calls.empty());
        EXPECT_FALSE(vm->advice().has_value());
        EXPECT_TRUE(vm->counterRows().empty());
        EXPECT_EQ(vm->enemyNames().size(), 5u) << "the rest of the lobby is still shown";
        EXPECT_EQ(vm->spellRecs().size(), 5u);
    }
}

INSTANTIATE_TEST_SUITE_P(Maps, ChampSelectModes,
    ::testing::Values(ModeCase {"noMap", std::nullopt, MetaQuery::summonersRift(MetaRole::adc, false)},
        ModeCase {"aram", 12, MetaQuery::aram()},
        ModeCase {"unsupportedMapAsksByRole", 99, MetaQuery::summonersRift(MetaRole::adc, false)},
        ModeCase {"arenaAsksNothing", 30, std::nullopt}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ChampSelectPass, WithoutAPositionTheRoleIsGuessedAndAnUnavailableBuildIsAskedEveryPass)
{
    // Yone in a blind pick: no positions, no enemies known.
    const auto blind = champSelectSession(lcuDoc(QStringLiteral("champ-select/normal_ban_pick_cn_2024.json")));
    pass(blind);
    pass(blind);
    EXPECT_EQ(vm->myChampionName(), "Yone");
    EXPECT_EQ(vm->assignedRole(), MetaRole::unknown);
    EXPECT_FALSE(vm->enemyKnown());
    EXPECT_TRUE(vm->enemyNames().empty());
    ASSERT_EQ(builds->calls.size(), 2u);
    EXPECT_EQ(builds->calls[1].second, MetaQuery::summonersRift(MetaRole::mid, true));
    EXPECT_EQ(vm->advice(), builds->answer);
    EXPECT_TRUE(vm->counterRows().empty());
    EXPECT_TRUE(spells->calls.empty()) << "no enemies known: no spell advice";
}

TEST_F(ChampSelectPass, ANewChampionClearsCountersAtOnceButKeepsTheOldBuildUntilItsAnswer)
{
    builds->answer = buildWithCounters({{222, QStringLiteral("Jinx"), {}}});
    pass(finalization());
    const auto gravesAdvice = vm->advice();

    builds->open = std::make_shared<bool>(false);
    builds->answer = buildWithCounters({{131, QStringLiteral("Diana"), {}}});
    auto running = vm->handle(asThresh(), client());
    EXPECT_EQ(vm->myChampionName(), "Thresh");
    EXPECT_EQ(vm->assignedRole(), MetaRole::support);
    EXPECT_TRUE(vm->counterRows().empty());
    EXPECT_EQ(vm->advice(), gravesAdvice);
    *builds->open = true;
    await(std::move(running));
    EXPECT_EQ(vm->advice(), builds->answer);
    EXPECT_EQ(vm->counterRows().front().name, "Diana");
    EXPECT_EQ(builds->calls.back().second, MetaQuery::summonersRift(MetaRole::support, false));
}

TEST_F(ChampSelectPass, AnAnswerForALobbyThatHasGoneIsDropped)
{
    builds->open = std::make_shared<bool>(false);
    builds->answer = buildWithCounters({{222, QStringLiteral("Jinx"), {}}});
    auto running = loaded().handle(finalization(), client());
    vm->enterLoadingScreen(GameflowSession {QStringLiteral("GameStart"), std::nullopt}, client());
    *builds->open = true;
    await(std::move(running));
    EXPECT_EQ(vm->phase(), Phase::loadingScreen);
    EXPECT_FALSE(vm->advice().has_value());
    EXPECT_TRUE(vm->counterRows().empty());
}

TEST_F(ChampSelectPass, AClearedPickDropsTheChampionAndBuildButKeepsTheRows)
{
    builds->answer = buildWithCounters({{222, QStringLiteral("Jinx"), {}}});
    pass(finalization());
    ASSERT_TRUE(spellsSettled());
    pass(finalization([](QJsonObject& root) {
        editCell(root, 1, {{QStringLiteral("championId"), 0}, {QStringLiteral("championPickIntent"), 0}});
        root[QStringLiteral("actions")] = QJsonArray {};
    }));
    EXPECT_FALSE(vm->myChampionName().has_value());
    EXPECT_FALSE(vm->myChampionKey().has_value());
    EXPECT_FALSE(vm->advice().has_value());
    EXPECT_FALSE(vm->synergyDuo().has_value());
    EXPECT_EQ(vm->counterRows().size(), 1u);
    EXPECT_EQ(vm->spellRecs().size(), 5u);
    pass(finalization());
    EXPECT_EQ(builds->calls.size(), 2u) << "the build key was dropped with the pick";
}

// --- spell advice -----------------------------------------------------------------------------

TEST_F(ChampSelectPass, SpellsAreAskedOncePerOpponentInOrderWithAPauseAfterEach)
{
    spells->answers[QStringLiteral("Nami")] = std::vector<SpellRec> {};
    spells->answers[QStringLiteral("Diana")] = std::nullopt;
    pass(finalization());
    ASSERT_TRUE(spellsSettled());
    EXPECT_EQ(spells->calls,
        (std::vector<QString> {
            "Graves|adc|Jinx", "Graves|adc|Nami", "Graves|adc|Diana", "Graves|adc|Aatrox", "Graves|adc|Smolder"}));
    spinUntil([&] { return sleeper->count(ChampSelectViewModel::requestPause) == 5; });
    EXPECT_EQ(sleeper->count(ChampSelectViewModel::requestPause), 5);

    const auto& rows = vm->spellRecs();
    ASSERT_EQ(rows.size(), 5u);
    EXPECT_EQ(rows[0].id, "Jinx");
    EXPECT_EQ(rows[0].enemyKey, "Jinx");
    EXPECT_EQ(rows[0].state.kind, SpellState::Kind::spells);
    EXPECT_EQ(rows[0].state.spells.front().name, "Flash");
    EXPECT_EQ(rows[1].state, SpellState::unavailable()) << "an empty answer";
    EXPECT_EQ(rows[2].state, SpellState::unavailable()) << "no answer";

    pass(finalization());
    spinFor(20ms);
    EXPECT_EQ(spells->calls.size(), 5u) << "answers, empty ones included, are kept for the process";
    EXPECT_EQ(vm->spellRecs(), rows);
}

TEST_F(ChampSelectPass, APassWhileAnswersAreOutAsksNothingTwice)
{
    spells->open = std::make_shared<bool>(false);
    pass(finalization());
    pass(finalization());
    spinFor(20ms);
    EXPECT_EQ(spells->calls.size(), 1u) << "one task, waiting for its first answer";
    EXPECT_EQ(vm->spellRecs().front().state, SpellState::loading());
    *spells->open = true;
    ASSERT_TRUE(spellsSettled());
    EXPECT_EQ(spells->calls.size(), 5u);
}

TEST_F(ChampSelectPass, AChangeOfChampionDropsTheAnswerInFlightAndSwitchingBackAsksAgain)
{
    spells->open = std::make_shared<bool>(false);
    pass(finalization());
    pass(asThresh());
    spinUntil([&] { return spells->calls.size() >= 2; });
    EXPECT_EQ(spells->calls, (std::vector<QString> {"Graves|adc|Jinx", "Thresh|support|Jinx"}));
    *spells->open = true;
    ASSERT_TRUE(spellsSettled());
    EXPECT_EQ(vm->spellRecs().front().state.kind, SpellState::Kind::spells);
    spinFor(20ms);
    EXPECT_EQ(std::count(spells->calls.begin(), spells->calls.end(), "Graves|adc|Jinx"), 1)
        << "the cancelled task asked nothing more";

    pass(finalization());
    ASSERT_TRUE(spellsSettled());
    EXPECT_EQ(std::count(spells->calls.begin(), spells->calls.end(), "Graves|adc|Jinx"), 2)
        << "the dropped answer was never cached";
}

// --- duo synergy ------------------------------------------------------------------------------

struct SynergyCase {
    const char* name;
    bool asThresh;
    QString myPosition; // empty: as captured
    bool tableHasPair;
    std::optional<QString> partner; // absent: no duo
};

class ChampSelectSynergy : public ChampSelectPass, public ::testing::WithParamInterface<SynergyCase> { };

TEST_P(ChampSelectSynergy, TheAssignedRoleDecidesWhoIsTheAdc)
{
    const SynergyCase& c = GetParam();
    if (!c.tableHasPair)
        synergy = SynergyCatalog({SynergyDuo {QStringLiteral("Thresh"), QStringLiteral("Graves"), 0.5, {}}});
    const int seat = c.asThresh ? 3 : 1;
    pass(finalization([&](QJsonObject& root) {
        root[QStringLiteral("localPlayerCellId")] = seat;
        if (!c.myPosition.isEmpty())
            editCell(root, seat, {{QStringLiteral("assignedPosition"), c.myPosition}});
    }));
    EXPECT_EQ(vm->synergyPartnerName(), c.partner);
    EXPECT_EQ(vm->synergyDuo().has_value(), c.partner.has_value());
    if (vm->synergyDuo()) {
        EXPECT_EQ(vm->synergyDuo()->readableChannels(), (QStringList {"hook follow up", "lane pressure"}));
    }
}

INSTANTIATE_TEST_SUITE_P(Pairs, ChampSelectSynergy,
    ::testing::Values(SynergyCase {"adcLooksUpWithPartnerAsSupport", false, {}, true, QStringLiteral("Thresh")},
        SynergyCase {"supportLooksUpWithPartnerAsAdc", true, {}, true, QStringLiteral("Graves")},
        SynergyCase {"midHasNoDuo", false, QStringLiteral("middle"), true, std::nullopt},
        SynergyCase {"pairMissingFromTheTable", false, {}, false, std::nullopt}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
