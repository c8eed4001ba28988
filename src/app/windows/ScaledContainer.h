#pragma once
// Draws a panel's content at the shared overlay scale: it measures the content unscaled, draws it
// that many times larger from the top-left corner and claims exactly that many times the natural
// size, which the panel window then follows. While its window is hidden a change of the content
// is only noted: it is measured when the window shows or someone asks for its size.

#include "app/windows/OverlayContent.h"
#include "app/windows/OverlayScale.h"

#include <QPointer>
#include <QWidget>

#include <optional>

namespace tolvane {

class ScaledContainer : public QWidget {
    Q_OBJECT
public:
    // Takes ownership of the content; the scale is shared and must outlive the container.
    ScaledContainer(OverlayScale& scaleSource, OverlayContent* content, QWidget* parent = nullptr);

    OverlayContent* content() const { return content_; }
    // The content's natural size as last measured; 0 x 0 until then. Both this and the claimed
    // size measure a content that changed while hidden first.
    QSizeF intrinsic() const;
    // scale x natural size once the natural size is known, none before.
    std::optional<QSizeF> claimedSize() const;

    QSize sizeHint() const override;

    // Measures a content that changed while hidden; nothing when it has not.
    void catchUp();
    bool isStale() const { return stale_; }

signals:
    // The size the container claims, each time the content or the scale changes it; 0 x 0
    // while the content has no size.
    void sizeReported(QSizeF size);

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    void measure();
    void report();

    QPointer<OverlayScale> scaleSource_;
    OverlayContent* content_;
    QSizeF intrinsic_ {0, 0};
    bool stale_ = false;
};

} // namespace tolvane
