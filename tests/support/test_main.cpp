// Entry of every test executable run under Wine.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>

#include "support/test_child.h"

namespace {

// Plain pointers, set before main whatever order the initialisers run in.
const char* childName = nullptr;
TestChild child = nullptr;

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
    return RUN_ALL_TESTS();
}
