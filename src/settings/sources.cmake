# The settings folder's one source list: the pure sources (no <windows.h>), built
# into gleamo.scr and natively, then the Win32 sources of the cross build.
gleamo_pure_sources(
  entry_keys.cpp
)

gleamo_win32_sources(
  ini_copy.cpp
  ini_file.cpp
  media_expansion.cpp
  saver_settings.cpp
  setting_table.cpp
)
