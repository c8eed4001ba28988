#pragma once
// Champion-select bookkeeping of summoner-spell requests: one entry per pairing of the player's
// champion and role with one enemy, so a pairing is never asked twice, and answers that arrive
// after the context changed are recognised by their generation.

#include "core/advice/MetaBuild.h"
#include "core/advice/MetaQuery.h"

#include <QString>

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <vector>

namespace tolvane {

class SpellRecState {
public:
    // An answered pairing: no list when nothing usable came back.
    using Entry = std::optional<std::vector<SpellRec>>;

    static QString key(const QString& me, MetaRole role, const QString& enemy);

    int64_t generation() const { return generation_; }

    // Absent when the pairing was never answered.
    std::optional<Entry> cached(const QString& key) const;
    // True when the caller should ask now (neither answered nor in flight).
    bool begin(const QString& key);
    // Stores the answer; true when the context has not changed since the request began.
    bool complete(const QString& key, int64_t generation, Entry spells);
    // The context changed: requests still running no longer count; answers are kept.
    void reset();

private:
    int64_t generation_ = 0;
    std::map<QString, Entry> cache_;
    std::set<QString> inFlight_;
};

} // namespace tolvane
