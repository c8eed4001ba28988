#include "app/champselect/LiveTab.h"

#include "app/champselect/ChampSelectLiveView.h"
#include "app/champselect/ChampSelectViewModel.h"
#include "app/champselect/LiveStatusHeader.h"
#include "app/champselect/LoadingReviewView.h"
#include "app/panels/HudImageCache.h"
#include "app/panels/HudStyle.h"
#include "app/panels/RuneBuildOverlayView.h"
#include "app/panels/RuneBuildViewModel.h"

#include <QPainter>
#include <QVBoxLayout>

namespace tolvane {

namespace {

constexpr double cardWidth = 264;
constexpr double reviewWidth = 348;
constexpr double buildWidth = 230;

bool hasLoadingLists(const ChampSelectViewModel& vm)
{
    return !vm.loadingAllies().empty() || !vm.loadingEnemies().empty();
}

// The status line, the popular-build panel as the overlay draws it, and a note.
class InGameSection : public LiveStackView {
public:
    InGameSection(RuneBuildViewModel& runeVM, HudImageSource* images, double s, QWidget* parent)
        : LiveStackView(images, parent)
        , panel_(new RuneBuildOverlayView(runeVM, buildWidth, images, this))
    {
        s_ = s;
        panel_->setWindowFontScale(s);
        connect(panel_, &OverlayContent::changed, this, &LiveStackView::rebuild);
        rebuild();
    }

protected:
    double spacing() const override { return 10; }
    std::vector<LiveEntry> build() const override
    {
        std::vector<LiveEntry> entries;
        entries.push_back(LiveStatusHeader {
            HUD::ahead(), QStringLiteral("In game"), QStringLiteral("Live popular build for your champion"), s_}
                              .entry());
        QPointer<RuneBuildOverlayView> panel = panel_;
        entries.push_back({QStringLiteral("build panel"), panel_->naturalSize(),
            [panel](QPainter& painter, QPointF at) {
                if (!panel)
                    return;
                painter.save();
                painter.translate(at);
                panel->paint(painter);
                painter.restore();
            },
            panel_->rowNames()});
        const QString note = QStringLiteral(
            "This is the same build the in-game overlay shows. Hold Tab in game to see it on the Rift.");
        const HudTextStyle style {winSmall(s_), HUD::textSecondary()};
        entries.push_back({QStringLiteral("note"), style.size(note) + QSizeF(1, 0),
            [note, style](QPainter& painter, QPointF at) { drawHudText(painter, at, note, style); }, {note}});
        return entries;
    }

private:
    RuneBuildOverlayView* panel_;
};

// The idle explanation: a status line by phase and three bullets.
class IdleSection : public LiveStackView {
public:
    IdleSection(const ChampSelectViewModel& vm, double s, QWidget* parent)
        : LiveStackView(nullptr, parent)
        , vm_(vm)
    {
        s_ = s;
        rebuild();
    }

    static LiveStatusHeader header(ChampSelectViewModel::Phase phase, double s)
    {
        switch (phase) {
        case ChampSelectViewModel::Phase::connecting:
            return {HUD::amber(), QStringLiteral("Connecting…"), QStringLiteral("Looking for the League client…"), s};
        case ChampSelectViewModel::Phase::clientOffline:
            return {HUD::neutral(), QStringLiteral("League not running"),
                QStringLiteral("Open the League client to see live runes and builds here."), s};
        default:
            return {HUD::teal(), QStringLiteral("Connected — waiting"),
                QStringLiteral("Your runes and build will appear here in champ select and in-game."), s};
        }
    }

protected:
    double spacing() const override { return 12; }
    std::vector<LiveEntry> build() const override
    {
        std::vector<LiveEntry> entries {header(vm_.phase(), s_).entry()};
        const HudTextStyle style {winBody(s_), HUD::textSecondary()};
        const double textWidth = std::max(120.0, double(width()) - 11);
        bool first = true;
        for (const QString& text :
            {QStringLiteral("In champ select, this tab shows popular runes + a build for your locked champion."),
                QStringLiteral("In game, it mirrors the in-game build overlay."),
                QStringLiteral("Everything here is read-only — Tolvane never changes your client.")}) {
            // The bullet stack sits 2 pt lower than the header's spacing alone would put it; its
            // rows are 7 pt apart (the section's own spacing is 12).
            const double above = first ? 2 : 7 - spacing();
            first = false;
            const double height = wrappedHeight(text, style, textWidth);
            entries.push_back({QStringLiteral("bullet"), QSizeF(11 + textWidth, above + height),
                [text, style, above, textWidth, height](QPainter& painter, QPointF at) {
                    painter.save();
                    painter.setRenderHint(QPainter::Antialiasing);
                    painter.setPen(Qt::NoPen);
                    painter.setBrush(HUD::stroke());
                    painter.drawEllipse(QRectF(at + QPointF(0, above + 6), QSizeF(4, 4)));
                    painter.restore();
                    drawWrapped(painter, QRectF(at + QPointF(11, above), QSizeF(textWidth, height)), text, style,
                        Qt::AlignLeft);
                },
                {text}});
        }
        return entries;
    }
    void resizeEvent(QResizeEvent*) override { rebuild(); }
    // The text wraps to any width, so the section never holds the window wide.
    QSize minimumSizeHint() const override { return {131, sizeHint().height()}; }

private:
    const ChampSelectViewModel& vm_;
};

} // namespace

LiveTab::LiveTab(ChampSelectViewModel& champVM, RuneBuildViewModel& runeVM, HudImageSource* images, QWidget* parent)
    : QWidget(parent)
    , champVM_(champVM)
    , runeVM_(runeVM)
    , images_(images)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
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

LiveTab::Presentation LiveTab::choose(
    bool inSelect, bool inGame, bool atLoadingScreen, bool loadingListsFilled, bool championKnown)
{
    if (inSelect)
        return Presentation::champSelect;
    if (inGame)
        return Presentation::inGame;
    if (atLoadingScreen && loadingListsFilled)
        return Presentation::loadingReview;
    if (championKnown)
        return Presentation::champSelect;
    return Presentation::idle;
}

LiveTab::Presentation LiveTab::presentation() const
{
    using Phase = ChampSelectViewModel::Phase;
    return choose(champVM_.phase() == Phase::inSelect, runeVM_.inGame(), champVM_.phase() == Phase::loadingScreen,
        hasLoadingLists(champVM_), champVM_.myChampionName().has_value());
}

std::vector<QWidget*> LiveTab::sections() const
{
    std::vector<QWidget*> shown;
    if (!content_)
        return shown;
    for (auto* child : content_->findChildren<LiveStackView*>(Qt::FindDirectChildrenOnly))
        shown.push_back(child);
    return shown;
}

std::vector<QString> LiveTab::entryNames() const
{
    std::vector<QString> names;
    for (auto* section : sections())
        for (const auto& name : static_cast<LiveStackView*>(section)->entryNames())
            names.push_back(name);
    return names;
}

void LiveTab::rebuild()
{
    const Presentation chosen = presentation();
    const Shape shape {chosen, chosen == Presentation::inGame && hasLoadingLists(champVM_), s_};
    if (shape_ == shape)
        return; // the shown views follow the models on their own
    shape_ = shape;

    delete content_;
    content_ = new QWidget(this);
    auto* column = new QVBoxLayout(content_);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(16);
    auto add = [&](LiveStackView* view, bool fullWidth = false) {
        view->setWindowFontScale(s_);
        column->addWidget(view, 0, fullWidth ? Qt::Alignment() : Qt::AlignLeft);
    };
    switch (chosen) {
    case Presentation::champSelect:
        add(new ChampSelectLiveView(champVM_, cardWidth, images_, content_));
        break;
    case Presentation::inGame:
        add(new InGameSection(runeVM_, images_, s_, content_));
        if (shape.reviewBelow)
            add(new LoadingReviewView(champVM_, reviewWidth, images_, content_));
        break;
    case Presentation::loadingReview:
        add(new LoadingReviewView(champVM_, reviewWidth, images_, content_));
        break;
    case Presentation::idle: {
        auto* idle = new IdleSection(champVM_, s_, content_);
        connect(&champVM_, &ChampSelectViewModel::changed, idle, &LiveStackView::rebuild);
        add(idle, true);
        break;
    }
    }
    column->addStretch(1);
    layout()->addWidget(content_);
    updateGeometry();
}

} // namespace tolvane
