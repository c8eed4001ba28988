#pragma once
// The user's marks of enemy cooldowns: per enemy and ability slot, when the mark was set (game
// time) and for how long; a second click cancels, a game clock going back forgets everything.

#include <cstdint>
#include <functional>
#include <optional>
#include <unordered_map>

namespace tolvane {

class CooldownTracker {
public:
    struct Key {
        int64_t enemy = 0; // index in the caller's list of enemies
        int64_t slot = 0; // 0 and 1 the summoner spells, 2 the ultimate

        bool operator==(const Key&) const = default;
    };

    // Cancels a running mark of key, or starts one of effectiveCD seconds at now.
    void toggle(Key key, double now, double effectiveCD);
    // Seconds left on a running mark.
    std::optional<double> remaining(Key key, double now) const;
    // Forgets every mark when the clock went back by more than epsilon (another game).
    void observe(double gameTime, double epsilon);
    void flushAll() { marks_.clear(); }
    void clear(Key key) { marks_.erase(key); }

private:
    struct Mark {
        double at = 0;
        double cd = 0;
    };
    struct KeyHash {
        size_t operator()(const Key& key) const
        {
            return std::hash<int64_t>()(key.enemy) * 31u + std::hash<int64_t>()(key.slot);
        }
    };

    std::unordered_map<Key, Mark, KeyHash> marks_;
    double lastGameTime_ = 0;
};

} // namespace tolvane
