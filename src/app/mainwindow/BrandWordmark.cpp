#include "app/mainwindow/BrandWordmark.h"

#include "app/mainwindow/AppResourceBundle.h"
#include "core/support/Log.h"
#include "core/support/ResourceBundle.h"

#include <QFile>
#include <QPainter>
#include <QRectF>
#include <QSvgRenderer>

#include <cmath>

namespace tolvane {

namespace {
TOLVANE_LOG_CATEGORY(lcMainWindow, "mainwindow")
} // namespace

std::optional<BrandWordmark::Image> BrandWordmark::Image::fromSvg(const QByteArray& svg)
{
    QSvgRenderer renderer(svg);
    if (!renderer.isValid())
        return std::nullopt;
    const QSizeF size = renderer.viewBoxF().size();
    if (!(size.width() > 0) || !(size.height() > 0))
        return std::nullopt;
    Image image;
    image.svg_ = svg;
    image.naturalSize_ = size;
    return image;
}

QSizeF BrandWordmark::Image::sizeForHeight(double height) const
{
    return QSizeF(height * naturalSize_.width() / naturalSize_.height(), height);
}

void BrandWordmark::Image::paint(QPainter& painter, const QRectF& target) const
{
    // Parsed per paint: the document is tiny and painted rarely, and no renderer object outlives
    // the painting.
    QSvgRenderer renderer(svg_);
    renderer.render(&painter, target);
}

QImage BrandWordmark::Image::render(double height, double devicePixelRatio) const
{
    const QSizeF size = sizeForHeight(height);
    const int pixelWidth = std::max(1, int(std::ceil(size.width() * devicePixelRatio)));
    const int pixelHeight = std::max(1, int(std::ceil(size.height() * devicePixelRatio)));
    QImage image(pixelWidth, pixelHeight, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(devicePixelRatio);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    paint(painter, QRectF(QPointF(0, 0), size));
    return image;
}

std::optional<BrandWordmark::Image> BrandWordmark::load(const ResourceBundle& bundle)
{
    const auto path = bundle.url(QStringLiteral("wordmark"), QStringLiteral("svg"));
    if (!path)
        return std::nullopt;
    QFile file(*path);
    if (!file.open(QIODevice::ReadOnly)) {
        log::warning(lcMainWindow(), QStringLiteral("wordmark unreadable: %1").arg(file.errorString()));
        return std::nullopt;
    }
    auto image = Image::fromSvg(file.readAll());
    if (!image)
        log::warning(lcMainWindow(), QStringLiteral("wordmark is not a drawable SVG; showing the name as text"));
    return image;
}

const std::optional<BrandWordmark::Image>& BrandWordmark::image()
{
    static const std::optional<Image> image = load(tolvaneAppBundle());
    return image;
}

} // namespace tolvane
