#include "app/champselect/LiveTab.h"

#include "app/champselect/ChampSelectViewModel.h"
#include "app/panels/HudImageCache.h"
#include "app/panels/RuneBuildViewModel.h"

#include <QVBoxLayout>

namespace tolvane {

LiveTab::LiveTab(ChampSelectViewModel& champVM, RuneBuildViewModel& runeVM, HudImageSource* images, QWidget* parent)
    : QWidget(parent)
    , champVM_(champVM)
    , runeVM_(runeVM)
    , images_(images)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    connect(&champVM_, &ChampSelectViewModel::changed, this, &LiveTab::rebuild);
    connect(&runeVM_, &RuneBuildViewModel::changed, this, &LiveTab::rebuild);
    rebuild();
}

LiveTab::~LiveTab() = default;

void LiveTab::setWindowFontScale(double s)
{
    s_ = s;
    rebuild();
}

LiveTab::Presentation LiveTab::choose(const ChampSelectViewModel& champVM, bool inGame)
{
    using Phase = ChampSelectViewModel::Phase;
    if (champVM.phase() == Phase::inSelect)
        return Presentation::champSelect;
    if (inGame)
        return Presentation::inGame;
    if (champVM.phase() == Phase::loadingScreen
        && (!champVM.loadingAllies().empty() || !champVM.loadingEnemies().empty()))
        return Presentation::loadingReview;
    if (champVM.myChampionName())
        return Presentation::champSelect;
    return Presentation::idle;
}

LiveTab::Presentation LiveTab::presentation() const
{
    return choose(champVM_, runeVM_.inGame());
}

void LiveTab::rebuild()
{
}

} // namespace tolvane
