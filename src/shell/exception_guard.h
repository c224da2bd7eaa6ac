// The last line of defence: an unhandled exception first lowers the
// screen-saver-running flag (so the 95/98 family does not stay locked) and then
// gets the system's usual handling, which ends the program.
#pragma once

void InstallExceptionGuard();
