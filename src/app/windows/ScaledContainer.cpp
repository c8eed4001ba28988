#include "app/windows/ScaledContainer.h"

#include <QMouseEvent>
#include <QPainter>

#include <cmath>

namespace tolvane {

ScaledContainer::ScaledContainer(OverlayScale& scaleSource, OverlayContent* content, QWidget* parent)
    : QWidget(parent)
    , scaleSource_(&scaleSource)
    , content_(content)
{
    setAttribute(Qt::WA_TranslucentBackground);
    setFocusPolicy(Qt::NoFocus);
    content_->setParent(this);
    connect(content_, &OverlayContent::changed, this, [this] {
        // Measuring lays out the whole content: not worth it for a window nobody sees.
        if (!isVisible()) {
            stale_ = true;
            return;
        }
        measure();
        update();
    });
    connect(&scaleSource, &OverlayScale::changed, this, [this] {
        report();
        update();
    });
    measure();
}

QSizeF ScaledContainer::intrinsic() const
{
    // Measured when asked for: what a hidden content looks like is nobody's business until then.
    const_cast<ScaledContainer*>(this)->catchUp();
    return intrinsic_;
}

std::optional<QSizeF> ScaledContainer::claimedSize() const
{
    const_cast<ScaledContainer*>(this)->catchUp();
    if (!(intrinsic_.width() > 0 && intrinsic_.height() > 0) || scaleSource_ == nullptr)
        return std::nullopt;
    const double s = scaleSource_->scale();
    return QSizeF(s * intrinsic_.width(), s * intrinsic_.height());
}

QSize ScaledContainer::sizeHint() const
{
    if (const auto claimed = claimedSize())
        return {qRound(claimed->width()), qRound(claimed->height())};
    return QWidget::sizeHint();
}

void ScaledContainer::catchUp()
{
    if (stale_)
        measure();
}

void ScaledContainer::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    catchUp();
}

void ScaledContainer::measure()
{
    stale_ = false;
    const QSizeF natural = content_->naturalSize();
    if (natural != intrinsic_) {
        intrinsic_ = natural;
        updateGeometry();
    }
    report();
}

void ScaledContainer::report()
{
    // An empty content is reported too (as 0 x 0), so that its window can leave the screen.
    emit sizeReported(claimedSize().value_or(QSizeF(0, 0)));
}

void ScaledContainer::paintEvent(QPaintEvent*)
{
    if (scaleSource_ == nullptr)
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.scale(scaleSource_->scale(), scaleSource_->scale());
    content_->paint(painter);
}

void ScaledContainer::mousePressEvent(QMouseEvent* event)
{
    const double s = scaleSource_ != nullptr ? scaleSource_->scale() : 1.0;
    if (s > 0 && std::isfinite(s) && content_->mousePressed(event->position() / s))
        event->accept();
    else
        event->ignore();
}

} // namespace tolvane
