#include "music/music_time.h"

#include <gtest/gtest.h>

#include <utility>

namespace {

// No CD drive exists where the tests run; the CD audio arithmetic is checked here on its own.
TEST(MusicPlayerCdTrack, PositionsPackOneByteEachFromTrackUpwardAndLengthsDropTheFrames) {
    EXPECT_EQ(PackTmsf(12, 3, 45), 0x002D030Cu);
    EXPECT_EQ(PackTmsf(1, 74, 59), 0x003B4A01u);
    EXPECT_EQ(PackTmsf(0x1FF, 0x102, 0x103), 0x000302FFu) << "only the low byte of each counts";
    unsigned minutes = 9, seconds = 9;
    SplitMsf(0x00472D03u, minutes, seconds);  // 3:45 and 71 frames
    EXPECT_EQ(std::make_pair(minutes, seconds), std::make_pair(3u, 45u));
}

TEST(MusicPlayerCdTrack, TheTrackNumberStandsInTheSixthAndSeventhCharacters) {
    EXPECT_EQ(TrackFromTitle("Track05.cda"), 5u);
    EXPECT_EQ(TrackFromTitle("Track12.cda"), 12u);
    EXPECT_EQ(TrackFromTitle("Track7.cda"), 7u);
    EXPECT_EQ(TrackFromTitle("Track123.cda"), 12u) << "the title is cut after its seventh character";
    EXPECT_EQ(TrackFromTitle("Track.cda"), 0u);
    EXPECT_EQ(TrackFromTitle("Trk"), 0u) << "nothing is read past a short title's end";
    EXPECT_EQ(TrackFromTitle(nullptr), 0u);
}

}  // namespace
