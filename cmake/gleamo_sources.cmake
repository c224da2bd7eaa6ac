# Collects the source lists that the subsystems' sources.cmake files declare.
set(GLEAMO_PURE_SOURCES "")
set(GLEAMO_WIN32_SOURCES "")

# gleamo_pure_sources(file...): files that never include <windows.h>; they are
# built into gleamo.scr and natively for sanitizers, fuzzing and benchmarks.
macro(gleamo_pure_sources)
  foreach(f ${ARGN})
    list(APPEND GLEAMO_PURE_SOURCES ${CMAKE_CURRENT_LIST_DIR}/${f})
  endforeach()
endmacro()

# gleamo_win32_sources(file...): Win32 code, built for the cross target only.
macro(gleamo_win32_sources)
  foreach(f ${ARGN})
    list(APPEND GLEAMO_WIN32_SOURCES ${CMAKE_CURRENT_LIST_DIR}/${f})
  endforeach()
endmacro()

set(GLEAMO_WARNINGS -Wall -Wextra -Wshadow)
