gleamo_win32_sources(
  slideshow_window.cpp
  unexpected_error.cpp
)
