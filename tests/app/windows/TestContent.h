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
        const QRectF card(QPointF(0, 0), natural_);
        QPainterPath path;
        path.addRoundedRect(card.adjusted(0.5, 0.5, -0.5, -0.5), 8, 8);
        painter.fillPath(path, QColor(14, 18, 28, 235));
        painter.setPen(QPen(accent_, 1.5));
        painter.drawPath(path);
        painter.fillRect(QRectF(0, 0, natural_.width(), 4), accent_);
        painter.setPen(Qt::white);
        QFont font = painter.font();
        font.setPixelSize(13);
        font.setBold(true);
        painter.setFont(font);
        painter.drawText(card.adjusted(10, 8, -10, -8), Qt::AlignLeft | Qt::AlignTop, label_);
    }

    bool mousePressed(QPointF point) override
    {
        presses.push_back(point);
        return true;
    }

    std::vector<QPointF> presses;

private:
    QSizeF natural_;
    QString label_;
    QColor accent_;
};

} // namespace tolvane::test
