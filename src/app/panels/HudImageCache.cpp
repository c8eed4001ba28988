#include "app/panels/HudImageCache.h"

#include <QPointer>

namespace tolvane {

HudImageCache::HudImageCache(QString dataDragonBase, HttpTimeouts timeouts, QObject* parent)
    : HudImageSource(std::move(dataDragonBase), parent)
    , session_(std::make_shared<HttpSession>(HttpPeer::dataDragon, timeouts))
{
}

HudImageCache::~HudImageCache()
{
    cancel_.cancel();
}

std::optional<QImage> HudImageCache::image(const QUrl& address)
{
    if (!address.isValid())
        return std::nullopt;
    const auto found = entries_.constFind(address);
    if (found != entries_.constEnd())
        return found->state == State::loaded ? std::optional<QImage>(found->image) : std::nullopt;
    entries_.insert(address, Entry {});
    load(address);
    return std::nullopt;
}

std::optional<HudImageCache::State> HudImageCache::state(const QUrl& address) const
{
    const auto found = entries_.constFind(address);
    if (found == entries_.constEnd())
        return std::nullopt;
    return found->state;
}

QCoro::Task<void> HudImageCache::load(QUrl address)
{
    QPointer<HudImageCache> self(this);
    std::shared_ptr<HttpSession> session = session_;
    const HttpResult result = co_await session->get(address, {}, cancel_.token());
    if (!self)
        co_return;
    Entry& entry = self->entries_[address];
    QImage image;
    if (result.arrived() && result.reply->status == 200)
        image = QImage::fromData(result.reply->body);
    if (image.isNull()) {
        // The placeholder stays; a panel redraws often and must not ask again and again.
        entry.state = State::failed;
        co_return;
    }
    entry.state = State::loaded;
    entry.image = std::move(image);
    emit self->imageArrived(address);
}

} // namespace tolvane
