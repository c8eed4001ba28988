#pragma once
// The pause between repeated work, behind an interface so that tests decide when the pause ends
// instead of waiting out the real interval.

#include "core/support/Async.h"

#include <chrono>

#include <QCoroTask>

namespace tolvane {

class Sleeper {
public:
    virtual ~Sleeper() = default;
    // False when cut short by the token.
    virtual QCoro::Task<bool> sleep(std::chrono::milliseconds pause, CancelToken token) = 0;
};

class RealSleeper final : public Sleeper {
public:
    QCoro::Task<bool> sleep(std::chrono::milliseconds pause, CancelToken token) override;
};

} // namespace tolvane
