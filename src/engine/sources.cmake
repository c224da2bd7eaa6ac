gleamo_pure_sources(
  monitor_stages.cpp
  slide_placement.cpp
)

gleamo_win32_sources(
  background_preparation.cpp
  display_stages.cpp
  picture_file.cpp
  slide_loader.cpp
  slide_preparation.cpp
  slideshow_window.cpp
)
