// Running gleamo.scr as the system would, from a test.
#pragma once

#include <windows.h>

#include <string>

// The built gleamo.scr (from the GLEAMO_SCR environment variable).
std::string GleamoPath();

struct ProcessOutcome {
    bool finished = false;       // ended before the time limit (else it is killed)
    DWORD exitCode = 0;
    int visibleWindowsSeen = 0;  // top-level windows of the process seen visible while it ran
};

// Starts program with the argument text, waits at most timeoutMs, pumping this
// thread's messages and watching for visible top-level windows of the process.
ProcessOutcome RunAndWatch(const std::string& program, const std::string& arguments, DWORD timeoutMs);

// A program started by a test and left running; killed if still running when
// the object goes.
class RunningProcess {
public:
    RunningProcess(const std::string& program, const std::string& arguments);
    ~RunningProcess();
    RunningProcess(const RunningProcess&) = delete;
    RunningProcess& operator=(const RunningProcess&) = delete;

    bool Started() const { return process_ != nullptr; }
    DWORD Id() const { return id_; }
    bool HasExited() const;
    DWORD ExitCode() const;

    // Waits at most timeoutMs for the end, pumping this thread's messages
    // meanwhile. True when it ended; exitCode then holds its status.
    bool WaitForExit(DWORD timeoutMs, DWORD& exitCode);

private:
    HANDLE process_ = nullptr;
    DWORD id_ = 0;
};

// The visible top-level window of the process with the class (and title,
// when given), or null.
HWND VisibleWindowOf(const RunningProcess& process, const char* className, const char* title = nullptr);

// The processor time, kernel and user, this process has used, in 100 ns
// units (for the benchmarks).
ULONGLONG ProcessorTime100ns();

// Presses and releases the key as real input does (to the foreground window).
void PressKey(WORD virtualKey);

// Polls (pumping messages) until condition() holds or timeoutMs pass.
template <typename Condition>
bool WaitUntil(DWORD timeoutMs, Condition condition) {
    const DWORD start = GetTickCount();
    for (;;) {
        if (condition()) {
            return true;
        }
        if (GetTickCount() - start > timeoutMs) {
            return false;
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
}
