#include "app/mainwindow/SettingsTabParts.h"

#include "app/panels/HudStyle.h"
#include "app/panels/HudText.h"
#include "app/panels/HudViews.h"

#include <QGraphicsOpacityEffect>
#include <QPainter>
#include <QVBoxLayout>

#include <cmath>

namespace tolvane {

QLabel* makeCaption(const QString& text, double s, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setWordWrap(true);
    label->setFont(winSmall(s).font(label));
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, HUD::textSecondary());
    label->setPalette(palette);
    label->setTextFormat(Qt::PlainText);
    // As many lines as the width needs, no more: its height follows its width.
    QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    policy.setHeightForWidth(true);
    label->setSizePolicy(policy);
    return label;
}

SettingsHeader::SettingsHeader(QString title, QColor accent, double s, QWidget* parent)
    : QWidget(parent)
    , title_(std::move(title))
    , accent_(std::move(accent))
    , s_(s)
{
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

QSize SettingsHeader::sizeHint() const
{
    const HUDHeader header {title_, accent_, std::nullopt, s_};
    return QSize(int(std::ceil(header.titleStyle().width(title_.toUpper()))), int(std::ceil(header.height())));
}

void SettingsHeader::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    HUDHeader {title_, accent_, std::nullopt, s_}.paint(painter, QRectF(rect()));
}

StrokeDivider::StrokeDivider(QWidget* parent)
    : QWidget(parent)
{
    setFixedHeight(1);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

void StrokeDivider::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), HUD::stroke());
}

QSize SettingsPage::sizeHint() const
{
    // A leading-aligned item is given no more than its preferred width.
    return QSize(settingsPageMaximumWidth, QWidget::sizeHint().height());
}

QVBoxLayout* makePageColumn(QWidget* page, int spacing)
{
    auto* column = new QVBoxLayout(page);
    column->setContentsMargins(settingsPagePadding, settingsPagePadding, settingsPagePadding, settingsPagePadding);
    column->setSpacing(spacing);
    // Leading only: a vertical alignment would hold the page to the height its rows want at
    // their widest, not at the width they get, and cut wrapped text.
    column->setAlignment(Qt::AlignLeft);
    page->setMaximumWidth(settingsPageMaximumWidth);
    return column;
}

QWidget* makeBlock(int spacing, QWidget* parent, QVBoxLayout** layout, int leadingIndent)
{
    auto* block = new QWidget(parent);
    auto* column = new QVBoxLayout(block);
    column->setContentsMargins(leadingIndent, 0, 0, 0);
    column->setSpacing(spacing);
    *layout = column;
    return block;
}

void setBlockEnabled(QWidget* block, bool enabled)
{
    auto* effect = qobject_cast<QGraphicsOpacityEffect*>(block->graphicsEffect());
    if (!effect) {
        effect = new QGraphicsOpacityEffect(block);
        block->setGraphicsEffect(effect);
    }
    effect->setOpacity(enabled ? 1.0 : dimmedBlockOpacity);
    block->setEnabled(enabled);
}

double blockOpacity(const QWidget* block)
{
    const auto* effect = qobject_cast<const QGraphicsOpacityEffect*>(block->graphicsEffect());
    return effect ? effect->opacity() : 1.0;
}

} // namespace tolvane
