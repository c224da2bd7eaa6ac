# The dialog folder's one source list: Win32 sources of the cross build only
# (a pure source, without <windows.h>, would go in gleamo_pure_sources).
gleamo_win32_sources(
  background_page.cpp
  browse_glyph.cpp
  color_chooser.cpp
  color_swatch.cpp
  control_binding.cpp
  display_page.cpp
  file_picker.cpp
  folder_picker.cpp
  list_entries.cpp
  list_page.cpp
  settings_dialog.cpp
  settings_page.cpp
  tab_texture.cpp
)
