#include "core/advice/SpellRecState.h"

namespace tolvane {

QString SpellRecState::key(const QString& me, MetaRole role, const QString& enemy)
{
    return me + u'|' + metaRoleRawValue(role) + u'|' + enemy;
}

std::optional<SpellRecState::Entry> SpellRecState::cached(const QString& key) const
{
    auto it = cache_.find(key);
    if (it == cache_.end())
        return std::nullopt;
    return it->second;
}

bool SpellRecState::begin(const QString& key)
{
    if (cache_.count(key) || inFlight_.count(key))
        return false;
    inFlight_.insert(key);
    return true;
}

bool SpellRecState::complete(const QString& key, int64_t generation, Entry spells)
{
    inFlight_.erase(key);
    cache_[key] = std::move(spells);
    return generation == generation_;
}

void SpellRecState::reset()
{
    // Wrapping would make an old generation look current again.
    if (generation_ < INT64_MAX)
        ++generation_;
    inFlight_.clear();
}

} // namespace tolvane
