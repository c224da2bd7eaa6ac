gleamo_win32_sources(
  paths.cpp
  file_finder.cpp
)
