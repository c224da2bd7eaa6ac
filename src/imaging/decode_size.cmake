gleamo_pure_sources(
  decode_size.cpp
)
