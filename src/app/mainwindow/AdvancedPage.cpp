#include "app/mainwindow/AdvancedPage.h"

#include "app/mainwindow/SettingsControls.h"
#include "app/mainwindow/SettingsTabParts.h"
#include "app/panels/HudStyle.h"

#include <QVBoxLayout>

namespace tolvane {

AdvancedTabView::AdvancedTabView(SettingsModel& model, QWidget* parent)
    : SettingsPage(parent)
    , model_(model)
{
    const double s = model_.fontScale();
    QVBoxLayout* page = makePageColumn(this, spacing);

    QVBoxLayout* textSize = nullptr;
    page->addWidget(makeBlock(8, this, &textSize));
    textSize->addWidget(new SettingsHeader(QStringLiteral("Text size"), HUD::gold(), s));
    textSize->addWidget(
        makeCaption(QStringLiteral("Make this window's text larger. Doesn't affect the in-game overlays."), s));
    textSizePicker_ = makeTextSizePicker(
        {[this] { return model_.textSizeIndex(); }, [this](qint64 index) { model_.setTextSizeIndex(index); }}, s);
    textSize->addWidget(textSizePicker_);

    QVBoxLayout* privacy = nullptr;
    page->addWidget(makeBlock(8, this, &privacy));
    privacy->addWidget(new SettingsHeader(QStringLiteral("Privacy"), HUD::gold(), s));
    usagePingToggle_ = new GoldToggle(QStringLiteral("Anonymous usage ping"),
        {[this] { return model_.usagePing(); }, [this](bool value) { model_.setUsagePing(value); }}, s);
    privacy->addWidget(usagePingToggle_);
    privacy->addWidget(makeCaption(
        QStringLiteral("Tells us roughly how many people use Tolvane: a random install ID, app version, and macOS "
                       "version — every 5 minutes while the app runs. Never your Riot ID, summoner name, or any game "
                       "data. Off = we count nothing from this Mac."),
        s));

    QVBoxLayout* soon = nullptr;
    page->addWidget(makeBlock(8, this, &soon));
    soon->addWidget(new SettingsHeader(QStringLiteral("Coming soon"), HUD::gold(), s));
    const std::pair<QString, QString> rows[] = {
        {QStringLiteral("Best late-game build"),
            QStringLiteral("A power-spike build distinct from the lane-counter build.")},
        {QStringLiteral("Stack curve"),
            QStringLiteral("Target stacks over time for stacking champs (Nasus, Veigar, Smolder…).")},
        {QStringLiteral("Smurf recommendations"), QStringLiteral("Tolvane's own recommendation engine overlay.")},
        {QStringLiteral("Summoner-CD hotkeys"),
            QStringLiteral("Custom key binds for marking enemy summoners. Marking stays click-only for now.")},
    };
    for (const auto& [name, detail] : rows) {
        auto* row = new ComingSoonRow(name, detail, s);
        comingSoon_.push_back(row);
        soon->addWidget(row);
    }
    refresh();
}

void AdvancedTabView::refresh()
{
    textSizePicker_->sync();
    usagePingToggle_->sync();
}

} // namespace tolvane
