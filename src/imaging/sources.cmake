gleamo_pure_sources(
  bmp_layout.cpp
  blend_area.cpp
  blend_kernels.cpp
  cpu_features.cpp
  opaque_runs.cpp
)

gleamo_win32_sources(
  bitmap_buffer.cpp
  mask_region.cpp
  ole_picture.cpp
  opaque_region.cpp
  picture_buffer.cpp
  slide_layer.cpp
  true_color_copies.cpp
)
