#pragma once
// The zoom shared by every overlay panel window: the application sets it from the game window's
// height, and each panel draws its content that many times larger.

#include <QObject>

namespace tolvane {

class OverlayScale : public QObject {
    Q_OBJECT
public:
    explicit OverlayScale(double scale, QObject* parent = nullptr)
        : QObject(parent)
        , scale_(scale)
    {
    }

    double scale() const { return scale_; }
    // Notifies on every assignment, like the other published values the panels observe.
    void setScale(double scale)
    {
        scale_ = scale;
        emit changed();
    }

signals:
    void changed();

private:
    double scale_;
};

} // namespace tolvane
