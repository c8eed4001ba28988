#include "app/panels/HudText.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QTextBoundaryFinder>
#include <QTextLayout>

#include <algorithm>
#include <cmath>

namespace tolvane {

namespace {

std::function<void(const QString&)>& elisionObserver()
{
    static std::function<void(const QString&)> observer;
    return observer;
}

void reportElided(const QString& text)
{
    if (elisionObserver())
        elisionObserver()(text);
}

std::function<void(const QString&)>& wordBreakObserver()
{
    static std::function<void(const QString&)> observer;
    return observer;
}

HudTextStyle scaledStyle(const HudTextStyle& style, double factor)
{
    HudTextStyle scaled = style;
    scaled.font.base = style.font.base * factor;
    scaled.tracking = style.tracking * factor;
    return scaled;
}

} // namespace

void setHudElisionObserver(std::function<void(const QString& text)> observer)
{
    elisionObserver() = std::move(observer);
}

void setHudWordBreakObserver(std::function<void(const QString& text)> observer)
{
    wordBreakObserver() = std::move(observer);
}

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
    if (shown != text)
        reportElided(text);
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

namespace {

// Lines broken between words, and inside a word only when it is wider than the line.
void layOutWrapped(QTextLayout& layout, double width, Qt::Alignment alignment)
{
    QTextOption option(alignment & Qt::AlignHorizontal_Mask);
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    layout.beginLayout();
    double y = 0;
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        line.setPosition(QPointF(0, y));
        y += line.height();
    }
    layout.endLayout();
}

// Whether a line ends where the text may not be broken: inside a word too wide for its line.
bool breaksInsideAWord(const QTextLayout& layout)
{
    const QString& text = layout.text();
    QTextBoundaryFinder breaks(QTextBoundaryFinder::Line, text);
    for (int i = 0; i + 1 < layout.lineCount(); ++i) {
        const QTextLine line = layout.lineAt(i);
        const int end = line.textStart() + line.textLength();
        breaks.setPosition(end);
        if (end > 0 && end < text.size() && !breaks.isAtBoundary())
            return true;
    }
    return false;
}

} // namespace

double wrappedTextHeight(const QString& text, const HudTextStyle& style, double width)
{
    if (width <= 0)
        return style.lineHeight();
    QTextLayout layout(text, style.qfont());
    layOutWrapped(layout, width, Qt::AlignLeft);
    return std::max(style.lineHeight(), std::ceil(layout.boundingRect().height()));
}

bool wrapBreaksAWord(const QString& text, const HudTextStyle& style, double width)
{
    QTextLayout layout(text, style.qfont());
    layOutWrapped(layout, width, Qt::AlignLeft);
    return breaksInsideAWord(layout);
}

void drawWrappedText(
    QPainter& painter, const QRectF& box, const QString& text, const HudTextStyle& style, Qt::Alignment alignment)
{
    QTextLayout layout(text, style.qfont(painter.device()), painter.device());
    layOutWrapped(layout, box.width(), alignment);
    if (wordBreakObserver() && breaksInsideAWord(layout))
        wordBreakObserver()(text);
    painter.save();
    painter.setPen(style.color);
    layout.draw(&painter, box.topLeft());
    painter.restore();
}

FittedLines fitLines(const QString& text, const HudTextStyle& style, double width, int maxLines, double minimumScale)
{
    // Lines broken at word boundaries, a word too long for the width broken anywhere; fits when
    // no word had to be broken and there are few enough lines.
    const auto layOut = [&](double factor, bool& fits) {
        const HudTextStyle scaled = scaledStyle(style, factor);
        const QFontMetricsF metrics(scaled.qfont());
        QStringList lines;
        fits = true;
        QString rest = text.simplified();
        while (!rest.isEmpty()) {
            // The longest run of whole words that fits, else as many characters as fit.
            qsizetype end = rest.size();
            while (end > 0 && metrics.horizontalAdvance(rest.left(end)) > width) {
                const qsizetype space = rest.lastIndexOf(QLatin1Char(' '), end - 1);
                end = space > 0 ? space : 0;
            }
            if (end == 0) {
                fits = false;
                end = 1;
                while (end < rest.size() && metrics.horizontalAdvance(rest.left(end + 1)) <= width)
                    ++end;
            }
            lines << rest.left(end).trimmed();
            rest = rest.mid(end).trimmed();
        }
        if (lines.size() > maxLines)
            fits = false;
        return lines;
    };
    const double floor = std::clamp(minimumScale, 0.01, 1.0);
    FittedLines result;
    for (double factor = 1.0;; factor = std::max(floor, factor - 0.05)) {
        bool fits = false;
        QStringList lines = layOut(factor, fits);
        if (fits || factor <= floor) {
            const HudTextStyle scaled = scaledStyle(style, factor);
            if (!fits) {
                // Cut: the lines that fit, the last one ending in an ellipsis with what was left.
                QString last;
                for (qsizetype i = maxLines - 1; i < lines.size(); ++i)
                    last += (last.isEmpty() ? QString() : QStringLiteral(" ")) + lines[i];
                lines = lines.mid(0, maxLines - 1);
                lines << QFontMetricsF(scaled.qfont()).elidedText(last, Qt::ElideRight, width);
                reportElided(text);
            }
            result.fontSize = scaled.font.size();
            result.lines = lines;
            result.height = scaled.lineHeight() * double(lines.size());
            return result;
        }
    }
}

void drawFittedLines(
    QPainter& painter, const QRectF& box, const FittedLines& fitted, const HudTextStyle& style, Qt::Alignment alignment)
{
    const double factor = style.font.size() > 0 ? fitted.fontSize / style.font.size() : 1.0;
    const HudTextStyle scaled = scaledStyle(style, factor);
    const double line = scaled.lineHeight();
    double y = box.top();
    for (const QString& text : fitted.lines) {
        drawHudLine(painter, QRectF(box.left(), y, box.width(), line), text, scaled, alignment);
        y += line;
    }
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
