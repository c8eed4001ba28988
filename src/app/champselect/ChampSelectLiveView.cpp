#include "app/champselect/ChampSelectLiveView.h"

#include "app/champselect/ChampSelectCards.h"
#include "app/champselect/LiveStatusHeader.h"
#include "app/panels/HudStyle.h"

namespace tolvane {

ChampSelectLiveView::ChampSelectLiveView(
    ChampSelectViewModel& vm, double cardWidth, HudImageSource* images, QWidget* parent)
    : LiveStackView(images, parent)
    , vm_(vm)
    , cardWidth_(cardWidth)
{
    connect(&vm_, &ChampSelectViewModel::changed, this, &LiveStackView::rebuild);
    rebuild();
}

std::optional<MetaRunePage> ChampSelectLiveView::runePage(const ChampSelectViewModel& vm)
{
    if (!vm.advice())
        return std::nullopt;
    if (const auto* build = std::get_if<MetaBuild>(&vm.advice()->result))
        return build->runePage;
    return std::nullopt;
}

QString ChampSelectLiveView::statusSubtitle() const
{
    if (const auto& name = vm_.myChampionName())
        return QStringLiteral("Popular runes & build for ") + *name;
    return QStringLiteral("Hover or lock a champion to see runes");
}

std::vector<LiveEntry> ChampSelectLiveView::build(double width) const
{
    using Mode = MetaModeRoute::Kind;
    const Mode mode = vm_.gameMode().kind;
    const bool rift = mode == Mode::summonersRift;
    const ChampSelectCards cards {vm_, s_, fittedCardWidth(cardWidth_, s_, width), images()};

    std::vector<LiveEntry> entries;
    entries.push_back(
        LiveStatusHeader {HUD::violet(), QStringLiteral("Champ Select"), statusSubtitle(), s_, width}.entry());
    if (const auto& name = vm_.myChampionName())
        entries.push_back(cards.championCard(*name));
    if (const auto page = runePage(vm_); page && rift)
        entries.push_back(cards.runesCard(*page));
    if (!vm_.counterRows().empty() && rift)
        entries.push_back(cards.countersCard());
    if (!vm_.spellRecs().empty() && rift)
        entries.push_back(cards.spellsCard());
    if (vm_.synergyDuo() && vm_.synergyPartnerName())
        entries.push_back(cards.synergyCard(*vm_.synergyDuo(), *vm_.synergyPartnerName()));
    if (mode != Mode::arena)
        entries.push_back(cards.enemyCard());
    return entries;
}

} // namespace tolvane
