# The music folder's one source list: the pure sources (no <windows.h>), built
# into gleamo.scr and natively, then the Win32 sources of the cross build.
gleamo_pure_sources(
  music_time.cpp
)

gleamo_win32_sources(
  music_player.cpp
  music_worker.cpp
  play_next_track.cpp
)
