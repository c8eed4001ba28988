#include "app/panels/HudText.h"

#include <QFontMetricsF>
#include <QPainter>

#include <algorithm>

namespace tolvane {

QFont HudTextStyle::qfont(const QPaintDevice* device) const
{
    QFont qf = font.font(device, monospacedDigits);
    if (tracking != 0)
        qf.setLetterSpacing(QFont::AbsoluteSpacing, tracking);
    return qf;
}

double HudTextStyle::lineHeight() const
{
    return QFontMetricsF(qfont()).height();
}

double HudTextStyle::ascent() const
{
    return QFontMetricsF(qfont()).ascent();
}

double HudTextStyle::width(const QString& text) const
{
    return QFontMetricsF(qfont()).horizontalAdvance(text);
}

void drawHudText(QPainter& painter, QPointF topLeft, const QString& text, const HudTextStyle& style)
{
    const QFont font = style.qfont(painter.device());
    painter.setFont(font);
    painter.setPen(style.color);
    painter.drawText(QPointF(topLeft.x(), topLeft.y() + QFontMetricsF(font, painter.device()).ascent()), text);
}

double fittedFontSize(const QString& text, const HudTextStyle& style, double width, double minimumScale)
{
    const double natural = style.width(text);
    if (natural <= width || natural <= 0)
        return style.font.size();
    const double factor = std::clamp(width / natural, std::min(minimumScale, 1.0), 1.0);
    return style.font.size() * factor;
}

void drawHudLine(QPainter& painter, const QRectF& box, const QString& text, const HudTextStyle& style,
    Qt::Alignment alignment, double minimumScale)
{
    HudTextStyle fitted = style;
    const double size = fittedFontSize(text, style, box.width(), minimumScale);
    fitted.font.base = style.font.size() > 0 ? style.font.base * size / style.font.size() : style.font.base;
    fitted.tracking = style.tracking * (style.font.size() > 0 ? size / style.font.size() : 1);

    const QFont font = fitted.qfont(painter.device());
    const QFontMetricsF metrics(font, painter.device());
    const QString shown = metrics.elidedText(text, Qt::ElideRight, box.width());
    const double width = metrics.horizontalAdvance(shown);
    double x = box.left();
    if (alignment & Qt::AlignRight)
        x = box.right() - width;
    else if (alignment & Qt::AlignHCenter)
        x = box.center().x() - width / 2;
    painter.setFont(font);
    painter.setPen(style.color);
    // A shrunk line keeps the baseline of the full-size one, so neighbours stay aligned.
    painter.drawText(QPointF(x, box.top() + style.ascent()), shown);
}

std::optional<QString> hudLaneLabel(const std::optional<QString>& position)
{
    if (!position)
        return std::nullopt;
    const QString upper = position->toUpper();
    if (upper == QLatin1String("TOP"))
        return QStringLiteral("top");
    if (upper == QLatin1String("JUNGLE"))
        return QStringLiteral("jungle");
    if (upper == QLatin1String("MIDDLE"))
        return QStringLiteral("mid");
    if (upper == QLatin1String("BOTTOM"))
        return QStringLiteral("bot");
    if (upper == QLatin1String("UTILITY"))
        return QStringLiteral("support");
    return std::nullopt;
}

} // namespace tolvane
