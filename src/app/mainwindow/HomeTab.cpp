#include "app/mainwindow/HomeTab.h"

#include "app/mainwindow/AppGlyph.h"
#include "app/mainwindow/BrandWordmark.h"
#include "app/mainwindow/SettingsControls.h"
#include "app/panels/HudStyle.h"
#include "app/panels/HudText.h"
#include "app/panels/HudViews.h"
#include "app/panels/RuneBuildViewModel.h"

#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <numeric>

namespace tolvane {

namespace {

HudTextStyle bodyStyle(double s, const QColor& colour)
{
    return HudTextStyle {winBody(s), colour};
}

HudTextStyle smallStyle(double s, const QColor& colour)
{
    return HudTextStyle {winSmall(s), colour};
}

HudTextStyle wordmarkTextStyle(double s)
{
    return HudTextStyle {WinFont {s, 17, QFont::Black, FontDesign::rounded}, HUD::silverHi(), 2.2};
}

} // namespace

const QString HomeTab::tagline = QStringLiteral(
    "Win champ select before the game starts. Runes, builds, gold and cooldowns, the moment you pick.");
const std::vector<QString> HomeTab::pills = {QStringLiteral("Read-only by design"),
    QStringLiteral("No injection \u00b7 no memory reading"), QStringLiteral("Free")};
const std::vector<QString> HomeTab::quickStart = {
    QStringLiteral("Tolvane lives in your menu bar (top-right). Click its icon any time to open this window."),
    QStringLiteral("In champ select, the Live tab shows popular runes + a build for your champion."),
    QStringLiteral("In game, hold Tab to bring up the build, gold and cooldown overlays on the Rift."),
    QStringLiteral("Tune which panels show, where they sit, and your shop key in Settings."),
};
const QString HomeTab::footer
    = QStringLiteral("Meta data from Metrion \u00b7 Game data from Riot's Data Dragon. Not endorsed by Riot Games.");

std::vector<HomeTab::StatusRow> HomeTab::statusRows(ChampSelectViewModel::Phase phase, bool inGame, bool overlayEnabled)
{
    using Phase = ChampSelectViewModel::Phase;
    std::vector<StatusRow> rows;
    const QString client = QStringLiteral("League client");
    if (phase == Phase::connecting && !inGame)
        rows.push_back({client, QStringLiteral("checking\u2026"), HUD::amber()});
    else if (!inGame && phase == Phase::clientOffline)
        rows.push_back({client, QStringLiteral("not running"), HUD::behind()});
    else
        rows.push_back({client, QStringLiteral("connected"), HUD::ahead()});

    const QString now = QStringLiteral("Right now");
    if (inGame)
        rows.push_back({now, QStringLiteral("in game"), HUD::ahead()});
    else if (phase == Phase::inSelect)
        rows.push_back({now, QStringLiteral("in champ select"), HUD::ahead()});
    else
        rows.push_back({now, QStringLiteral("in client / menus"), HUD::neutral()});

    const QString overlay = QStringLiteral("Overlay");
    rows.push_back(overlayEnabled ? StatusRow {overlay, QStringLiteral("enabled"), HUD::ahead()}
                                  : StatusRow {overlay, QStringLiteral("disabled"), HUD::behind()});
    return rows;
}

HomeTab::HomeTab(ChampSelectViewModel& champVM, RuneBuildViewModel& runeVM, bool isOverlayEnabled,
    std::function<void()> onOpenSettings, double s, QWidget* parent)
    : QWidget(parent)
    , champVM_(champVM)
    , runeVM_(runeVM)
    , isOverlayEnabled_(isOverlayEnabled)
    , s_(s)
    , button_(new ResetPillButton(QStringLiteral("Open Settings"), s, this))
{
    QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
    connect(button_, &QAbstractButton::clicked, this, [callback = std::move(onOpenSettings)] {
        if (callback)
            callback();
    });
    connect(&champVM_, &ChampSelectViewModel::changed, this, qOverload<>(&QWidget::update));
    connect(&runeVM_, &RuneBuildViewModel::changed, this, qOverload<>(&QWidget::update));
}

std::vector<HomeTab::StatusRow> HomeTab::statusRows() const
{
    return statusRows(champVM_.phase(), runeVM_.inGame(), isOverlayEnabled_);
}

bool HomeTab::showsWordmarkImage() const
{
    return BrandWordmark::image().has_value();
}

HomeTab::Layout HomeTab::layoutFor(double width) const
{
    const double s = s_;
    Layout l;
    double y = 0;
    // Header.
    const double logoEdge = 34 * s;
    QSizeF wordmark;
    if (const auto& image = BrandWordmark::image())
        wordmark = image->sizeForHeight(36 * s);
    else
        wordmark = wordmarkTextStyle(s).size(QStringLiteral("TOLVANE"));
    wordmark.setWidth(std::min(wordmark.width(), std::max(0.0, width - logoEdge - 12 * s)));
    const double headerHeight = std::max(logoEdge, wordmark.height());
    l.logo = QRectF(0, y + (headerHeight - logoEdge) / 2, logoEdge, logoEdge);
    l.wordmark
        = QRectF(logoEdge + 12 * s, y + (headerHeight - wordmark.height()) / 2, wordmark.width(), wordmark.height());
    y += headerHeight + 8 * s;
    const auto taglineStyle = bodyStyle(s, HUD::textSecondary());
    l.tagline = QRectF(0, y, width, wrappedTextHeight(tagline, taglineStyle, width));
    y = l.tagline.bottom() + 18 * s;

    // Trust pills: one line; their texts shrink together (to 70 % at most) before any is cut.
    const auto pillStyle = smallStyle(s, HUD::teal());
    const double fixed = 14 * s * double(pills.size()) + 8 * s * double(pills.size() - 1);
    const auto textWidths = [&](double factor) {
        auto style = pillStyle;
        style.font.base *= factor;
        std::vector<double> widths;
        for (const QString& pill : pills)
            widths.push_back(std::ceil(style.width(pill)));
        return widths;
    };
    const auto total
        = [&](const std::vector<double>& widths) { return fixed + std::accumulate(widths.begin(), widths.end(), 0.0); };
    l.pillScale = 1.0;
    std::vector<double> texts = textWidths(1.0);
    while (total(texts) > width && l.pillScale > 0.7) {
        l.pillScale = std::max(0.7, l.pillScale - 0.01);
        texts = textWidths(l.pillScale);
    }
    const double pillHeight = pillStyle.lineHeight() + 6 * s;
    double x = 0;
    for (double text : texts) {
        const double pillWidth = std::min(text + 14 * s, std::max(0.0, width - x));
        l.pills.push_back(QRectF(x, y, pillWidth, pillHeight));
        x += pillWidth + 8 * s;
    }
    y += pillHeight + 18 * s;

    // Status.
    const HUDHeader statusHeader {QStringLiteral("Status"), HUD::teal(), std::nullopt, s};
    l.statusHeader = QRectF(0, y, width, statusHeader.height());
    y = l.statusHeader.bottom() + 10;
    const double rowHeight = std::max(30 * s, HudTextStyle {winStrong(s), HUD::ahead()}.lineHeight());
    for (int i = 0; i < 3; ++i) {
        l.statusRows.push_back(QRectF(0, y, width, rowHeight));
        y += rowHeight + (i < 2 ? 10 : 0);
    }
    y += 18 * s;

    // Quick start.
    const HUDHeader quickHeader {QStringLiteral("Quick start"), HUD::gold(), std::nullopt, s};
    l.quickStartHeader = QRectF(0, y, width, quickHeader.height());
    y = l.quickStartHeader.bottom() + 8;
    const double badge = 18 * s;
    const double textLeft = badge + 10 * s;
    const auto stepStyle = bodyStyle(s, HUD::textSecondary());
    for (size_t i = 0; i < quickStart.size(); ++i) {
        const double textHeight = wrappedTextHeight(quickStart[i], stepStyle, width - textLeft);
        l.badges.push_back(QRectF(0, y, badge, badge));
        l.steps.push_back(QRectF(textLeft, y, std::max(0.0, width - textLeft), textHeight));
        y += std::max(badge, textHeight) + (i + 1 < quickStart.size() ? 8 : 0);
    }
    y += 18 * s;

    // The button, then the footer.
    const QSize button = button_->sizeHint();
    l.button = QRectF(0, y, button.width(), button.height());
    y = l.button.bottom() + 18 * s + 6 * s;
    const auto footerStyle = smallStyle(s, withAlpha(HUD::textSecondary(), 0.8));
    l.footer = QRectF(0, y, width, wrappedTextHeight(footer, footerStyle, width));
    l.height = l.footer.bottom();
    return l;
}

int HomeTab::heightForWidth(int width) const
{
    return int(std::ceil(layoutFor(width).height));
}

QSize HomeTab::sizeHint() const
{
    const int width = int(std::ceil(300 * s_));
    return QSize(width, heightForWidth(width));
}

QSize HomeTab::minimumSizeHint() const
{
    return QSize(int(std::ceil(button_->sizeHint().width())), 0);
}

void HomeTab::resizeEvent(QResizeEvent*)
{
    button_->setGeometry(layoutFor(width()).button.toAlignedRect());
}

void HomeTab::paintEvent(QPaintEvent*)
{
    const double s = s_;
    const Layout l = layoutFor(width());
    button_->setGeometry(l.button.toAlignedRect());
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);

    // Logo with its violet glow: the tinted glyph, blurred by a few offset copies underneath.
    const auto& glyph = AppGlyph::shared();
    painter.save();
    painter.setOpacity(0.55 / 8);
    for (int i = 0; i < 8; ++i) {
        const double angle = i * M_PI / 4;
        const double r = 3 * s;
        glyph.paint(painter, l.logo.translated(std::cos(angle) * r, std::sin(angle) * r), HUD::violet());
    }
    painter.restore();
    glyph.paint(painter, l.logo, HUD::violet());

    if (const auto& image = BrandWordmark::image()) {
        image->paint(painter, l.wordmark);
    } else {
        auto style = wordmarkTextStyle(s);
        QLinearGradient silver(0, l.wordmark.top(), 0, l.wordmark.bottom());
        silver.setColorAt(0, HUD::silverHi());
        silver.setColorAt(0.6, HUD::silverMid());
        silver.setColorAt(1, HUD::silverLo());
        QImage text(l.wordmark.size().toSize().expandedTo(QSize(1, 1)), QImage::Format_ARGB32_Premultiplied);
        text.fill(Qt::transparent);
        {
            QPainter textPainter(&text);
            textPainter.setRenderHint(QPainter::TextAntialiasing);
            drawHudLine(textPainter, QRectF(QPointF(0, 0), l.wordmark.size()), QStringLiteral("TOLVANE"), style,
                Qt::AlignLeft, 0.7);
            textPainter.setCompositionMode(QPainter::CompositionMode_SourceIn);
            silver.setStart(0, 0);
            silver.setFinalStop(0, l.wordmark.height());
            textPainter.fillRect(text.rect(), silver);
        }
        painter.drawImage(l.wordmark.topLeft(), text);
    }
    drawWrappedText(painter, l.tagline, tagline, bodyStyle(s, HUD::textSecondary()));

    for (size_t i = 0; i < pills.size(); ++i) {
        const QRectF pill = l.pills[i];
        const double radius = pill.height() / 2;
        painter.setPen(Qt::NoPen);
        painter.setBrush(withAlpha(HUD::teal(), 0.12));
        painter.drawRoundedRect(pill, radius, radius);
        painter.setPen(QPen(withAlpha(HUD::teal(), 0.3), 0.5));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(pill.adjusted(0.25, 0.25, -0.25, -0.25), radius, radius);
        auto style = smallStyle(s, HUD::teal());
        style.font.base *= l.pillScale;
        drawHudLine(painter, pill.adjusted(7 * s, 3 * s, -7 * s, 0), pills[i], style, Qt::AlignLeft, 1.0);
    }

    HUDHeader {QStringLiteral("Status"), HUD::teal(), std::nullopt, s}.paint(painter, l.statusHeader);
    const auto rows = statusRows();
    for (size_t i = 0; i < rows.size(); ++i) {
        const QRectF row = l.statusRows[i];
        const double dot = 8 * s;
        painter.setPen(Qt::NoPen);
        painter.setBrush(rows[i].colour);
        painter.drawEllipse(QRectF(0, row.center().y() - dot / 2, dot, dot));
        const auto labelStyle = bodyStyle(s, HUD::textPrimary());
        drawHudText(
            painter, QPointF(dot + 10 * s, row.center().y() - labelStyle.lineHeight() / 2), rows[i].label, labelStyle);
        const HudTextStyle valueStyle {winStrong(s), rows[i].colour};
        drawHudLine(painter,
            QRectF(row.left(), row.center().y() - valueStyle.lineHeight() / 2, row.width(), valueStyle.lineHeight()),
            rows[i].value, valueStyle, Qt::AlignRight);
    }

    HUDHeader {QStringLiteral("Quick start"), HUD::gold(), std::nullopt, s}.paint(painter, l.quickStartHeader);
    for (size_t i = 0; i < quickStart.size(); ++i) {
        const QRectF badge = l.badges[i];
        painter.setPen(Qt::NoPen);
        painter.setBrush(withAlpha(HUD::gold(), 0.14));
        painter.drawEllipse(badge);
        painter.setPen(QPen(withAlpha(HUD::gold(), 0.35), 0.5));
        painter.setBrush(Qt::NoBrush);
        painter.drawEllipse(badge.adjusted(0.25, 0.25, -0.25, -0.25));
        const HudTextStyle number {winStrong(s), HUD::gold(), 0, true};
        const QString text = QString::asprintf("%lld", static_cast<long long>(i + 1));
        drawHudLine(painter,
            QRectF(badge.left(), badge.center().y() - number.lineHeight() / 2, badge.width(), number.lineHeight()),
            text, number, Qt::AlignHCenter);
        drawWrappedText(painter, l.steps[i], quickStart[i], bodyStyle(s, HUD::textSecondary()));
    }
    drawWrappedText(painter, l.footer, footer, smallStyle(s, withAlpha(HUD::textSecondary(), 0.8)));
}

} // namespace tolvane
