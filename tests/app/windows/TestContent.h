#pragma once
// Panel content for the tests: a labelled card of a set natural size that counts the clicks it
// receives.

#include "app/windows/OverlayContent.h"

#include <QPainter>
#include <QPainterPath>

#include <vector>

namespace tolvane::test {

class TestContent : public OverlayContent {
public:
    explicit TestContent(
        QSizeF natural = {200, 100}, QString label = QStringLiteral("Panel"), QColor accent = QColor(167, 139, 250))
        : natural_(natural)
        , label_(std::move(label))
        , accent_(accent)
    {
    }

    QSizeF naturalSize() const override { return natural_; }
    void setNaturalSize(QSizeF size)
    {
        natural_ = size;
        emit changed();
    }

    void paint(QPainter& painter) override
    {
        const QRectF box = QRectF(QPointF(0, 0), natural_).adjusted(margin_, margin_, -margin_, -margin_);
        // A see-through shade in the margin, as a shadow would be.
        if (margin_ > 0)
            painter.fillRect(QRectF(QPointF(0, 0), natural_), QColor(0, 0, 0, 60));
        QPainterPath path;
        path.addRoundedRect(box.adjusted(0.5, 0.5, -0.5, -0.5), 8, 8);
        painter.fillPath(path, QColor(14, 18, 28, 235));
        painter.setPen(QPen(accent_, 1.5));
        painter.drawPath(path);
        painter.fillRect(QRectF(box.left(), box.top(), box.width(), 4), accent_);
        painter.setPen(Qt::white);
        QFont font = painter.font();
        font.setPixelSize(13);
        font.setBold(true);
        painter.setFont(font);
        painter.drawText(box.adjusted(10, 8, -10, -8), Qt::AlignLeft | Qt::AlignTop, label_);
    }

    // With a margin, the card is drawn that far inside the natural size and outlined as a rounded
    // card, as a panel with room for its shadow is.
    void setCardMargin(double margin)
    {
        margin_ = margin;
        emit changed();
    }
    QPainterPath panelShape() const override
    {
        if (margin_ <= 0)
            return OverlayContent::panelShape();
        return card();
    }

    bool mousePressed(QPointF point) override
    {
        presses.push_back(point);
        return true;
    }

    std::vector<QPointF> presses;

private:
    QPainterPath card() const
    {
        QPainterPath path;
        path.addRoundedRect(
            QRectF(QPointF(0, 0), natural_).adjusted(margin_, margin_, -margin_, -margin_), 8, 8);
        return path;
    }

    QSizeF natural_;
    double margin_ = 0;
    QString label_;
    QColor accent_;
};

} // namespace tolvane::test
