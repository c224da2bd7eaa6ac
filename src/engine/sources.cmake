gleamo_pure_sources(
  slide_placement.cpp
)

gleamo_win32_sources(
  background_preparation.cpp
  picture_file.cpp
  slide_loader.cpp
  slide_preparation.cpp
  slideshow_window.cpp
)
