#include "shell/exception_guard.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "support/process_run.h"
#include "support/test_child.h"
#include "support/test_files.h"

namespace {

constexpr char CHILD_VARIABLE[] = "GLEAMO_FAULTING_CHILD";
constexpr DWORD FAULT_CODE = 0xE0471234, CHILD_LIMIT_MS = 20000;

// Runs in the child only: notes every call in the file the parent named, then
// lets the process end with the exception's code. (Declining it instead would
// start the system's debugger under Wine, which waits.)
LONG WINAPI NoteCall(EXCEPTION_POINTERS*) {
    char path[MAX_PATH] = {};
    GetEnvironmentVariableA(CHILD_VARIABLE, path, sizeof path);
    const std::string before = ReadFileBytes(path);
    WriteFileBytes(path, before + "x");
    return EXCEPTION_EXECUTE_HANDLER;
}

// The child: a filter of its own, then the guard over it, then an exception
// nobody handles.
int Fault() {
    SetUnhandledExceptionFilter(NoteCall);
    InstallExceptionGuard();
    InstallExceptionGuard();
    RaiseException(FAULT_CODE, EXCEPTION_NONCONTINUABLE, 0, nullptr);
    return 0;
}
const bool registered = RegisterTestChild("fault", Fault);

TEST(ExceptionGuard, AnUnhandledExceptionPassesOnceToTheFilterBeforeAndEndsWithItsCode) {
    ASSERT_TRUE(registered);
    TempFolder folder;
    const std::string calls = folder / "calls";
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, sizeof self);
    SetEnvironmentVariableA(CHILD_VARIABLE, calls.c_str());
    const ProcessOutcome outcome = RunAndWatch(self, "--child=fault", CHILD_LIMIT_MS);
    SetEnvironmentVariableA(CHILD_VARIABLE, nullptr);
    ASSERT_TRUE(outcome.finished);
    EXPECT_EQ(outcome.exitCode, FAULT_CODE);
    EXPECT_EQ(ReadFileBytes(calls), "x") << "the filter that was in place before runs exactly once";
}

}  // namespace
