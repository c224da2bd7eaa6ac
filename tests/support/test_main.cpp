// Entry of every test executable run under Wine.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>

#include "base/test_hooks.h"
#include "support/test_child.h"

namespace {

// Plain pointers, set before main whatever order the initialisers run in.
const char* childName = nullptr;
TestChild child = nullptr;

// Whatever a test put in place of the platform goes with it, failed or not.
class HookReset : public testing::EmptyTestEventListener {
    void OnTestEnd(const testing::TestInfo&) override { ResetTestHooks(); }
};

}  // namespace

bool RegisterTestChild(const char* name, TestChild run) {
    childName = name;
    child = run;
    return true;
}

int main(int argc, char** argv) {
    // A crash in a test must fail the run, never wait at an error dialog.
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
    constexpr char CHILD_FLAG[] = "--child=";
    if (argc == 2 && child != nullptr && std::strncmp(argv[1], CHILD_FLAG, sizeof CHILD_FLAG - 1) == 0 &&
        std::strcmp(argv[1] + sizeof CHILD_FLAG - 1, childName) == 0) {
        return child();
    }
    testing::InitGoogleTest(&argc, argv);
    testing::UnitTest::GetInstance()->listeners().Append(new HookReset);
    return RUN_ALL_TESTS();
}
