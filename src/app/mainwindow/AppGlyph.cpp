#include "app/mainwindow/AppGlyph.h"

#include <QPainter>

#include <cmath>

namespace tolvane {

namespace {

// A hexagon around a "T", black on transparent; only the alpha channel counts.
const char glyph18[] = "iVBORw0KGgoAAAANSUhEUgAAABIAAAASCAYAAABWzo5XAAAAv0lEQVR42mNgQAUyQLyKSCzDgAcsBuL/"
                       "ROLFuAyxhCq4AsRaBPAVqFpLbAadhUq6MxAG7lC1Z9ElkqESG5HCCpdrYGGzEaonGWYIHxA/BuIfQKwMFVuFJ2xWQdUoQ/"
                       "U8hprB0A5V0IfkwkKk2PkIxTB+IZK6PqhekBlgU1/"
                       "BTMUCrkAxNsAH1QsyA9WfJBqEHL7UM4hqXsMW2MQahBLY2KKfGIMwoh9bgkRPxdhS+"
                       "0Zc4UuVLELVTEu1YoSigg0A3pB1zVhfHYYAAAAASUVORK5CYII=";
const char glyph36[] = "iVBORw0KGgoAAAANSUhEUgAAACQAAAAkCAYAAADhAJiYAAABaklEQVR42s1YKxLCMBCNq+MEdbhKHI4T4HA4XE+"
                       "AxOHqcDgcrifA4XCVdT0BDgdhJmXCI202zXbYnXkznWaTfU33lyjVL4nGihmJipBc48mMfCiZicZ9BEJ3s3awHEYg0+"
                       "IQSiZzfFWs7+BuZyGELlz/"
                       "vccfL9SJS5hYxUaGFbEVrL2kTKph0kLxyQLWrn0fu4UJpeKXEmxsuxRTcLyHxhTSwFCHtsN8ata2AyZ1EToC870n8kKAEbW"
                       "H8SOSmYFC40henIQmxoatM7MVrjC4IeSmGELK2LB1ru3AGgZuPaXE5R8N7KzPh2y5ge03l5+"
                       "tmwdGTQU5K0TmDlf5enEaEMYxhJSxaXP4CvP0D4RSSAOfh93ARBdLSBnb8gmJ+"
                       "2VinFpc2FMT4xiEnImRWjq4CXWWDmpx5STkLa6U9oOTkLf9oDRoXVJonA0Kgj65QRPXwops8sUdg0QeFEUepcVdNoi8jhF3"
                       "YfWXK70XfVnbIiQBDqoAAAAASUVORK5CYII=";

QImage decodePng(const QByteArray& base64, int edge)
{
    const auto decoded = QByteArray::fromBase64Encoding(base64, QByteArray::AbortOnBase64DecodingErrors);
    if (!decoded)
        return {};
    QImage image;
    if (!image.loadFromData(*decoded, "PNG") || image.size() != QSize(edge, edge))
        return {};
    return image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

} // namespace

const AppGlyph& AppGlyph::shared()
{
    static const AppGlyph glyph = fromBase64(QByteArray(glyph18), QByteArray(glyph36));
    return glyph;
}

AppGlyph AppGlyph::fromBase64(const QByteArray& png18, const QByteArray& png36)
{
    AppGlyph glyph;
    QImage single = decodePng(png18, pointSize);
    QImage twice = decodePng(png36, pointSize * 2);
    if (single.isNull() || twice.isNull())
        return glyph;
    glyph.representations_ = {std::move(single), std::move(twice)};
    return glyph;
}

const QImage& AppGlyph::representationFor(double pixelEdge) const
{
    for (const QImage& image : representations_)
        if (image.width() >= pixelEdge)
            return image;
    return representations_.back();
}

void AppGlyph::paint(QPainter& painter, const QRectF& box, const QColor& colour) const
{
    const double edge = std::min(box.width(), box.height());
    if (isEmpty() || edge <= 0)
        return;
    const double ratio = painter.device() ? painter.device()->devicePixelRatioF() : 1.0;
    const QImage tinted = render(edge, colour, ratio);
    const QRectF target(box.center().x() - edge / 2, box.center().y() - edge / 2, edge, edge);
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(target, tinted);
    painter.restore();
}

QImage AppGlyph::render(double edge, const QColor& colour, double devicePixelRatio) const
{
    const int pixels = std::max(1, int(std::ceil(edge * devicePixelRatio)));
    QImage image(pixels, pixels, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(devicePixelRatio);
    image.fill(Qt::transparent);
    if (isEmpty())
        return image;
    QPainter painter(&image);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const QRectF target(0, 0, pixels / devicePixelRatio, pixels / devicePixelRatio);
    painter.drawImage(target, representationFor(pixels));
    // Template rendering: the artwork's coverage in the one colour.
    painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
    painter.fillRect(target, colour);
    return image;
}

QIcon AppGlyph::icon(const QColor& colour) const
{
    QIcon icon;
    if (isEmpty())
        return icon;
    icon.addPixmap(QPixmap::fromImage(render(pointSize, colour, 1.0)));
    icon.addPixmap(QPixmap::fromImage(render(pointSize, colour, 2.0)));
    return icon;
}

QIcon AppGlyph::trayIcon() const
{
    QIcon icon;
    if (isEmpty())
        return icon;
    const QColor light(0xf4, 0xf1, 0xff);
    const QColor ring(0x1a, 0x16, 0x2b);
    for (const double ratio : {1.0, 2.0}) {
        const int pixels = int(pointSize * ratio);
        const int width = int(ratio); // one point
        // In pixels, shrunk so the ring stays inside the icon's square.
        const int inner = pixels - 2 * width;
        const QImage body = render(inner, light);
        const QImage shadow = render(inner, ring);
        QImage image(pixels, pixels, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        for (int dx = -width; dx <= width; ++dx)
            for (int dy = -width; dy <= width; ++dy)
                painter.drawImage(QPoint(width + dx, width + dy), shadow);
        painter.drawImage(QPoint(width, width), body);
        painter.end();
        image.setDevicePixelRatio(ratio);
        icon.addPixmap(QPixmap::fromImage(image));
    }
    return icon;
}

} // namespace tolvane
