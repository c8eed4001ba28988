// Summoner-spell advice per lane opponent and the bottom-lane duo synergy of the champion-select
// assistant.

#include "app/champselect/ChampSelectViewModel.h"

namespace tolvane {

void ChampSelectViewModel::updateSpellRecs(const QString& myName, MetaRole role)
{
    if (!enemyKnown_ || role == MetaRole::unknown || enemyNames_.empty()) {
        setSpellRecs({});
        return; // a task already running goes on: its answers are still worth caching
    }
    rebuildSpellRows(myName, role);

    std::vector<QString> toFetch;
    for (const QString& enemy : enemyNames_) {
        if (spellState_.begin(SpellRecState::key(myName, role, enemy)))
            toFetch.push_back(enemy);
    }
    if (toFetch.empty())
        return;
    // The task held before is not cancelled: its pairings are in flight and only it will answer them.
    spellCancel_ = std::make_shared<CancelSource>();
    spellTask(QPointer<ChampSelectViewModel>(this), spellCancel_->token(), std::move(toFetch), myName, role,
        spellState_.generation());
}

QCoro::Task<void> ChampSelectViewModel::spellTask(QPointer<ChampSelectViewModel> self, CancelToken cancel,
    std::vector<QString> enemies, QString myName, MetaRole role, int64_t generation)
{
    if (!self)
        co_return;
    const std::shared_ptr<SummonerSpellRecProvider> provider = self->spellProvider_;
    const std::shared_ptr<Sleeper> sleeper = self->services_.sleeper;
    for (const QString& enemy : enemies) {
        if (!self || cancel.isCancelled())
            co_return;
        std::optional<std::vector<SpellRec>> answer = co_await provider->fetchSummonerSpells(myName, enemy, role);
        // A cancelled task drops its answer; the pairing stays in flight until the next reset.
        if (!self || cancel.isCancelled())
            co_return;
        const bool current = self->spellState_.complete(SpellRecState::key(myName, role, enemy), generation, answer);
        if (current && self->phase_ == Phase::inSelect && self->myChampionName_ == myName)
            self->rebuildSpellRows(myName, role);
        co_await sleeper->sleep(requestPause, cancel);
    }
}

void ChampSelectViewModel::rebuildSpellRows(const QString& myName, MetaRole role)
{
    std::vector<EnemySpellRec> rows;
    rows.reserve(enemyNames_.size());
    for (const QString& enemy : enemyNames_) {
        EnemySpellRec row {enemy, enemy, keyOf(enemy), EnemySpellRec::SpellState::loading()};
        if (const auto cached = spellState_.cached(SpellRecState::key(myName, role, enemy))) {
            if (*cached && !(*cached)->empty())
                row.state = EnemySpellRec::SpellState::withSpells(**cached);
            else
                row.state = EnemySpellRec::SpellState::unavailable();
        }
        rows.push_back(std::move(row));
    }
    setSpellRecs(std::move(rows));
}

void ChampSelectViewModel::resolveSynergy(const ChampSelectReadout& readout, const QString& myName)
{
    setSynergyDuo(std::nullopt);
    setSynergyPartnerName(std::nullopt);
    if (readout.botLanePartnerChampionId < 1)
        return;
    const std::optional<QString> partnerName = nameOf(readout.botLanePartnerChampionId);
    if (!partnerName)
        return;
    const std::optional<QString> myKey = keyOf(myName);
    const std::optional<QString> partnerKey = keyOf(*partnerName);
    if (!myKey || !partnerKey)
        return;
    // Only a role the client assigned counts: a guess from tags says nothing about who supports.
    std::optional<SynergyDuo> duo;
    if (assignedRole_ == MetaRole::adc)
        duo = synergyCatalog_.duo(*myKey, *partnerKey);
    else if (assignedRole_ == MetaRole::support)
        duo = synergyCatalog_.duo(*partnerKey, *myKey);
    if (!duo)
        return;
    setSynergyDuo(std::move(duo));
    setSynergyPartnerName(partnerName);
}

} // namespace tolvane
