#include "core/overlay/ComboEdgeDetector.h"

#include <algorithm>

namespace tolvane {

ComboEdgeDetector::ComboEdgeDetector(int count)
    : prev_(static_cast<size_t>(std::max(count, 0)), false)
{
}

QList<int> ComboEdgeDetector::firedEdges(const std::vector<bool>& down)
{
    QList<int> fired;
    const size_t n = std::min(prev_.size(), down.size());
    for (size_t i = 0; i < n; ++i) {
        if (down[i] && !prev_[i])
            fired.append(static_cast<int>(i));
        prev_[i] = down[i];
    }
    return fired;
}

} // namespace tolvane
