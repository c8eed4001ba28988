#include "app/panels/RuneBuildOverlayView.h"

#include "app/panels/HudStyle.h"
#include "app/panels/HudViews.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>

namespace tolvane {

namespace {

const MetaBuild* buildOf(const std::optional<MetaBuildAdvice>& advice)
{
    return advice ? std::get_if<MetaBuild>(&advice->result) : nullptr;
}

} // namespace

PanelRow runeRow(const QString& rune, const QColor& accent, double width, double s)
{
    const HudTextStyle label {hudSmallFont(s), HUD::textSecondary(), 1.2};
    const HudTextStyle text {hudStrongFont(s), accent};
    width *= s;
    const double height = std::max(label.lineHeight(), text.lineHeight() + 4);
    return {QStringLiteral("rune"), height, [rune, accent, label, text, width](QPainter& painter, const QRectF& row) {
                constexpr double gap = 6;
                const double labelWidth = label.width(QStringLiteral("RUNE"));
                drawCentredLine(
                    painter, QRectF(row.left(), row.top(), labelWidth, row.height()), QStringLiteral("RUNE"), label);
                const double textWidth = std::min(text.width(rune), std::max(width - labelWidth - gap - 14, 0.0));
                const QRectF capsule(row.left() + labelWidth + gap,
                    row.top() + (row.height() - text.lineHeight() - 4) / 2, textWidth + 14, text.lineHeight() + 4);
                painter.save();
                painter.setRenderHint(QPainter::Antialiasing);
                QPainterPath shape;
                shape.addRoundedRect(capsule, capsule.height() / 2, capsule.height() / 2);
                painter.fillPath(shape, withAlpha(accent, 0.16));
                painter.restore();
                drawCentredLine(painter, capsule.adjusted(7, 2, -7, -2), rune, text, 0.85);
            }};
}

RuneBuildOverlayView::RuneBuildOverlayView(
    RuneBuildViewModel& vm, double width, HudImageSource* images, QObject* parent)
    : HudPanelContent(parent)
    , vm_(vm)
    , width_(width)
    , images_(images)
{
    connect(&vm_, &RuneBuildViewModel::changed, this, &OverlayContent::changed);
    if (images)
        connect(images, &HudImageSource::imageArrived, this, &OverlayContent::changed);
}

std::optional<QString> RuneBuildOverlayView::headerTrailing() const
{
    const MetaBuild* build = buildOf(vm_.advice());
    if (!build)
        return std::nullopt;
    if (build->aram)
        return QStringLiteral("ARAM");
    if (build->roleInferred)
        return QStringLiteral("typical ") + metaRoleRawValue(build->role);
    return std::nullopt;
}

std::optional<QString> RuneBuildOverlayView::message() const
{
    const auto& advice = vm_.advice();
    if (!advice)
        return vm_.inGame() ? QStringLiteral("loading\u2026") : QStringLiteral("Not in game");
    if (const auto* unavailable = std::get_if<Unavailable>(&advice->result))
        return unavailable->reason;
    return std::nullopt;
}

std::optional<QString> RuneBuildOverlayView::staleCaption() const
{
    const auto& advice = vm_.advice();
    if (!buildOf(advice) || advice->freshness.kind != MetaFreshness::Kind::stale)
        return std::nullopt;
    return QStringLiteral("stale \u00b7 patch ") + advice->freshness.staleReason;
}

void RuneBuildOverlayView::setWindowFontScale(double s)
{
    s_ = s > 0 ? s : defaultWindowFontScale;
    emit changed();
}

HudPanel RuneBuildOverlayView::panel() const
{
    return hudPanel(HUD::violet(), width_, 1.0, s_);
}

HudColumn RuneBuildOverlayView::rows() const
{
    const MetaBuild* build = buildOf(vm_.advice());
    HudColumn stack(build || vm_.advice() ? 7.0 : 3.0);
    const HUDHeader header {QStringLiteral("Popular build"), HUD::violet(), headerTrailing(), s_};
    stack.add({QStringLiteral("header"), header.height(),
        [header](QPainter& painter, const QRectF& row) { header.paint(painter, row); }});

    if (!build) {
        const HudTextStyle body {hudBodyFont(s_), HUD::textSecondary()};
        stack.add(wrappedTextRow(QStringLiteral("message"), message().value_or(QString()), body, width_ * s_));
        return stack;
    }

    const BuildPathRows path(
        {*build, vm_.owned(), &vm_.itemCatalog(), vm_.version(), HUD::violet(), images_.data(), s_});
    path.appendBody(stack);
    path.appendBoots(stack, /*ownedBadge=*/true);
    if (build->primaryRune)
        stack.add(runeRow(*build->primaryRune, HUD::violet(), width_, s_));
    if (const std::optional<QString> caption = staleCaption()) {
        const CaveatPill pill {*caption, HUD::behind(), s_};
        stack.add({QStringLiteral("stale"), pill.size().height(),
            [pill](QPainter& painter, const QRectF& row) { pill.paint(painter, row.topLeft()); }});
    }
    return stack;
}

QSizeF RuneBuildOverlayView::naturalSize() const
{
    return panel().outerSize(rows().height());
}

void RuneBuildOverlayView::paint(QPainter& painter)
{
    const HudColumn stack = rows();
    const HudPanel frame = panel();
    const double height = stack.height();
    frame.paint(painter, height);
    stack.paint(painter, frame.contentRect(height));
}

} // namespace tolvane
