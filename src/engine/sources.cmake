gleamo_win32_sources(
  unexpected_error.cpp
)
