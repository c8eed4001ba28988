#include "app/windows/PanelWindow.h"

#include "core/overlay/KeyCodes.h"
#include "core/overlay/OverlayGeometry.h"
#include "platform/KeyState.h"
#include "platform/OverlayWindowNative.h"
#include "platform/ScreenSpace.h"

#include <QMouseEvent>
#include <QPainterPath>
#include <QRegion>
#include <QTransform>
#include <QWindow>

#include <cmath>

namespace tolvane {

namespace {

double primaryHeight()
{
    // Without a screen there is nothing to flip against; any constant keeps both ways consistent.
    return ScreenSpace::primaryScreenHeight().value_or(0.0);
}

} // namespace

PanelWindow::PanelWindow(OverlayContent* content, OverlayScale& scale, PanelPlatform platform, bool ignoresMouseEvents)
    : platform_(platform)
{
    setWindowFlags(platform_.native.panelFlags());
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_X11DoNotAcceptFocus);
    setAttribute(Qt::WA_TranslucentBackground);
    setFocusPolicy(Qt::NoFocus);
    applyFrame();

    container_ = new ScaledContainer(scale, content, this);
    container_->setGeometry(rect());
    connect(container_, &ScaledContainer::sizeReported, this, &PanelWindow::followContentSize);

    // The native window exists from here on, so its flags can change without re-creating it.
    winId();
    windowHandle()->installEventFilter(this);
    setIgnoresMouseEvents(ignoresMouseEvents);
    connect(&platform_.native, &OverlayWindowNative::compositingChanged, this, &PanelWindow::updateShape);
    if (const auto claimed = container_->claimedSize())
        followContentSize(*claimed);
    updateShape();
}

PanelWindow::~PanelWindow()
{
    if (QWindow* window = windowHandle())
        window->removeEventFilter(this);
}

void PanelWindow::applyFrame()
{
    const QRectF qt = ScreenSpace::flipped(frame_, primaryHeight());
    const QRect geometry(
        qRound(qt.x()), qRound(qt.y()), std::max(1, qRound(qt.width())), std::max(1, qRound(qt.height())));
    setGeometry(geometry);
    // A hidden window gets its resize event only when shown; the content must fit at once.
    if (container_ != nullptr)
        container_->setGeometry(QRect(QPoint(0, 0), geometry.size()));
}

QRectF PanelWindow::frame() const
{
    // The container reports the size it measures, which resizes this window.
    if (container_ != nullptr)
        container_->catchUp();
    return frame_;
}

void PanelWindow::setFrameOrigin(QPointF origin)
{
    if (origin == frame_.topLeft())
        return;
    frame_.moveTopLeft(origin);
    applyFrame();
    emit moved();
}

void PanelWindow::setContentSize(QSizeF size)
{
    frame_.setSize(size);
    applyFrame();
}

void PanelWindow::followContentSize(QSizeF size)
{
    if (!isDrawable(size)) {
        // The window keeps its size for when the content comes back, but shows nothing meanwhile:
        // an empty window would still take clicks while Tab is held, and without a compositor
        // it would be a black box.
        if (isVisible())
            hide();
        return;
    }
    if (std::abs(size.width() - frame_.width()) > 0.5 || std::abs(size.height() - frame_.height()) > 0.5) {
        // Also reached from inside a placement (frame() catching up): leave its flag as it was.
        const bool placing = isProgrammaticallyMoving;
        isProgrammaticallyMoving = true;
        setContentSize(size);
        lastProgrammaticOrigin = frame_.topLeft();
        isProgrammaticallyMoving = placing;
    }
    // The content may have changed its outline without changing its size.
    updateShape();
}

bool PanelWindow::isDrawable(QSizeF size)
{
    const double w = size.width();
    const double h = size.height();
    return w > 1 && h > 1 && std::isfinite(w) && std::isfinite(h);
}

bool PanelWindow::hasContent() const
{
    const auto claimed = container_->claimedSize();
    return claimed && isDrawable(*claimed);
}

void PanelWindow::updateShape()
{
    if (platform_.native.isCompositing() || !hasContent()) {
        if (!mask().isEmpty())
            clearMask();
        return;
    }
    // The window is cut to the panel's outline at the scale it is drawn at; the soft shadow
    // around it cannot be had without a compositor.
    const double s = container_->claimedSize()->width() / container_->intrinsic().width();
    const QPainterPath outline = QTransform::fromScale(s, s).map(container_->content()->panelShape());
    const QRegion shape(outline.toFillPolygon().toPolygon(), Qt::WindingFill);
    if (shape.isEmpty() || shape == mask())
        return;
    setMask(shape);
}

void PanelWindow::align(QRectF game, OverlayWindowPosition position)
{
    // One move, straight to the kept origin: a panel re-placed on every tick must not go to the
    // anchor and back each time.
    const QSizeF size = frame().size();
    setFrameOrigin(OverlayGeometry::clamp(defaultAnchorOrigin(position, game, size), size, game));
}

void PanelWindow::setIgnoresMouseEvents(bool ignores)
{
    platform_.native.setClickThrough(*windowHandle(), ignores);
}

bool PanelWindow::ignoresMouseEvents() const
{
    return platform_.native.isClickThrough(*windowHandle());
}

void PanelWindow::orderFront()
{
    // A content with nothing to show keeps its window off the screen; the next order brings it
    // when there is something again.
    if (!hasContent()) {
        if (isVisible())
            hide();
        return;
    }
    show();
    platform_.native.raise(*windowHandle());
}

void PanelWindow::orderOut()
{
    hide();
}

bool PanelWindow::eventFilter(QObject* watched, QEvent* event)
{
    // Mouse events reach the native window before any widget in it: the place to see a Tab press
    // on the panel's content.
    if (watched == windowHandle()) {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove:
        case QEvent::MouseButtonRelease: {
            const auto& mouse = static_cast<const QMouseEvent&>(*event);
            if (handleSendEventForDrag(mouse) || handleDragMonitorEvent(mouse))
                return true;
            break;
        }
        default:
            break;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void PanelWindow::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    container_->setGeometry(rect());
    updateShape();
}

bool PanelWindow::isTabDown() const
{
    return platform_.keys.isKeyDown(VirtualKey::tab);
}

QPointF PanelWindow::screenLocation(const QMouseEvent& event) const
{
    return ScreenSpace::flipped(event.globalPosition(), primaryHeight());
}

void PanelWindow::moveByDrag(QPointF origin)
{
    setFrameOrigin(origin);
    update();
}

} // namespace tolvane
