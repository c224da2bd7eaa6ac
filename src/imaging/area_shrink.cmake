gleamo_pure_sources(
  area_shrink.cpp
  area_shrink_kernels.cpp
)
