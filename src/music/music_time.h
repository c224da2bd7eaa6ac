// Time positions of the media control interface, and the audio-CD track
// number that a track file's title carries.
#pragma once

#include <cstdint>

// A position in the track/minute/second/frame format of CD audio: one byte
// each from bit 0, frames 0. Values above 255 keep their low byte, as the
// platform's packing macro does.
uint32_t PackTmsf(unsigned track, unsigned minutes, unsigned seconds);

uint32_t MillisecondsAt(unsigned minutes, unsigned seconds);

// A CD track length, minutes in bits 0-7 and seconds in bits 8-15 (frames dropped).
void SplitMsf(uint32_t msf, unsigned& minutes, unsigned& seconds);

// A length in milliseconds, as whole minutes and the seconds left over.
void SplitMilliseconds(uint32_t milliseconds, unsigned& minutes, unsigned& seconds);

// The track number of a CD track file from its title: the digits that start
// at the title's sixth character, within its first seven (Track05 gives 5,
// Track12 gives 12); 0 when there are none there.
unsigned TrackFromTitle(const char* title);
