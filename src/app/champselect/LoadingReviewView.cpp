#include "app/champselect/LoadingReviewView.h"

#include "app/champselect/LiveStatusHeader.h"
#include "app/panels/HudStyle.h"
#include "app/panels/HudViews.h"
#include "core/knowledge/DDragon.h"

#include <QPainter>

#include <algorithm>

namespace tolvane {

namespace {

constexpr double portraitSize = 26;
constexpr double rowSpacing = 8;
constexpr double rankGap = 6;

HudTextStyle nameStyle(double s)
{
    return {winBody(s), HUD::textPrimary()};
}
HudTextStyle championStyle(double s)
{
    return {winSmall(s), HUD::textSecondary()};
}

} // namespace

LoadingReviewView::LoadingReviewView(
    ChampSelectViewModel& vm, double cardWidth, HudImageSource* images, QWidget* parent)
    : LiveStackView(images, parent)
    , vm_(vm)
    , cardWidth_(cardWidth)
{
    connect(&vm_, &ChampSelectViewModel::changed, this, &LiveStackView::rebuild);
    rebuild();
}

std::pair<QString, std::optional<QString>> LoadingReviewView::nameLines(
    const ChampSelectViewModel::LoadingPlayer& player)
{
    if (player.displayName && player.championName)
        return {*player.displayName, *player.championName};
    if (player.displayName)
        return {*player.displayName, std::nullopt};
    if (player.championName)
        return {*player.championName, std::nullopt};
    return {QStringLiteral("—"), std::nullopt};
}

std::pair<QString, std::optional<QString>> LoadingReviewView::rankLines(const ChampSelectViewModel::RankState& rank)
{
    using Kind = ChampSelectViewModel::RankState::Kind;
    switch (rank.kind) {
    case Kind::loading:
        return {QStringLiteral("…"), std::nullopt};
    case Kind::unavailable:
        return {QStringLiteral("—"), std::nullopt};
    case Kind::unranked:
        return {QStringLiteral("Unranked"), std::nullopt};
    case Kind::ranked:
        break;
    }
    if (!rank.snapshot)
        return {QStringLiteral("—"), std::nullopt};
    const auto& snap = *rank.snapshot;
    std::optional<QString> record;
    if (const auto percent = snap.winRatePercent())
        record = QStringLiteral("%1% · %2W %3L").arg(*percent).arg(snap.wins).arg(snap.losses);
    return {snap.shortLabel(), record};
}

QColor LoadingReviewView::recordColour(int64_t percent)
{
    if (percent >= 55)
        return HUD::ahead();
    if (percent >= 48)
        return HUD::textSecondary();
    return HUD::behind();
}

PanelRow LoadingReviewView::playerRow(const ChampSelectViewModel::LoadingPlayer& player) const
{
    const double s = s_;
    const auto [name, champion] = nameLines(player);
    const auto [rankText, record] = rankLines(player.rank);
    const bool ranked = player.rank.kind == ChampSelectViewModel::RankState::Kind::ranked && player.rank.snapshot;
    HudTextStyle rankStyle {ranked
            ? winStrong(s)
            : (player.rank.kind == ChampSelectViewModel::RankState::Kind::unranked ? winSmall(s) : winBody(s)),
        ranked ? HUD::textPrimary() : HUD::textSecondary(), 0, ranked};
    HudTextStyle recordStyle {winSmall(s), HUD::textSecondary(), 0, true};
    if (ranked && player.rank.snapshot->winRatePercent())
        recordStyle.color = recordColour(*player.rank.snapshot->winRatePercent());

    const double edge = portraitSize * s;
    const double names = nameStyle(s).lineHeight() + (champion ? championStyle(s).lineHeight() : 0);
    const double rankHeight = rankStyle.lineHeight() + (record ? recordStyle.lineHeight() : 0);
    const double height = std::max({edge, names, rankHeight});
    const double rankWidth = std::max(rankStyle.width(rankText), record ? recordStyle.width(*record) : 0.0);

    LiveIcon portrait;
    portrait.images = images();
    if (player.championKey && portrait.images)
        portrait.address
            = DDragonImage::champion(*player.championKey, vm_.version(), portrait.images->dataDragonBase());
    portrait.edge = edge;
    portrait.radius = 5;

    QString rowName = QStringLiteral("player %1: %2").arg(player.id).arg(name);
    if (champion)
        rowName += QStringLiteral(" / ") + *champion;
    rowName += QStringLiteral(" | ") + rankText;
    if (record)
        rowName += QStringLiteral(" / ") + *record;
    return {rowName, height,
        [=, name = name, champion = champion, rankText = rankText, record = record](
            QPainter& painter, const QRectF& slot) {
            portrait.paint(painter, QPointF(slot.left(), slot.top() + (height - edge) / 2));
            const double rankLeft = slot.right() - rankWidth;
            const double textLeft = slot.left() + edge + rowSpacing;
            const double textWidth = std::max(0.0, rankLeft - rankGap - textLeft);
            double y = slot.top() + (height - names) / 2;
            drawHudLine(painter, QRectF(textLeft, y, textWidth, nameStyle(s).lineHeight()), name, nameStyle(s),
                Qt::AlignLeft, 0.7);
            if (champion) {
                y += nameStyle(s).lineHeight();
                drawHudLine(painter, QRectF(textLeft, y, textWidth, championStyle(s).lineHeight()), *champion,
                    championStyle(s));
            }
            double ry = slot.top() + (height - rankHeight) / 2;
            drawHudLine(
                painter, QRectF(rankLeft, ry, rankWidth, rankStyle.lineHeight()), rankText, rankStyle, Qt::AlignRight);
            if (record) {
                ry += rankStyle.lineHeight();
                drawHudLine(painter, QRectF(rankLeft, ry, rankWidth, recordStyle.lineHeight()), *record, recordStyle,
                    Qt::AlignRight);
            }
        }};
}

std::optional<LiveEntry> LoadingReviewView::teamCard(const QString& title,
    const std::vector<ChampSelectViewModel::LoadingPlayer>& players, const QColor& accent, double cardWidth) const
{
    if (players.empty())
        return std::nullopt;
    const double s = s_;
    HudColumn column(7 * s);
    const HUDHeader header {title, accent, std::nullopt, s};
    column.add({QStringLiteral("header: ") + title, header.height(),
        [header](QPainter& painter, const QRectF& slot) { header.paint(painter, slot); }});
    for (const auto& player : players)
        column.add(playerRow(player));
    const CaveatPill pill {QStringLiteral("Metrion · solo queue · this season"), HUD::amber(), s};
    column.add({QStringLiteral("pill: ") + pill.text, pill.size().height(),
        [pill](QPainter& painter, const QRectF& slot) { pill.paint(painter, slot.topLeft()); }});
    return liveCard(title, accent, cardWidth, s, std::move(column));
}

std::vector<LiveEntry> LoadingReviewView::build(double width) const
{
    std::vector<LiveEntry> entries;
    entries.push_back(LiveStatusHeader {HUD::teal(), QStringLiteral("Loading screen"),
        QStringLiteral("Lobby ranks from Metrion — solo queue, this season"), s_, width}
                          .entry());
    const double cardWidth = fittedCardWidth(cardWidth_, s_, width);
    auto add = [&](const QString& title, const std::vector<ChampSelectViewModel::LoadingPlayer>& players,
                   const QColor& accent) {
        if (auto card = teamCard(title, players, accent, cardWidth))
            entries.push_back(std::move(*card));
    };
    if (vm_.isArenaLobby()) {
        add(QStringLiteral("All players"), vm_.loadingAllies(), HUD::gold());
        return entries;
    }
    const bool known = vm_.loadingTeamsIdentified();
    add(known ? QStringLiteral("Your team") : QStringLiteral("Blue side"), vm_.loadingAllies(), HUD::gold());
    add(known ? QStringLiteral("Enemy team") : QStringLiteral("Red side"), vm_.loadingEnemies(), HUD::teal());
    return entries;
}

} // namespace tolvane
