gleamo_pure_sources(
  frame_clock.cpp
)
