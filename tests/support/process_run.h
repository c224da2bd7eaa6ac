// Running gleamo.scr as the system would, from a test.
#pragma once

#include <windows.h>

#include <string>

// The built gleamo.scr (from the GLEAMO_SCR environment variable).
std::string GleamoPath();

struct ProcessOutcome {
    bool finished = false;       // ended before the time limit (else it was killed)
    DWORD exitCode = 0;
    int visibleWindowsSeen = 0;  // top-level windows of the process seen visible while it ran
};

// Starts program with the argument text, waits at most timeoutMs, pumping this
// thread's messages and watching for visible top-level windows of the process.
ProcessOutcome RunAndWatch(const std::string& program, const std::string& arguments, DWORD timeoutMs);
