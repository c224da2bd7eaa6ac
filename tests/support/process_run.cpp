#include "support/process_run.h"

#include <set>

namespace {

struct WindowWatch {
    DWORD processId;
    std::set<HWND> seen;
};

BOOL CALLBACK NoteVisibleWindow(HWND window, LPARAM context) {
    WindowWatch* watch = reinterpret_cast<WindowWatch*>(context);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == watch->processId && IsWindowVisible(window)) {
        watch->seen.insert(window);
    }
    return TRUE;
}

}  // namespace

std::string GleamoPath() {
    char path[MAX_PATH] = {};
    GetEnvironmentVariableA("GLEAMO_SCR", path, sizeof path);
    return path;
}

ProcessOutcome RunAndWatch(const std::string& program, const std::string& arguments, DWORD timeoutMs) {
    ProcessOutcome outcome;
    std::string commandLine = "\"" + program + "\" " + arguments;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process)) {
        return outcome;
    }
    WindowWatch watch = {process.dwProcessId, {}};
    const DWORD start = GetTickCount();
    for (;;) {
        EnumWindows(NoteVisibleWindow, reinterpret_cast<LPARAM>(&watch));
        const DWORD waited = MsgWaitForMultipleObjects(1, &process.hProcess, FALSE, 10, QS_ALLINPUT);
        if (waited == WAIT_OBJECT_0) {
            outcome.finished = true;
            break;
        }
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            DispatchMessageA(&message);
        }
        if (GetTickCount() - start > timeoutMs) {
            TerminateProcess(process.hProcess, 0xDEAD);
            WaitForSingleObject(process.hProcess, 5000);
            break;
        }
    }
    GetExitCodeProcess(process.hProcess, &outcome.exitCode);
    outcome.visibleWindowsSeen = static_cast<int>(watch.seen.size());
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return outcome;
}

RunningProcess::RunningProcess(const std::string& program, const std::string& arguments) {
    std::string commandLine = "\"" + program + "\" " + arguments;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (CreateProcessA(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                       &process)) {
        CloseHandle(process.hThread);
        process_ = process.hProcess;
        id_ = process.dwProcessId;
    }
}

RunningProcess::~RunningProcess() {
    if (process_ != nullptr) {
        if (WaitForSingleObject(process_, 0) == WAIT_TIMEOUT) {
            TerminateProcess(process_, 0xDEAD);
            WaitForSingleObject(process_, 5000);
        }
        CloseHandle(process_);
    }
}

bool RunningProcess::WaitForExit(DWORD timeoutMs, DWORD& exitCode) {
    if (process_ == nullptr) {
        return false;
    }
    const bool ended =
        WaitUntil(timeoutMs, [this] { return WaitForSingleObject(process_, 0) == WAIT_OBJECT_0; });
    if (ended) {
        GetExitCodeProcess(process_, &exitCode);
    }
    return ended;
}
