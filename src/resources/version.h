// The version of gleamo.scr, kept here only: the version resource shows it,
// CMakeLists.txt reads it for the project version, and tools/package names the
// release zip and the guide after it. Plain numbers on #define lines, as those
// readers expect.
#pragma once

#define GLEAMO_VERSION_MAJOR 1
#define GLEAMO_VERSION_MINOR 0
#define GLEAMO_VERSION_PATCH 0
