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
    RunningProcess process(program, arguments);
    if (!process.Started()) {
        return outcome;
    }
    WindowWatch watch = {process.Id(), {}};
    outcome.finished = WaitUntil(timeoutMs, [&] {
        EnumWindows(NoteVisibleWindow, reinterpret_cast<LPARAM>(&watch));
        return process.HasExited();
    });
    if (outcome.finished) {
        outcome.exitCode = process.ExitCode();
    }
    outcome.visibleWindowsSeen = static_cast<int>(watch.seen.size());
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

bool RunningProcess::HasExited() const {
    return process_ != nullptr && WaitForSingleObject(process_, 0) == WAIT_OBJECT_0;
}

DWORD RunningProcess::ExitCode() const {
    DWORD exitCode = STILL_ACTIVE;
    GetExitCodeProcess(process_, &exitCode);
    return exitCode;
}

bool RunningProcess::WaitForExit(DWORD timeoutMs, DWORD& exitCode) {
    if (process_ == nullptr || !WaitUntil(timeoutMs, [this] { return HasExited(); })) {
        return false;
    }
    exitCode = ExitCode();
    return true;
}

HWND VisibleWindowOf(const RunningProcess& process, const char* className, const char* title) {
    for (HWND found = FindWindowExA(nullptr, nullptr, className, title); found != nullptr;
         found = FindWindowExA(nullptr, found, className, title)) {
        DWORD owner = 0;
        GetWindowThreadProcessId(found, &owner);
        if (owner == process.Id() && IsWindowVisible(found)) {
            return found;
        }
    }
    return nullptr;
}

void PressKey(WORD virtualKey) {
    INPUT key[2] = {};
    key[0].type = key[1].type = INPUT_KEYBOARD;
    key[0].ki.wVk = key[1].ki.wVk = virtualKey;
    key[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, key, sizeof(INPUT));
}

ULONGLONG ProcessorTime100ns() {
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    const ULARGE_INTEGER k = {{kernel.dwLowDateTime, kernel.dwHighDateTime}};
    const ULARGE_INTEGER u = {{user.dwLowDateTime, user.dwHighDateTime}};
    return k.QuadPart + u.QuadPart;
}
