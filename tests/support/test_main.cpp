// Entry of every test executable run under Wine.
#include <windows.h>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    // A crash in a test must fail the run, never wait at an error dialog.
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
