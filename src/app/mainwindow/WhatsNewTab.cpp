#include "app/mainwindow/WhatsNewTab.h"

#include "app/panels/HudStyle.h"
#include "app/panels/HudText.h"
#include "app/panels/HudViews.h"
#include "core/overlay/MakerWebHost.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace tolvane {

namespace {

constexpr int wrapFlags = Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap;
constexpr double entryInset = 2;
constexpr double tipIconTop = 2;

HudTextStyle noteStyle(double s)
{
    return HudTextStyle {winBody(s), HUD::textSecondary()};
}

double wrappedHeight(const QString& text, const HudTextStyle& style, double width)
{
    return QFontMetricsF(style.qfont()).boundingRect(QRectF(0, 0, std::max(1.0, width), 1e6), wrapFlags, text).height();
}

// A light bulb, filled, in a square box.
void drawBulb(QPainter& painter, const QRectF& box, const QColor& colour)
{
    const double u = box.width() / 10;
    QPainterPath path;
    path.addEllipse(QRectF(box.left() + 1.5 * u, box.top(), 7 * u, 7 * u));
    path.addRect(QRectF(box.left() + 3.3 * u, box.top() + 5.5 * u, 3.4 * u, 2.3 * u));
    path.addRoundedRect(QRectF(box.left() + 3.3 * u, box.top() + 8.3 * u, 3.4 * u, 1.7 * u), 0.6 * u, 0.6 * u);
    path.setFillRule(Qt::WindingFill);
    painter.fillPath(path, colour);
}

} // namespace

WhatsNewTab::WhatsNewTab(double s, QWidget* parent)
    : QWidget(parent)
    , s_(s)
{
    QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
    const QString privacy = QStringLiteral(
        "Opt out anytime in Settings \u2192 Advanced \u2192 Privacy. Details in the privacy policy at %1/privacy.")
                                .arg(MakerWebHost::domain());
    const QString jun = QStringLiteral("Jun 2026");
    entries_ = {
        {QUuid::createUuid(), QStringLiteral("1.1 \u2014 Usage ping"), jun,
            {QStringLiteral(
                 "Added an anonymous usage ping so we can see how many people use Tolvane: a random install "
                 "ID, app version and macOS version \u2014 never your Riot ID, summoner name or any game data."),
                privacy}},
        {QUuid::createUuid(), QStringLiteral("Polish & brand"), jun,
            {QStringLiteral("Text size now scales the whole window \u2014 cards, icons, spacing and the window itself, "
                            "not just fonts."),
                QStringLiteral("Champ select: your rune page is captured when you pick and stays put while you click "
                               "through presets."),
                QStringLiteral("Accent colors aligned with the Tolvane brand (logo violet, hextech gold).")}},
        {QUuid::createUuid(), QStringLiteral("Live & main window"), jun,
            {QStringLiteral("New single window with Live, Home, What's New and Settings tabs \u2014 open it from the "
                            "menu-bar icon."),
                QStringLiteral("Live tab reads champ select from the League client and shows popular runes + a build "
                               "for your champion (read-only)."),
                QStringLiteral("Settings now lives inside this window instead of a separate panel.")}},
        {QUuid::createUuid(), QStringLiteral("Cooldowns"), jun,
            {QStringLiteral("Mark enemy summoner spells with a click and the panel counts them back up."),
                QStringLiteral("Cooldown timer format follows your in-game setting (toggle it in Settings).")}},
        {QUuid::createUuid(), QStringLiteral("Builds & gold"), QStringLiteral("May 2026"),
            {QStringLiteral("Popular build panel shows the next item, its remaining gold cost and build path."),
                QStringLiteral(
                    "Matchup build adapts to the enemy laner; gold panel tracks you vs. your lane opponent."),
                QStringLiteral("Resolution-aware scaling keeps every overlay crisp at any window size.")}},
    };
    tips_ = {
        QStringLiteral("Hold Tab in game to summon the overlays; they stay click-through so they never block your "
                       "inputs."),
        QStringLiteral("Press your shop key to pop the build panels while you shop (set the key in Settings \u2192 "
                       "Visibility)."),
        QStringLiteral("Hold Tab and drag a panel to reposition it; positions are saved per resolution."),
        QStringLiteral("Everything reads the League client read-only \u2014 Tolvane never sends inputs or changes "
                       "settings."),
    };
}

WhatsNewTab::Layout WhatsNewTab::layoutFor(double width) const
{
    const double s = s_;
    Layout l;
    double y = 0;
    const HUDHeader tipsHeader {QStringLiteral("Tips"), HUD::amber(), std::nullopt, s};
    l.tipsHeader = QRectF(0, y, width, tipsHeader.height());
    y = l.tipsHeader.bottom() + 8 * s;
    const double icon = 10 * s;
    const double textLeft = icon + 8 * s;
    for (size_t i = 0; i < tips_.size(); ++i) {
        const double textHeight = wrappedHeight(tips_[i], noteStyle(s), width - textLeft);
        l.tipIcons.push_back(QRectF(0, y + tipIconTop, icon, icon));
        l.tipTexts.push_back(QRectF(textLeft, y, std::max(0.0, width - textLeft), textHeight));
        y += std::max(icon + tipIconTop, textHeight) + (i + 1 < tips_.size() ? 8 * s : 0);
    }
    y += 20 * s;

    const HUDHeader notesHeader {QStringLiteral("What's new"), HUD::gold(), std::nullopt, s};
    l.notesHeader = QRectF(0, y, width, notesHeader.height());
    y = l.notesHeader.bottom() + 14 * s;
    const double titleHeight = HudTextStyle {winStrong(s), HUD::textPrimary()}.lineHeight();
    const double dot = 4 * s;
    const double noteLeft = entryInset + dot + 7 * s;
    for (size_t e = 0; e < entries_.size(); ++e) {
        l.entryTitles.push_back(QRectF(entryInset, y, width - entryInset, titleHeight));
        y += titleHeight + 6;
        std::vector<QRectF> dots;
        std::vector<QRectF> texts;
        const auto& notes = entries_[e].notes;
        for (size_t n = 0; n < notes.size(); ++n) {
            const double textHeight = wrappedHeight(notes[n], noteStyle(s), width - noteLeft);
            dots.push_back(QRectF(entryInset, y + 6 * s, dot, dot));
            texts.push_back(QRectF(noteLeft, y, std::max(0.0, width - noteLeft), textHeight));
            y += std::max(6 * s + dot, textHeight) + (n + 1 < notes.size() ? 6 : 0);
        }
        l.noteDots.push_back(std::move(dots));
        l.noteTexts.push_back(std::move(texts));
        y += e + 1 < entries_.size() ? 14 * s : 0;
    }
    l.height = y;
    return l;
}

int WhatsNewTab::heightForWidth(int width) const
{
    return int(std::ceil(layoutFor(width).height));
}

QSize WhatsNewTab::sizeHint() const
{
    const int width = int(std::ceil(300 * s_));
    return QSize(width, heightForWidth(width));
}

void WhatsNewTab::paintEvent(QPaintEvent*)
{
    const double s = s_;
    const Layout l = layoutFor(width());
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const auto text = [&](const QRectF& box, const QString& value, const HudTextStyle& style) {
        painter.setFont(style.qfont(painter.device()));
        painter.setPen(style.color);
        painter.drawText(box, wrapFlags, value);
    };

    HUDHeader {QStringLiteral("Tips"), HUD::amber(), std::nullopt, s}.paint(painter, l.tipsHeader);
    for (size_t i = 0; i < tips_.size(); ++i) {
        drawBulb(painter, l.tipIcons[i], HUD::amber());
        text(l.tipTexts[i], tips_[i], noteStyle(s));
    }
    HUDHeader {QStringLiteral("What's new"), HUD::gold(), std::nullopt, s}.paint(painter, l.notesHeader);
    for (size_t e = 0; e < entries_.size(); ++e) {
        const QRectF title = l.entryTitles[e];
        const HudTextStyle titleStyle {winStrong(s), HUD::textPrimary()};
        const HudTextStyle dateStyle {winSmall(s), HUD::textSecondary(), 1};
        drawHudText(painter, title.topLeft(), entries_[e].version, titleStyle);
        const double dateX = title.left() + titleStyle.width(entries_[e].version) + 8;
        drawHudText(painter, QPointF(dateX, title.center().y() - dateStyle.lineHeight() / 2),
            entries_[e].date.toUpper(), dateStyle);
        for (size_t n = 0; n < entries_[e].notes.size(); ++n) {
            painter.setPen(Qt::NoPen);
            painter.setBrush(withAlpha(HUD::gold(), 0.7));
            painter.drawEllipse(l.noteDots[e][n]);
            text(l.noteTexts[e][n], entries_[e].notes[n], noteStyle(s));
        }
    }
}

} // namespace tolvane
