#pragma once
// Ends the test program, naming the test, when one test runs past a bound: a wait that misses its
// event, or a call that blocks, then shows as that test's failure instead of the whole suite
// running into CTest's time-out with nothing said. The program's main owns it and releases it
// from gtest's listeners before it goes, so its thread has ended when the program does.

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>
#include <thread>

#include <gtest/gtest.h>

namespace tolvane::test {

class TestWatchdog final : public ::testing::EmptyTestEventListener {
public:
    explicit TestWatchdog(std::chrono::seconds limit)
        : limit_(limit)
        , thread_([this] { watch(); })
    {
        ::testing::UnitTest::GetInstance()->listeners().Append(this);
    }

    ~TestWatchdog() override
    {
        ::testing::UnitTest::GetInstance()->listeners().Release(this);
        {
            std::lock_guard lock(mutex_);
            stopping_ = true;
        }
        wake_.notify_all();
        thread_.join();
    }

    void OnTestStart(const ::testing::TestInfo& info) override
    {
        {
            std::lock_guard lock(mutex_);
            test_ = std::string(info.test_suite_name()) + "." + info.name();
            deadline_ = std::chrono::steady_clock::now() + limit_;
            running_ = true;
        }
        wake_.notify_all();
    }

    void OnTestEnd(const ::testing::TestInfo&) override
    {
        std::lock_guard lock(mutex_);
        running_ = false;
    }

private:
    void watch()
    {
        std::unique_lock lock(mutex_);
        while (!stopping_) {
            if (!running_) {
                wake_.wait(lock);
                continue;
            }
            const auto deadline = deadline_;
            if (wake_.wait_until(lock, deadline) == std::cv_status::timeout && running_ && deadline_ == deadline
                && !stopping_) {
                std::fprintf(stderr, "test watchdog: %s still running after %lld s\n", test_.c_str(),
                    static_cast<long long>(limit_.count()));
                std::abort();
            }
        }
    }

    const std::chrono::seconds limit_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::string test_;
    std::chrono::steady_clock::time_point deadline_;
    bool running_ = false;
    bool stopping_ = false;
    std::thread thread_;
};

} // namespace tolvane::test
