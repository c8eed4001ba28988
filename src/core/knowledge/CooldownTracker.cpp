#include "core/knowledge/CooldownTracker.h"

namespace tolvane {

// Comparisons are written so that a time that is not a number reads as "not running" and
// never drops marks.

void CooldownTracker::toggle(Key key, double now, double effectiveCD)
{
    if (const auto it = marks_.find(key); it != marks_.end() && it->second.cd > now - it->second.at) {
        marks_.erase(it);
        return;
    }
    marks_[key] = Mark {now, effectiveCD};
}

std::optional<double> CooldownTracker::remaining(Key key, double now) const
{
    const auto it = marks_.find(key);
    if (it == marks_.end())
        return std::nullopt;
    const double left = it->second.cd - (now - it->second.at);
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
