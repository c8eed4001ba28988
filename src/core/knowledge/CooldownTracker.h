#pragma once
// The user's marks of enemy cooldowns: per enemy and ability slot, when the mark was set (game
// time) and for how long; a second click cancels, a game clock going back forgets everything.

#include <cstdint>
#include <optional>
#include <vector>

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
    void clear(Key key);

private:
    struct Mark {
        Key key;
        double at = 0;
        double cd = 0;
    };
    std::vector<Mark>::iterator find(Key key);
    std::vector<Mark>::const_iterator find(Key key) const;

    // Only the few marks the player clicked: every cell of every poll looks here, and going
    // through a handful costs less than hashing.
    std::vector<Mark> marks_;
    double lastGameTime_ = 0;
};

} // namespace tolvane
