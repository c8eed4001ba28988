#include "core/overlay/Sleeper.h"

namespace tolvane {

QCoro::Task<bool> RealSleeper::sleep(std::chrono::milliseconds pause, CancelToken token)
{
    co_return co_await sleepFor(pause, token);
}

} // namespace tolvane
