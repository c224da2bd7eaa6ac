// Splitting the program name off the process command line.
#pragma once

// The argument text after the program name and the blanks that follow it. A
// quoted name is stepped over character by character (double-byte characters
// whole) up to its closing quote; an unquoted one ends at the first byte of 32
// or below.
const char* SkipProgramName(const char* commandLine);
