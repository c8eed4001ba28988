#pragma once
// Each test starts knowing nothing of the addresses that failed the tests before it, as a new
// process would: a port one test left refusing may be another's server.

#include "core/support/HttpSession.h"

#include <gtest/gtest.h>

namespace tolvane::test {

class FreshFailureRecords final : public ::testing::EmptyTestEventListener {
    void OnTestStart(const ::testing::TestInfo&) override { HttpSession::forgetFailures(); }
};

} // namespace tolvane::test
