#pragma once
// Turns polled up/down samples of a few keys into presses: a key reports once when it goes down
// and must be seen up before it can report again. The keys are polled, not received as events,
// so this is the only place a press exists.

#include <QList>

#include <vector>

namespace tolvane {

class ComboEdgeDetector {
public:
    // A negative count is taken as 0.
    explicit ComboEdgeDetector(int count);

    // Indices (ascending) of the keys that went down since the previous sample. Samples beyond
    // the detector's count are ignored; keys without a sample keep their previous state.
    QList<int> firedEdges(const std::vector<bool>& down);

    int count() const { return static_cast<int>(prev_.size()); }

private:
    std::vector<bool> prev_;
};

} // namespace tolvane
