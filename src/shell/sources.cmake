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
