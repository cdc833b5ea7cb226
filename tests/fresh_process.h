// fresh_process.h -- runs checks in a new process of the test program, for what a process holds
// when it starts: globals made before main, choices made once per process.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>

// The new process runs the test from its start up to here, then the checks; their failures are
// printed there and fail the test here.
inline void ExpectInFreshProcess(const std::function<void()>& checks) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            checks();
            std::exit(::testing::Test::HasFailure() ? 1 : 0);
        },
        ::testing::ExitedWithCode(0), "");
}
