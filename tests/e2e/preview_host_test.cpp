// The system may start the preview in a host that has collapsed to no height:
// there is nothing to show in it, and no user to answer an error box.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "support/process_run.h"

namespace {

constexpr DWORD START_LIMIT_MS = 20000;
constexpr DWORD REFUSED = static_cast<DWORD>(-1);

TEST(PreviewHost, WithoutHeightTheSaverEndsAtOnceWithMinusOneAndShowsNothing) {
    ASSERT_FALSE(GleamoPath().empty()) << "GLEAMO_SCR is not set";
    HWND host = CreateWindowExA(0, "STATIC", "display settings", WS_POPUP | WS_VISIBLE, 50, 50, 200, 0, nullptr,
                                nullptr, nullptr, nullptr);
    ASSERT_NE(host, nullptr);
    RECT client = {};
    GetClientRect(host, &client);
    ASSERT_EQ(client.bottom, 0);

    const ProcessOutcome outcome =
        RunAndWatch(GleamoPath(), "/p " + std::to_string(reinterpret_cast<UINT_PTR>(host)), START_LIMIT_MS);
    DestroyWindow(host);
    ASSERT_TRUE(outcome.finished) << "still running: something is waiting for a user";
    EXPECT_EQ(outcome.exitCode, REFUSED);
    EXPECT_EQ(outcome.visibleWindowsSeen, 0);
}

}  // namespace
