gleamo_pure_sources(
  exif_orientation.cpp
  orientation_turn.cpp
)
