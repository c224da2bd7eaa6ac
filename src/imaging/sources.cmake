# The imaging folder's one source list: the pure sources (no <windows.h>),
# built into gleamo.scr and natively, then the Win32 sources of the cross
# build, then what each fuzz target compiles into itself.
gleamo_pure_sources(
  backdrop_compose.cpp
  bmp_layout.cpp
  blend_area.cpp
  blend_kernels.cpp
  cpu_features.cpp
  opaque_runs.cpp
  area_shrink.cpp
  area_shrink_kernels.cpp
  decode_size.cpp
  exif_orientation.cpp
  exif_date.cpp
  jpeg_exif_block.cpp
  tiff_directory.cpp
  caption_text.cpp
  caption_layout.cpp
  orientation_turn.cpp
)

gleamo_win32_sources(
  bitmap_buffer.cpp
  jpeg_file_orientation.cpp
  mask_region.cpp
  ole_picture.cpp
  opaque_region.cpp
  picture_buffer.cpp
  wic_picture.cpp
  wic_orientation.cpp
  wic_date.cpp
  caption_stamp.cpp
  picture_formats.cpp
  slide_layer.cpp
  smooth_resize.cpp
  true_color_copies.cpp
  system_sse_state.cpp  # the system's word on the SSE registers, for the SSE2 kernels' choice
)

# The parsers under libFuzzer (tests/fuzz), compiled into each target so that
# the fuzzer's coverage sees them.
set(GLEAMO_BMP_LAYOUT_FUZZ_SOURCES ${CMAKE_CURRENT_LIST_DIR}/bmp_layout.cpp)
set(GLEAMO_EXIF_ORIENTATION_FUZZ_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/exif_orientation.cpp ${CMAKE_CURRENT_LIST_DIR}/exif_date.cpp
    ${CMAKE_CURRENT_LIST_DIR}/jpeg_exif_block.cpp ${CMAKE_CURRENT_LIST_DIR}/tiff_directory.cpp)
