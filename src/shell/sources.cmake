# The shell folder's one source list: the pure sources (no <windows.h>), built
# into gleamo.scr and natively, then the Win32 sources of the cross build.
gleamo_pure_sources(
  switch_scan.cpp
)

gleamo_win32_sources(
  command_line.cpp
  exception_guard.cpp
  password_verifier.cpp
  saver_entry.cpp
  saver_window.cpp
)
