#pragma once
// What an overlay panel shows: content drawn with QPainter at its natural size, from its top-left
// corner. The panel window scales it, sizes itself after it and forwards clicks to it.

#include <QObject>
#include <QPainterPath>
#include <QPointF>
#include <QSizeF>

class QPainter;

namespace tolvane {

class OverlayContent : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    // The unscaled size the content wants; an empty size while there is nothing to measure.
    virtual QSizeF naturalSize() const = 0;
    virtual void paint(QPainter& painter) = 0;
    // The outline of what the content draws, in its own unscaled coordinates, without the soft
    // edges around it (a shadow): where no compositor blends see-through pixels with what lies
    // below, the window is cut to it. The whole natural size unless the content says otherwise.
    virtual QPainterPath panelShape() const
    {
        QPainterPath whole;
        whole.addRect(QRectF(QPointF(0, 0), naturalSize()));
        return whole;
    }
    // A click at a point of the content, in its own unscaled coordinates. True when handled.
    virtual bool mousePressed(QPointF) { return false; }

signals:
    // The look or the natural size changed.
    void changed();
};

} // namespace tolvane
