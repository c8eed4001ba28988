#include "core/support/PollingStream.h"

namespace tolvane {

PollingStreamBase::~PollingStreamBase()
{
    cancel();
}

void PollingStreamBase::cancel()
{
    cancel_.cancel();
    if (!finished_) {
        finished_ = true;
        emit elementAvailable();
    }
}

std::chrono::milliseconds PollingStreamBase::pauseFor(uint64_t intervalMs)
{
    constexpr uint64_t maxIntervalMs = UINT64_MAX / 1'000'000;
    return std::chrono::milliseconds(static_cast<std::chrono::milliseconds::rep>(std::min(intervalMs, maxIntervalMs)));
}

} // namespace tolvane
