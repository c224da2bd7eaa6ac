// The last line of defence: an unhandled exception first lowers the
// screen-saver-running flag (so the 95/98 family does not stay locked), then
// goes on to the filter that was in place before, or to the system's usual
// handling, which ends the program with the exception's code.
#pragma once

void InstallExceptionGuard();
