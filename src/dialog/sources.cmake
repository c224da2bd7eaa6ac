gleamo_win32_sources(
  settings_dialog.cpp
)
