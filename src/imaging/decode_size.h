// The sizes a picture passes through between the imaging component's decoder
// and the size it is shown at: the reduction a decoder may make while
// decoding, the size its scaler brings a source to that is too large for the
// area shrink, and the bytes of the lines handed over in between. Sides are
// whatever a decoder reports, up to 2^32 - 1, so everything is reckoned in 64
// bits and nothing wraps on a 32-bit system. No Win32 here.
#pragma once

#include <cstdint>

struct DecodeSize {
    uint32_t width;
    uint32_t height;
};

inline bool operator==(DecodeSize a, DecodeSize b) { return a.width == b.width && a.height == b.height; }
inline bool operator!=(DecodeSize a, DecodeSize b) { return !(a == b); }

// Both sides within what the area shrink takes (MAX_SHRINK_SIDE).
bool FitsAreaShrink(DecodeSize size);

// The size a decoder that reduces by divisor (2, 4 or 8) gives: each side
// divided, rounded up. A divisor of 0 gives the stored size.
DecodeSize ReducedSize(DecodeSize stored, uint32_t divisor);

// Whether a reduced size a decoder offers is worth decoding to for a picture
// shown at target: at least the target on each side, smaller than the stored
// size on both, and within what the area shrink takes, so that nothing is
// allocated for a size the shrink would then refuse.
bool ReductionServes(DecodeSize stored, DecodeSize reduced, DecodeSize target);

// The size the whole frame is brought to before its lines are read, for a
// picture of target size (each side at most the stored one's). As stored
// where the stored size fits the area shrink; otherwise the component's
// scaler takes each side beyond MAX_SHRINK_SIDE down to it, and the area
// shrink does the rest. A target that is itself too large for the area
// shrink is scaled to directly.
DecodeSize ScaledSourceSize(DecodeSize stored, DecodeSize target);

// The layout of height lines of width pixels of bytesPerPixel bytes, each
// line padded to a multiple of 4 bytes.
struct LineBlock {
    uint32_t stride;  // bytes from one line to the next
    uint32_t bytes;   // all the lines
};

// False when a side is 0 or the lines take more bytes than a 32-bit count
// (the decoder's buffer size) holds.
bool LineBlockOf(uint32_t width, uint32_t height, uint32_t bytesPerPixel, LineBlock* block);
