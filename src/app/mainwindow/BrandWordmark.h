#pragma once
// The product's wordmark artwork from the app's resource folder, for the Home tab's header. A
// missing or broken file is no fault: the header then sets the name as text.

#include <QByteArray>
#include <QImage>
#include <QSizeF>
#include <QString>

#include <optional>

class QPainter;
class QRectF;

namespace tolvane {

class ResourceBundle;

class BrandWordmark {
public:
    // A vector drawing that paints sharply at any size.
    class Image {
    public:
        // None when the bytes are not an SVG document that draws something.
        static std::optional<Image> fromSvg(const QByteArray& svg);

        // The drawing's own size, in points; its proportions are kept at every size.
        QSizeF naturalSize() const { return naturalSize_; }
        QSizeF sizeForHeight(double height) const;
        // Fills the rectangle, which should have the drawing's proportions.
        void paint(QPainter& painter, const QRectF& target) const;
        // The drawing at the height in points, transparent around it, for the device's pixel ratio.
        QImage render(double height, double devicePixelRatio = 1.0) const;

    private:
        QByteArray svg_;
        QSizeF naturalSize_;
    };

    // Loaded from the app bundle on first use and kept for the life of the process.
    static const std::optional<Image>& image();
    // The "wordmark.svg" of a bundle, if it is there and draws.
    static std::optional<Image> load(const ResourceBundle& bundle);
};

} // namespace tolvane
