#pragma once
// The app's own single-colour glyph, an alpha mask kept at 18 x 18 and 36 x 36 pixels (one
// drawing at single and double resolution) and tinted by whoever shows it: the tray icon, the
// navigation bar and the Home tab's header.

#include <QByteArray>
#include <QColor>
#include <QIcon>
#include <QImage>
#include <QRectF>

#include <vector>

class QPainter;

namespace tolvane {

class AppGlyph {
public:
    // Both sizes of the built-in artwork.
    static const AppGlyph& shared();
    // From two Base64 PNG texts: both images, or neither when either does not decode to the size
    // it should have, so the glyph never shows half its resolutions.
    static AppGlyph fromBase64(const QByteArray& png18, const QByteArray& png36);

    // The glyph's size in points, whichever resolution draws it.
    static constexpr int pointSize = 18;

    bool isEmpty() const { return representations_.empty(); }
    const std::vector<QImage>& representations() const { return representations_; }

    // Scaled to fit the box, centred, smoothly, in the colour; draws nothing when empty.
    void paint(QPainter& painter, const QRectF& box, const QColor& colour) const;
    // The glyph in one colour at the given size in points, for the device's pixel ratio; a
    // transparent image when empty.
    QImage render(double edge, const QColor& colour, double devicePixelRatio = 1.0) const;
    // Both resolutions in one colour; an empty icon when the glyph is empty.
    QIcon icon(const QColor& colour) const;
    // Both resolutions for the tray, whose panel may be light or dark and is not known: the glyph
    // in a light colour inside a dark ring, so it reads on either. An empty icon when empty.
    QIcon trayIcon() const;

private:
    // The representation that needs the least enlargement for the pixel edge.
    const QImage& representationFor(double pixelEdge) const;

    std::vector<QImage> representations_;
};

} // namespace tolvane
