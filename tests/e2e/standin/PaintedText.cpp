#include "PaintedText.h"

#include <QImage>
#include <QPaintEngine>
#include <QPixmap>
#include <QWidget>

namespace tolvane::test {

namespace {

class PaintRecorder final : public QPaintEngine {
public:
    PaintRecorder()
        : QPaintEngine(QPaintEngine::AllFeatures)
    {
    }
    bool begin(QPaintDevice*) override { return true; }
    bool end() override { return true; }
    void updateState(const QPaintEngineState&) override { }
    // Of images only the size is kept, and shapes are not read: the base class would turn each
    // into another form forever.
    void drawPixmap(const QRectF&, const QPixmap& pixmap, const QRectF&) override { images << pixmap.size(); }
    void drawImage(const QRectF&, const QImage& image, const QRectF&, Qt::ImageConversionFlags) override
    {
        images << image.size();
    }
    void drawRects(const QRectF*, int) override { }
    void drawLines(const QLineF*, int) override { }
    void drawEllipse(const QRectF&) override { }
    void drawPath(const QPainterPath&) override { }
    void drawPoints(const QPointF*, int) override { }
    void drawPolygon(const QPointF*, int, PolygonDrawMode) override { }
    void drawTextItem(const QPointF&, const QTextItem& item) override { texts << item.text(); }
    Type type() const override { return QPaintEngine::User; }

    QStringList texts;
    QList<QSize> images;
};

class RecordingDevice final : public QPaintDevice {
public:
    explicit RecordingDevice(QSize size)
        : size_(size)
    {
    }
    QPaintEngine* paintEngine() const override { return &engine; }

    mutable PaintRecorder engine;

protected:
    int metric(PaintDeviceMetric metric) const override
    {
        switch (metric) {
        case PdmWidth:
            return size_.width();
        case PdmHeight:
            return size_.height();
        case PdmWidthMM:
            return size_.width() * 254 / 960;
        case PdmHeightMM:
            return size_.height() * 254 / 960;
        case PdmDepth:
            return 32;
        case PdmNumColors:
            return INT_MAX;
        case PdmDevicePixelRatio:
            return 1;
        case PdmDevicePixelRatioScaled:
            return static_cast<int>(devicePixelRatioFScale());
        default:
            return 96; // the four resolutions
        }
    }

private:
    QSize size_;
};

} // namespace

QStringList paintedText(QWidget& widget)
{
    RecordingDevice device(widget.size());
    widget.render(&device);
    return device.engine.texts;
}

QList<QSize> paintedImages(QWidget& widget)
{
    RecordingDevice device(widget.size());
    widget.render(&device);
    return device.engine.images;
}

} // namespace tolvane::test
