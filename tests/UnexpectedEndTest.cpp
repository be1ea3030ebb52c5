// The game ends the process with exit code 0 when the player leaves. Inside
// the test run that would stop every test after it and still report success,
// so here ending the process is a failure unless a test asks for it.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

#include "shell/Form1.h"

namespace {
struct UnexpectedEnd : ::testing::Environment {
    void SetUp() override {
        EndProcess = [](int code) {
            const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
            std::fprintf(stderr, "\nThe game ended the process (code %d) during %s.%s\n", code,
                         test ? test->test_suite_name() : "?", test ? test->name() : "?");
            std::fflush(stderr);
            std::_Exit(3);
        };
    }
};
[[maybe_unused]] ::testing::Environment* const Guard = ::testing::AddGlobalTestEnvironment(new UnexpectedEnd);
}  // namespace

TEST(UnexpectedEnd, LeavingTheGameInATestEndsTheRunAsAFailure) {
    EXPECT_EXIT(EndProcess(0), ::testing::ExitedWithCode(3), "The game ended the process");
}
