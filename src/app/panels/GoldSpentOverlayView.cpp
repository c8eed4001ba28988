#include "app/panels/GoldSpentOverlayView.h"

#include "app/panels/HudPanel.h"
#include "app/panels/HudStyle.h"
#include "app/panels/HudText.h"
#include "app/panels/HudViews.h"

#include <QPainter>

#include <algorithm>

namespace tolvane {

namespace {

using PlayerGold = GoldSpentTracker::PlayerGold;

const QString title = QStringLiteral("Gold spent");

HudTextStyle small(QColor colour, double tracking = 0, bool digits = false)
{
    return {hudSmallFont(), std::move(colour), tracking, digits};
}

HudTextStyle body(QColor colour, bool digits = false)
{
    return {hudBodyFont(), std::move(colour), 0, digits};
}

HudTextStyle strong(QColor colour, bool digits = false)
{
    return {hudStrongFont(), std::move(colour), 0, digits};
}

HudTextStyle big(QColor colour)
{
    return {hudBigFont(), std::move(colour), 0, true};
}

void addHeader(HudColumn& column, std::optional<QString> trailing)
{
    const HUDHeader header {title, HUD::gold(), std::move(trailing)};
    column.add(header.height(), [header](QPainter& painter, const QRectF& slot) { header.paint(painter, slot); });
}

void addText(HudColumn& column, QString text, HudTextStyle style)
{
    column.add(style.lineHeight(), [text = std::move(text), style](QPainter& painter, const QRectF& slot) {
        drawHudLine(painter, slot, text, style);
    });
}

// One side of the lane row: name, champion, gold, stacked and aligned to one edge.
struct LaneSide {
    QString name;
    int64_t gold;
    QString label;
    QColor color;
    Qt::Alignment align;

    static constexpr double spacing = 1;

    double height() const
    {
        return small({}).lineHeight() + strong({}).lineHeight() + body({}).lineHeight() + 2 * spacing;
    }
    void paint(QPainter& painter, const QRectF& box) const
    {
        double y = box.top();
        const HudTextStyle nameStyle = small(HUD::textSecondary(), 1.0);
        drawHudLine(
            painter, QRectF(box.left(), y, box.width(), nameStyle.lineHeight()), name.toUpper(), nameStyle, align);
        y += nameStyle.lineHeight() + spacing;
        const HudTextStyle labelStyle = strong(color);
        drawHudLine(
            painter, QRectF(box.left(), y, box.width(), labelStyle.lineHeight()), label, labelStyle, align, 0.7);
        y += labelStyle.lineHeight() + spacing;
        const HudTextStyle goldStyle = body(HUD::textPrimary(), true);
        drawHudLine(painter, QRectF(box.left(), y, box.width(), goldStyle.lineHeight()),
            GoldSpentOverlayView::laneGold(gold), goldStyle, align);
    }
};

void addHeroVsLaner(HudColumn& column, const GoldSpentTracker::LaneMatchup& m, int64_t delta)
{
    // Badge, then the verdict word on the badge figures' baseline at the far end.
    const GoldDeltaBadge badge {delta};
    const GoldSpentOverlayView::Styled word = GoldSpentOverlayView::verdict(delta);
    const HudTextStyle wordStyle = small(word.color, 1.5);
    const double wordTop = std::min(badge.baseline() - wordStyle.ascent(), 0.0);
    const double badgeTop = -wordTop;
    const double rowHeight = std::max(
        badgeTop + badge.size().height(), badgeTop + badge.baseline() - wordStyle.ascent() + wordStyle.lineHeight());
    column.add(rowHeight, [=](QPainter& painter, const QRectF& slot) {
        const double width = wordStyle.width(word.text);
        // Only absurd figures are wider than the room the verdict leaves; they are cut, not
        // drawn over it.
        painter.save();
        painter.setClipRect(
            QRectF(slot.left() - 2, slot.top() - 4, std::max(slot.width() - width - 8 + 2, 0.0), slot.height() + 8));
        badge.paint(painter, slot.topLeft() + QPointF(0, badgeTop));
        painter.restore();
        drawHudText(painter,
            QPointF(slot.right() - width, slot.top() + badgeTop + badge.baseline() - wordStyle.ascent()), word.text,
            wordStyle);
    });

    const DivergingGoldBar bar {delta, 3000, 168, 8};
    column.add(
        bar.frameSize().height(), [bar](QPainter& painter, const QRectF& slot) { bar.paint(painter, slot.topLeft()); });

    const LaneSide you {QStringLiteral("you"), m.youGold, m.youChampion, HUD::gold(), Qt::AlignLeft};
    const LaneSide laner {QStringLiteral("laner"), m.lanerGold.value_or(0),
        m.lanerChampion.value_or(QStringLiteral("\u2014")), HUD::textSecondary(), Qt::AlignRight};
    column.add(std::max(you.height(), laner.height()), [you, laner](QPainter& painter, const QRectF& slot) {
        // Both sides take an equal share of what the spacings (8 either side of a 4 spacer) leave.
        const double side = std::max((slot.width() - 20) / 2, 0.0);
        you.paint(painter, QRectF(slot.left(), slot.top(), side, slot.height()));
        laner.paint(painter, QRectF(slot.right() - side, slot.top(), side, slot.height()));
    });
}

void addFallbackNoLaner(HudColumn& column, const GoldSpentTracker::LaneMatchup& m)
{
    const HudTextStyle nameStyle = strong(HUD::gold());
    const HudTextStyle goldStyle = big(HUD::textPrimary());
    const QString gold = GoldSpentOverlayView::laneGold(m.youGold);
    const double height = std::max(nameStyle.lineHeight(), goldStyle.lineHeight());
    column.add(height, [=, name = m.youChampion](QPainter& painter, const QRectF& slot) {
        const double goldWidth = goldStyle.width(gold);
        drawHudLine(painter,
            QRectF(slot.right() - goldWidth, slot.top() + (height - goldStyle.lineHeight()) / 2, goldWidth,
                goldStyle.lineHeight()),
            gold, goldStyle, Qt::AlignRight);
        drawHudLine(painter,
            QRectF(slot.left(), slot.top() + (height - nameStyle.lineHeight()) / 2,
                std::max(slot.width() - goldWidth - 8, 0.0), nameStyle.lineHeight()),
            name, nameStyle, Qt::AlignLeft, 0.7);
    });
    addText(column, GoldSpentOverlayView::noLanerNote(m.position), small(HUD::textSecondary()));
}

void addTeamFooter(HudColumn& column, const GoldSpentTracker::Lead& lead)
{
    column.addDivider(HUD::stroke());
    const HudTextStyle label = small(HUD::textSecondary(), 1.2);
    const GoldSpentOverlayView::Styled shown = GoldSpentOverlayView::leadText(lead);
    const HudTextStyle value = strong(shown.color);
    const double height = std::max(label.lineHeight(), value.lineHeight());
    column.add(height, [=](QPainter& painter, const QRectF& slot) {
        drawHudText(painter, QPointF(slot.left(), slot.top() + (height - label.lineHeight()) / 2),
            QStringLiteral("TEAM"), label);
        const double width = std::min(value.width(shown.text), slot.width());
        drawHudLine(painter,
            QRectF(slot.right() - width, slot.top() + (height - value.lineHeight()) / 2, width, value.lineHeight()),
            shown.text, value, Qt::AlignRight);
    });
}

// One team's players, one row each: dot, champion, gold.
struct PlayerColumn {
    std::vector<PlayerGold> players;
    std::optional<QString> you;
    QColor teamColor;

    static constexpr double rowSpacing = 1.5;

    static double rowHeight() { return small({}).lineHeight(); }
    double height() const
    {
        if (players.empty())
            return 0;
        return double(players.size()) * rowHeight() + double(players.size() - 1) * rowSpacing;
    }
    void paint(QPainter& painter, const QRectF& box) const
    {
        double y = box.top();
        for (const PlayerGold& player : players) {
            const bool mine = you && *you == player.champion;
            const double h = rowHeight();
            painter.save();
            painter.setRenderHint(QPainter::Antialiasing);
            painter.setPen(Qt::NoPen);
            painter.setBrush(teamColor);
            painter.drawEllipse(QRectF(box.left(), y + (h - 5) / 2, 5, 5));
            painter.restore();

            const HudTextStyle goldStyle = small(mine ? HUD::gold() : HUD::textPrimary(), 0, true);
            const QString gold = compactGold(player.gold);
            const double goldWidth = goldStyle.width(gold);
            drawHudText(painter, QPointF(box.right() - goldWidth, y), gold, goldStyle);
            const double nameLeft = box.left() + 5 + 4;
            const double nameWidth = std::max(box.right() - goldWidth - 4 - 3 - 4 - nameLeft, 0.0);
            drawHudLine(painter, QRectF(nameLeft, y, nameWidth, h), player.champion,
                small(mine ? HUD::gold() : HUD::textSecondary()), Qt::AlignLeft, 0.7);
            y += h + rowSpacing;
        }
    }
};

void addPlayerList(HudColumn& column, const std::vector<PlayerGold>& players, const std::optional<QString>& you)
{
    auto [order, chaos] = GoldSpentOverlayView::teamLists(players);
    if (order.empty() && chaos.empty())
        return;
    column.addDivider(HUD::stroke());
    const PlayerColumn left {std::move(order), you, GoldSpentOverlayView::orderBlue()};
    const PlayerColumn right {std::move(chaos), you, HUD::behind()};
    column.add(std::max(left.height(), right.height()), [left, right](QPainter& painter, const QRectF& slot) {
        const double share = std::max((slot.width() - 12) / 2, 0.0);
        left.paint(painter, QRectF(slot.left(), slot.top(), share, slot.height()));
        right.paint(painter, QRectF(slot.right() - share, slot.top(), share, slot.height()));
    });
}

} // namespace

GoldSpentOverlayView::GoldSpentOverlayView(GoldSpentViewModel* vm, double width, QObject* parent)
    : HudPanelContent(parent)
    , vm_(vm)
    , width_(width)
{
    if (vm)
        connect(vm, &GoldSpentViewModel::changed, this, &OverlayContent::changed);
}

GoldSpentOverlayView::State GoldSpentOverlayView::state() const
{
    if (!vm_ || !vm_->summary())
        return State::notInGame;
    return vm_->matchup() ? State::inLane : State::resolving;
}

QColor GoldSpentOverlayView::orderBlue()
{
    return QColor::fromRgbF(0.45f, 0.66f, 1.0f);
}

GoldSpentOverlayView::Styled GoldSpentOverlayView::verdict(int64_t delta)
{
    if (delta > 0)
        return {QStringLiteral("AHEAD"), HUD::ahead()};
    if (delta < 0)
        return {QStringLiteral("BEHIND"), HUD::behind()};
    return {QStringLiteral("EVEN"), HUD::neutral()};
}

GoldSpentOverlayView::Styled GoldSpentOverlayView::leadText(const GoldSpentTracker::Lead& lead)
{
    switch (lead.side) {
    case GoldSpentTracker::Lead::Side::order:
        return {QStringLiteral("ORDER +") + compactGold(lead.amount), orderBlue()};
    case GoldSpentTracker::Lead::Side::chaos:
        return {QStringLiteral("CHAOS +") + compactGold(lead.amount), HUD::behind()};
    case GoldSpentTracker::Lead::Side::even:
        break;
    }
    return {QStringLiteral("Even"), HUD::neutral()};
}

QString GoldSpentOverlayView::laneGold(int64_t gold)
{
    return compactGold(gold) + QLatin1Char('g');
}

QString GoldSpentOverlayView::noLanerNote(const std::optional<QString>& position)
{
    if (!position || position->isEmpty())
        return QStringLiteral("no lane assigned \u2014 can't pin your matchup");
    return QStringLiteral("lane opponent unclear");
}

std::pair<std::vector<PlayerGold>, std::vector<PlayerGold>> GoldSpentOverlayView::teamLists(
    const std::vector<PlayerGold>& players)
{
    std::vector<PlayerGold> order;
    std::vector<PlayerGold> chaos;
    for (const PlayerGold& player : players) {
        if (player.team == QLatin1String("ORDER"))
            order.push_back(player);
        else if (player.team == QLatin1String("CHAOS"))
            chaos.push_back(player);
    }
    const auto byGold = [](const PlayerGold& a, const PlayerGold& b) { return a.gold > b.gold; };
    std::stable_sort(order.begin(), order.end(), byGold);
    std::stable_sort(chaos.begin(), chaos.end(), byGold);
    return {std::move(order), std::move(chaos)};
}

HudColumn GoldSpentOverlayView::column() const
{
    if (state() == State::notInGame) {
        HudColumn column(3);
        addHeader(column, std::nullopt);
        addText(column, QStringLiteral("Not in game"), body(HUD::textSecondary()));
        return column;
    }
    const GoldSpentTracker::Summary& summary = *vm_->summary();
    const std::optional<GoldSpentTracker::LaneMatchup>& matchup = vm_->matchup();
    HudColumn column(7);
    if (matchup) {
        addHeader(column, hudLaneLabel(matchup->position));
        // The matchup's own difference saturates, so extreme figures from a confused reply
        // cannot overflow here.
        if (const std::optional<int64_t> delta = matchup->delta())
            addHeroVsLaner(column, *matchup, *delta);
        else
            addFallbackNoLaner(column, *matchup);
    } else {
        addHeader(column, std::nullopt);
        addText(column, QStringLiteral("resolving your champion\u2026"), small(HUD::textSecondary()));
    }
    addTeamFooter(column, summary.lead);
    addPlayerList(column, summary.perPlayer, matchup ? std::optional<QString>(matchup->youChampion) : std::nullopt);
    return column;
}

QSizeF GoldSpentOverlayView::naturalSize() const
{
    return hudPanel(HUD::gold(), width_, 1.0).outerSize(column().height());
}

void GoldSpentOverlayView::paint(QPainter& painter)
{
    const HudColumn rows = column();
    const HudPanel panel = hudPanel(HUD::gold(), width_, 1.0);
    panel.paint(painter, rows.height());
    rows.paint(painter, panel.contentRect(rows.height()));
}

} // namespace tolvane
