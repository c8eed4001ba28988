#pragma once
// Draws a panel's content at the shared overlay scale: it measures the content unscaled, draws it
// that many times larger from the top-left corner and claims exactly that many times the natural
// size, which the panel window then follows.

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
    // The content's natural size as last measured; 0 x 0 until then.
    QSizeF intrinsic() const { return intrinsic_; }
    // scale x natural size once the natural size is known, none before.
    std::optional<QSizeF> claimedSize() const;

    QSize sizeHint() const override;

signals:
    // The size the container claims, each time the content or the scale changes it.
    void sizeReported(QSizeF size);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    void measure();
    void report();

    QPointer<OverlayScale> scaleSource_;
    OverlayContent* content_;
    QSizeF intrinsic_ {0, 0};
};

} // namespace tolvane
