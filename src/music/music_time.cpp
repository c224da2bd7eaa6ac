#include "music/music_time.h"

namespace {

constexpr unsigned BYTE_MASK = 0xFF;
constexpr int MINUTES_SHIFT = 8;
constexpr int SECONDS_SHIFT = 16;
constexpr unsigned SECONDS_PER_MINUTE = 60;
constexpr uint32_t MS_PER_SECOND = 1000;
constexpr uint32_t MS_PER_MINUTE = SECONDS_PER_MINUTE * MS_PER_SECOND;

// "Track05": the number stands in the sixth and seventh characters.
constexpr int TRACK_DIGITS_START = 5;
constexpr int TRACK_DIGITS_END = 7;

}  // namespace

uint32_t PackTmsf(unsigned track, unsigned minutes, unsigned seconds) {
    return (track & BYTE_MASK) | ((minutes & BYTE_MASK) << MINUTES_SHIFT) | ((seconds & BYTE_MASK) << SECONDS_SHIFT);
}

uint32_t MillisecondsAt(unsigned minutes, unsigned seconds) {
    return (minutes * SECONDS_PER_MINUTE + seconds) * MS_PER_SECOND;
}

void SplitMsf(uint32_t msf, unsigned& minutes, unsigned& seconds) {
    minutes = msf & BYTE_MASK;
    seconds = (msf >> MINUTES_SHIFT) & BYTE_MASK;
}

void SplitMilliseconds(uint32_t milliseconds, unsigned& minutes, unsigned& seconds) {
    minutes = milliseconds / MS_PER_MINUTE;
    seconds = (milliseconds / MS_PER_SECOND) % SECONDS_PER_MINUTE;
}

unsigned TrackFromTitle(const char* title) {
    if (title == nullptr) {
        return 0;
    }
    for (int i = 0; i < TRACK_DIGITS_START; ++i) {
        if (title[i] == '\0') {
            return 0;
        }
    }
    unsigned track = 0;
    for (int i = TRACK_DIGITS_START; i < TRACK_DIGITS_END && title[i] >= '0' && title[i] <= '9'; ++i) {
        track = track * 10 + static_cast<unsigned>(title[i] - '0');
    }
    return track;
}
