# The engine folder's one source list: the pure sources (no <windows.h>), built
# into gleamo.scr and natively, then the Win32 sources of the cross build.
gleamo_pure_sources(
  monitor_stages.cpp
  slide_placement.cpp
  frame_clock.cpp
)

gleamo_win32_sources(
  background_preparation.cpp
  display_stages.cpp
  media_search.cpp
  picture_file.cpp
  slide_caption.cpp
  slide_loader.cpp
  slide_preparation.cpp
  slideshow_window.cpp
)
