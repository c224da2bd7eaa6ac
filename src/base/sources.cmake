# The base folder's one source list: the pure sources (no <windows.h>), built
# into gleamo.scr and natively, then the Win32 sources of the cross build.
gleamo_pure_sources(
  decimal_text.cpp
)

gleamo_win32_sources(
  process_heap.cpp
  program_facts.cpp
  system_library.cpp
  winmm_functions.cpp
  unexpected_error.cpp
  owned_string.cpp
  object_array.cpp
  string_list.cpp
  media_list.cpp
  window_dpi.cpp
  paths.cpp
  wide_path.cpp
  folder_walk.cpp
  disk_folder_source.cpp
  test_hooks.cpp
  worker_com.cpp
)
