#include "app/panels/MatchupBuildBody.h"

#include "app/panels/HudStyle.h"
#include "app/panels/HudViews.h"
#include "app/panels/RuneBuildOverlayView.h"

#include <QPainter>
#include <QPainterPath>
#include <QStringList>

#include <algorithm>

namespace tolvane {

namespace {

constexpr double kRowSpacing = 6;

HudTextStyle small(QColor colour, double tracking = 0)
{
    return {hudSmallFont(), std::move(colour), tracking};
}

HudTextStyle figures(QColor colour)
{
    HudTextStyle style {hudStrongFont(), std::move(colour)};
    style.monospacedDigits = true;
    return style;
}

std::optional<QString> joined(const std::optional<std::vector<QString>>& parts, const QString& separator)
{
    if (!parts || parts->empty())
        return std::nullopt;
    return QStringList(parts->begin(), parts->end()).join(separator);
}

// A text on a capsule tinted with its colour, padded 7 across and 2 up and down.
void drawTintedCapsule(
    QPainter& painter, QPointF topLeft, double maxWidth, const QString& text, const HudTextStyle& style, double shrink)
{
    const double textWidth = std::min(style.width(text), std::max(maxWidth - 14, 0.0));
    const QRectF capsule(topLeft, QSizeF(textWidth + 14, style.lineHeight() + 4));
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath shape;
    shape.addRoundedRect(capsule, capsule.height() / 2, capsule.height() / 2);
    painter.fillPath(shape, withAlpha(style.color, 0.16));
    painter.restore();
    drawCentredLine(painter, capsule.adjusted(7, 2, -7, -2), text, style, shrink);
}

PanelRow teamRow(const QString& name, const QString& label, const ThreatProfile& p, QColor colour)
{
    const HudTextStyle labelStyle = small(colour, 0.8);
    const HudTextStyle unit = small(HUD::textSecondary());
    const double height = std::max({labelStyle.lineHeight(), figures(HUD::violet()).lineHeight()});
    return {name, height, [label, p, labelStyle, unit](QPainter& painter, const QRectF& row) {
                constexpr double gap = 6;
                drawCentredLine(painter, QRectF(row.left(), row.top(), 58, row.height()), label, labelStyle, 1.0);
                double x = row.left() + 58 + gap;
                auto pair = [&](int64_t count, const QColor& colour, const QString& what) {
                    const HudTextStyle figure = figures(colour);
                    const QString text = QString::number(count);
                    drawCentredLine(painter, QRectF(x, row.top(), figure.width(text), row.height()), text, figure);
                    x += figure.width(text) + gap;
                    drawCentredLine(painter, QRectF(x, row.top(), unit.width(what), row.height()), what, unit);
                    x += unit.width(what) + gap;
                };
                pair(p.apCount, HUD::violet(), QStringLiteral("AP"));
                pair(p.adCount, HUD::gold(), QStringLiteral("AD"));
                if (p.mixedCount >= 1)
                    pair(p.mixedCount, HUD::neutral(), QStringLiteral("MIX"));
                const QString cc = MatchupBuildBody::ccText(p.ccCoverage);
                const double ccWidth = unit.width(cc);
                drawCentredLine(painter, QRectF(row.right() - ccWidth, row.top(), ccWidth, row.height()), cc, unit);
            }};
}

PanelRow metaRow(const QString& name, const QString& label, const QString& value)
{
    const HudTextStyle labelStyle = small(HUD::textSecondary(), 1.2);
    const HudTextStyle valueStyle {hudStrongFont(), HUD::textPrimary()};
    const double height = std::max(labelStyle.lineHeight(), valueStyle.lineHeight());
    return {name, height, [label, value, labelStyle, valueStyle](QPainter& painter, const QRectF& row) {
                const double labelWidth = labelStyle.width(label);
                drawCentredLine(painter, QRectF(row.left(), row.top(), labelWidth, row.height()), label, labelStyle);
                const double left = row.left() + labelWidth + 6;
                drawCentredLine(
                    painter, QRectF(left, row.top(), row.right() - left, row.height()), value, valueStyle, 0.8);
            }};
}

} // namespace

MatchupBuildBody::MatchupBuildBody(
    MetaBuild build, MatchupExtras extras, const CounterBuildViewModel& vm, double width, HudImageSource* images)
    : build_(std::move(build))
    , extras_(std::move(extras))
    , vm_(vm)
    , width_(width)
    , images_(images)
{
}

MatchupBuildBody::Verdict MatchupBuildBody::verdictPill(MatchupVerdict verdict)
{
    switch (verdict) {
    case MatchupVerdict::favored:
        return {QStringLiteral("FAVORED"), HUD::ahead()};
    case MatchupVerdict::even:
        return {QStringLiteral("EVEN"), HUD::neutral()};
    case MatchupVerdict::unfavored:
        return {QStringLiteral("UNFAVORED"), HUD::behind()};
    }
    return {QStringLiteral("EVEN"), HUD::neutral()};
}

std::optional<QString> MatchupBuildBody::playStyleText() const
{
    if (!extras_.playStyle)
        return std::nullopt;
    return QStringLiteral("\u00b7 play ") + *extras_.playStyle;
}

QString MatchupBuildBody::ccText(const CCCoverage& coverage)
{
    return QStringLiteral("CC ") + (coverage.isPartial() ? QStringLiteral("\u2265") : QString())
        + QString::number(coverage.count);
}

std::optional<QString> MatchupBuildBody::runeText() const
{
    if (!build_.primaryRune)
        return std::nullopt;
    if (!extras_.keystone)
        return *build_.primaryRune;
    return *build_.primaryRune + QStringLiteral(" \u00b7 ") + *extras_.keystone;
}

std::optional<QString> MatchupBuildBody::skillText() const
{
    return joined(extras_.skillOrder, QStringLiteral(" \u203a "));
}

std::optional<QString> MatchupBuildBody::spellsText() const
{
    return joined(extras_.summonerSpells, QStringLiteral(" + "));
}

HudPanel MatchupBuildBody::panel() const
{
    return hudPanel(HUD::teal(), width_, 1.0);
}

HudColumn MatchupBuildBody::rows() const
{
    HudColumn stack(kRowSpacing);
    const HUDHeader header {QStringLiteral("Matchup"), HUD::teal(), headerTrailing()};
    stack.add({QStringLiteral("header"), header.height(),
        [header](QPainter& painter, const QRectF& row) { header.paint(painter, row); }});

    const Verdict verdict = verdictPill(extras_.verdict);
    const HudTextStyle verdictStyle {hudStrongFont(), verdict.color};
    const HudTextStyle styleText = small(HUD::textSecondary());
    const std::optional<QString> playStyle = playStyleText();
    const double pillWidth = verdictStyle.width(verdict.label) + 14;
    stack.add({QStringLiteral("verdict"), verdictStyle.lineHeight() + 4,
        [verdict, verdictStyle, styleText, playStyle, pillWidth](QPainter& painter, const QRectF& row) {
            drawTintedCapsule(painter, row.topLeft(), row.width(), verdict.label, verdictStyle, 1.0);
            if (playStyle) {
                const double left = row.left() + pillWidth + 6;
                drawCentredLine(
                    painter, QRectF(left, row.top(), row.right() - left, row.height()), *playStyle, styleText, 0.85);
            }
        }});

    if (extras_.opponentTip) {
        const HudTextStyle tipStyle = small(HUD::textSecondary());
        stack.add(wrappedTextRow(QStringLiteral("tip"), *extras_.opponentTip, tipStyle, width_));
    }

    if (vm_.allyThreat() && vm_.enemyThreat()) {
        // The two team rows sit closer together than the body's rows.
        const PanelRow allies
            = teamRow(QStringLiteral("allies"), QStringLiteral("ALLIES"), *vm_.allyThreat(), HUD::ahead());
        const PanelRow enemies
            = teamRow(QStringLiteral("enemies"), QStringLiteral("ENEMIES"), *vm_.enemyThreat(), HUD::behind());
        stack.add({QStringLiteral("teams"), allies.height + 2 + enemies.height,
            [allies, enemies](QPainter& painter, const QRectF& box) {
                allies.paint(painter, QRectF(box.left(), box.top(), box.width(), allies.height));
                enemies.paint(painter, QRectF(box.left(), box.top() + allies.height + 2, box.width(), enemies.height));
            }});
    }

    const BuildPathRows path({build_, vm_.owned(), &vm_.itemCatalog(), vm_.version(), HUD::teal(), images_});
    path.appendBody(stack);
    path.appendBoots(stack, /*ownedBadge=*/false);

    if (const std::optional<QString> rune = runeText())
        stack.add(runeRow(*rune, HUD::teal(), width_));
    if (const std::optional<QString> skill = skillText())
        stack.add(metaRow(QStringLiteral("skill"), QStringLiteral("SKILL"), *skill));
    if (const std::optional<QString> spells = spellsText())
        stack.add(metaRow(QStringLiteral("spells"), QStringLiteral("SPELLS"), *spells));

    const CaveatPill pill {caption(), HUD::textSecondary()};
    stack.add({QStringLiteral("caption"), pill.size().height(),
        [pill](QPainter& painter, const QRectF& row) { pill.paint(painter, row.topLeft()); }});
    return stack;
}

QSizeF MatchupBuildBody::naturalSize() const
{
    return panel().outerSize(rows().height());
}

void MatchupBuildBody::paint(QPainter& painter) const
{
    const HudColumn stack = rows();
    const HudPanel frame = panel();
    const double height = stack.height();
    frame.paint(painter, height);
    stack.paint(painter, frame.contentRect(height));
}

} // namespace tolvane
