#include "core/knowledge/CooldownTracker.h"

#include <algorithm>

namespace tolvane {

// Comparisons are written so that a time that is not a number reads as "not running" and
// never drops marks.

std::vector<CooldownTracker::Mark>::iterator CooldownTracker::find(Key key)
{
    return std::find_if(marks_.begin(), marks_.end(), [&](const Mark& mark) { return mark.key == key; });
}

std::vector<CooldownTracker::Mark>::const_iterator CooldownTracker::find(Key key) const
{
    return std::find_if(marks_.begin(), marks_.end(), [&](const Mark& mark) { return mark.key == key; });
}

void CooldownTracker::toggle(Key key, double now, double effectiveCD)
{
    const auto it = find(key);
    if (it != marks_.end() && it->cd > now - it->at) {
        marks_.erase(it);
        return;
    }
    if (it != marks_.end())
        *it = Mark {key, now, effectiveCD};
    else
        marks_.push_back(Mark {key, now, effectiveCD});
}

void CooldownTracker::clear(Key key)
{
    if (const auto it = find(key); it != marks_.end())
        marks_.erase(it);
}

std::optional<double> CooldownTracker::remaining(Key key, double now) const
{
    const auto it = find(key);
    if (it == marks_.end())
        return std::nullopt;
    const double left = it->cd - (now - it->at);
    if (left > 0)
        return left;
    return std::nullopt;
}

void CooldownTracker::observe(double gameTime, double epsilon)
{
    if (lastGameTime_ - epsilon > gameTime)
        marks_.clear();
    lastGameTime_ = gameTime;
}

} // namespace tolvane
