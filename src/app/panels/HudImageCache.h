#pragma once
// Where the HUD's icons come from: a source that answers at once with the image it holds for an
// address, or nothing yet, and says when one arrives so the panel can redraw. It also names the
// Data Dragon base the views build their icon addresses on, the same one the catalogs come from.
// The network cache below loads each address once; a failure is remembered and the placeholder
// stays.

#include "core/support/Async.h"
#include "core/support/HttpSession.h"

#include <QHash>
#include <QImage>
#include <QObject>
#include <QString>
#include <QUrl>

#include <memory>
#include <optional>
#include <utility>

#include <QCoroTask>

namespace tolvane {

class HudImageSource : public QObject {
    Q_OBJECT
public:
    explicit HudImageSource(QString dataDragonBase, QObject* parent = nullptr)
        : QObject(parent)
        , dataDragonBase_(std::move(dataDragonBase))
    {
    }

    const QString& dataDragonBase() const { return dataDragonBase_; }

    // The image for the address when it is at hand; otherwise absent, and the source sets about
    // getting it (once).
    virtual std::optional<QImage> image(const QUrl& address) = 0;

signals:
    void imageArrived(const QUrl& address);

private:
    QString dataDragonBase_;
};

class HudImageCache : public HudImageSource {
    Q_OBJECT
public:
    explicit HudImageCache(
        QString dataDragonBase, HttpTimeouts timeouts = HttpTimeouts::remoteService(), QObject* parent = nullptr);
    ~HudImageCache() override;

    std::optional<QImage> image(const QUrl& address) override;

    enum class State { loading, loaded, failed };
    std::optional<State> state(const QUrl& address) const;

private:
    struct Entry {
        State state = State::loading;
        QImage image;
    };

    QCoro::Task<void> load(QUrl address);

    std::shared_ptr<HttpSession> session_;
    CancelSource cancel_;
    QHash<QUrl, Entry> entries_;
};

} // namespace tolvane
