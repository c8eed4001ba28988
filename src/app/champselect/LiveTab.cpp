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

#include <algorithm>
#include <cmath>

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
        , runeVM_(runeVM)
    {
        s_ = s;
        connect(&runeVM_, &RuneBuildViewModel::changed, this, &LiveStackView::rebuild);
        rebuild();
    }

protected:
    double spacing() const override { return 10; }
    std::vector<LiveEntry> build(double width) const override
    {
        std::vector<LiveEntry> entries;
        entries.push_back(LiveStatusHeader {
            HUD::ahead(), QStringLiteral("In game"), QStringLiteral("Live popular build for your champion"), s_, width}
                              .entry());
        // The overlay's own rows in the overlay's frame, narrowed only when the column is.
        const double panelWidth = fittedCardWidth(buildWidth, s_, width);
        RuneBuildOverlayView panel(runeVM_, panelWidth, images());
        panel.setWindowFontScale(s_);
        entries.push_back(liveCard(QStringLiteral("build panel"), panel.panel().accent, panelWidth, s_, panel.rows()));
        const QString note = QStringLiteral(
            "This is the same build the in-game overlay shows. Hold Tab in game to see it on the Rift.");
        const PanelRow text = wrappedRow(note, {winSmall(s_), HUD::textSecondary()}, width);
        const double textWidth = width > 0 ? width : HudTextStyle {winSmall(s_), HUD::textSecondary()}.width(note) + 1;
        entries.push_back({QStringLiteral("note"), QSizeF(textWidth, text.height),
            [text, textWidth](
                QPainter& painter, QPointF at) { text.paint(painter, QRectF(at, QSizeF(textWidth, text.height))); },
            {note}});
        return entries;
    }

private:
    RuneBuildViewModel& runeVM_;
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

    static LiveStatusHeader header(ChampSelectViewModel::Phase phase, double s, double width)
    {
        switch (phase) {
        case ChampSelectViewModel::Phase::connecting:
            return {HUD::amber(), QStringLiteral("Connecting…"), QStringLiteral("Looking for the League client…"), s,
                width};
        case ChampSelectViewModel::Phase::clientOffline:
            return {HUD::neutral(), QStringLiteral("League not running"),
                QStringLiteral("Open the League client to see live runes and builds here."), s, width};
        default:
            return {HUD::teal(), QStringLiteral("Connected — waiting"),
                QStringLiteral("Your runes and build will appear here in champ select and in-game."), s, width};
        }
    }

protected:
    double spacing() const override { return 12; }
    std::vector<LiveEntry> build(double width) const override
    {
        std::vector<LiveEntry> entries {header(vm_.phase(), s_, width).entry()};
        const HudTextStyle style {winBody(s_), HUD::textSecondary()};
        bool first = true;
        for (const QString& text :
            {QStringLiteral("In champ select, this tab shows popular runes + a build for your locked champion."),
                QStringLiteral("In game, it mirrors the in-game build overlay."),
                QStringLiteral("Everything here is read-only — Tolvane never changes your client.")}) {
            // The bullet stack sits 2 pt lower than the header's spacing alone would put it; its
            // rows are 7 pt apart (the section's own spacing is 12).
            const double above = first ? 2 : 7 - spacing();
            first = false;
            const double textWidth = width > 11 ? width - 11 : style.width(text) + 1;
            const double height = wrappedTextHeight(text, style, textWidth);
            entries.push_back({QStringLiteral("bullet"), QSizeF(11 + textWidth, above + height),
                [text, style, above, textWidth, height](QPainter& painter, QPointF at) {
                    painter.save();
                    painter.setRenderHint(QPainter::Antialiasing);
                    painter.setPen(Qt::NoPen);
                    painter.setBrush(HUD::stroke());
                    painter.drawEllipse(QRectF(at + QPointF(0, above + 6), QSizeF(4, 4)));
                    painter.restore();
                    drawWrappedText(painter, QRectF(at + QPointF(11, above), QSizeF(textWidth, height)), text, style,
                        Qt::AlignLeft);
                },
                {text}});
        }
        return entries;
    }

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
    QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
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

std::vector<LiveStackView*> LiveTab::sections() const
{
    std::vector<LiveStackView*> shown;
    for (const auto& section : sections_)
        if (section)
            shown.push_back(section);
    return shown;
}

std::vector<QString> LiveTab::entryNames() const
{
    std::vector<QString> names;
    for (auto* section : sections())
        for (const auto& name : section->entryNames())
            names.push_back(name);
    return names;
}

double LiveTab::contentHeight(double width) const
{
    double height = 0;
    for (auto* section : sections())
        height += section->contentHeight(width);
    return height + spacing * double(std::max<size_t>(sections().size(), 1) - 1);
}

int LiveTab::heightForWidth(int width) const
{
    const double content = std::max(0, width - bleed.left() - bleed.right());
    return int(std::ceil(contentHeight(content))) + bleed.top() + bleed.bottom();
}

QSize LiveTab::sizeHint() const
{
    // As wide as the widest section would like to be with nothing holding it in.
    int width = 0;
    for (auto* section : sections())
        width = std::max(width, int(std::ceil(section->contentWidth(0))));
    width += bleed.left() + bleed.right();
    return {width, heightForWidth(width)};
}

QSize LiveTab::minimumSizeHint() const
{
    return {bleed.left() + bleed.right(), 0};
}

void LiveTab::resizeEvent(QResizeEvent*)
{
    placeSections();
}

void LiveTab::placeSections()
{
    if (placing_)
        return;
    placing_ = true;
    // Each section as wide as the tab, set back by the bleed so its entries start at ours.
    const double width = std::max(0, this->width() - bleed.left() - bleed.right());
    double y = 0;
    for (auto* section : sections()) {
        section->setAvailableWidth(width);
        const int height = int(std::ceil(section->contentSize().height()));
        section->setGeometry(0, qRound(y), this->width(), height + bleed.top() + bleed.bottom());
        section->show();
        y += section->contentSize().height() + spacing;
    }
    placing_ = false;
}

void LiveTab::rebuild()
{
    const Presentation chosen = presentation();
    const Shape shape {chosen, chosen == Presentation::inGame && hasLoadingLists(champVM_), s_};
    if (shape_ == shape)
        return; // the shown views follow the models on their own
    shape_ = shape;

    for (auto& section : sections_)
        delete section.data();
    sections_.clear();
    auto add = [&](LiveStackView* view) {
        view->setWindowFontScale(s_);
        connect(view, &LiveStackView::rebuilt, this, [this] {
            if (placing_)
                return;
            placeSections();
            updateGeometry();
        });
        sections_.emplace_back(view);
    };
    switch (chosen) {
    case Presentation::champSelect:
        add(new ChampSelectLiveView(champVM_, cardWidth, images_, this));
        break;
    case Presentation::inGame:
        add(new InGameSection(runeVM_, images_, s_, this));
        if (shape.reviewBelow)
            add(new LoadingReviewView(champVM_, reviewWidth, images_, this));
        break;
    case Presentation::loadingReview:
        add(new LoadingReviewView(champVM_, reviewWidth, images_, this));
        break;
    case Presentation::idle: {
        auto* idle = new IdleSection(champVM_, s_, this);
        connect(&champVM_, &ChampSelectViewModel::changed, idle, &LiveStackView::rebuild);
        add(idle);
        break;
    }
    }
    placeSections();
    updateGeometry();
}

} // namespace tolvane
