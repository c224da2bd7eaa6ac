gleamo_pure_sources(
  music_time.cpp
)

gleamo_win32_sources(
  music_player.cpp
  music_worker.cpp
  play_next_track.cpp
)
