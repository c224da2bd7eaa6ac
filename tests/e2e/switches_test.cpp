// gleamo.scr started with each kind of switch, as the system starts it.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "support/process_run.h"

namespace {

constexpr DWORD REFUSED = static_cast<DWORD>(-1);
constexpr DWORD TIME_LIMIT_MS = 20000;

class Switches : public testing::TestWithParam<const char*> {};

// Switches that must end the program at once with -1 and show nothing: bad
// switches, a preview without a real window, a password change outside the
// 95/98 family.
TEST_P(Switches, EndWithMinusOneAndShowNothing) {
    const std::string program = GleamoPath();
    ASSERT_FALSE(program.empty()) << "GLEAMO_SCR is not set";
    const ProcessOutcome outcome = RunAndWatch(program, GetParam(), TIME_LIMIT_MS);
    ASSERT_TRUE(outcome.finished) << "still running after " << TIME_LIMIT_MS << " ms: something is waiting for a user";
    EXPECT_EQ(outcome.exitCode, REFUSED);
    EXPECT_EQ(outcome.visibleWindowsSeen, 0);
}

INSTANTIATE_TEST_SUITE_P(Refused, Switches,
                         testing::Values("/x", "/p 99999", "/a 1234"));

}  // namespace
