gleamo_pure_sources(
  music_time.cpp
)

gleamo_win32_sources(
  music_player.cpp
  play_next_track.cpp
)
