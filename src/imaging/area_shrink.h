// Shrinks a block of 24- or 32-bit pixels so that every output pixel is the
// mean of the source area it covers (a box filter), instead of keeping one
// source pixel in n. No Win32 here.
//
// The arithmetic, for a source of sw x sh pixels and a target of dw x dh
// (1 <= dw <= sw, 1 <= dh <= sh):
//
// Target column x covers source columns [x * sw / dw, (x + 1) * sw / dw).
// Measure positions in units of 1/dw source column: column x then spans the
// units [x * sw, (x + 1) * sw) and source column i the units
// [i * dw, (i + 1) * dw). The weight of source column i in target column x is
// the number of units they share,
//     wx(x, i) = max(0, min((i + 1) * dw, (x + 1) * sw) - max(i * dw, x * sw)),
// a whole number from 0 to dw; the weights of one target column add up to
// sw. Lines are the same in units of 1/dh source line: wy(y, j), 0 to dh,
// adding up to sh. Each channel of target pixel (x, y), the 4th byte of a
// 32-bit pixel included, is
//     T = sum over j, i of wy(y, j) * wx(x, i) * source(i, j)   (exact, < 2^38)
//     target(x, y) = floor((2 * T + sw * sh) / (2 * sw * sh))
// that is the exact area mean T / (sw * sh), rounded to nearest with halves
// rounded up, and that is the only rounding. Shrinking n:1 and m:1 therefore
// gives the plain mean of each n x m block: a one-pixel checkerboard of 0 and
// 255 halved becomes 128 (a mean of 127.5). Equal sizes copy the source.
//
// Both images are lines of pixels, blue-green-red(-fourth byte) or any other
// order, as every channel is treated alike: line 0 starts at `line0` and line
// y at line0 + y * stride, so a bottom-up DIB is read top line first by
// passing its last row in memory and a negative stride. Only the width *
// bytesPerPixel bytes of each target line are written; padding and anything
// between the lines stay as they were.
#pragma once

#include <cstddef>
#include <cstdint>

struct SourceLines {
    const uint8_t* line0 = nullptr;
    int32_t width = 0;
    int32_t height = 0;
    ptrdiff_t stride = 0;
};

struct TargetLines {
    uint8_t* line0 = nullptr;
    int32_t width = 0;
    int32_t height = 0;
    ptrdiff_t stride = 0;
};

// The largest source side. It keeps T below 2^38, the total weight sw * sh
// below 2^30 and every weight within a signed 16-bit lane.
constexpr int32_t MAX_SHRINK_SIDE = 32767;

enum class AreaShrinkKernelSet {
    kScalar,  // for processors without SSE2
    kSse2,
    kAvx2,
};

// The widest set this processor runs, read from CPUID on the first call.
AreaShrinkKernelSet WidestAreaShrinkKernelSet();

// The working memory ShrinkArea needs for these widths (any alignment will
// do), or 0 when the sizes are outside what ShrinkArea accepts: about
// 4 * bytesPerPixel bytes per source column and 8 per target column.
size_t AreaShrinkScratchBytes(int32_t sourceWidth, int32_t targetWidth, int bytesPerPixel);

// Fills the whole target with the area means of the whole source. False, with
// nothing written, when bytesPerPixel is not 3 or 4, a pointer is null, a
// target side is 0 or larger than the source's, a source side exceeds
// MAX_SHRINK_SIDE, a stride is shorter than a line's pixels, or scratch is
// smaller than AreaShrinkScratchBytes says. The target must not overlap the
// source; scratch is the caller's, and is left holding nothing of use.
bool ShrinkArea(const SourceLines& source, const TargetLines& target, int bytesPerPixel,
                AreaShrinkKernelSet kernelSet, void* scratch, size_t scratchBytes);

// Source lines handed over a band at a time, top line first, for a picture
// that is decoded piece by piece and never held whole.
class SourceLineFeed {
public:
    // Writes `count` lines of the source, from line `first` on, into `lines`
    // (line first + k at lines + k * stride; width * bytesPerPixel bytes
    // each). Every call starts at the line after the previous call's last
    // one. False stops the shrink.
    virtual bool Read(int32_t first, int32_t count, uint8_t* lines, ptrdiff_t stride) = 0;

protected:
    ~SourceLineFeed() = default;
};

// The working memory ShrinkAreaFromFeed needs: ShrinkArea's, and a band of
// up to 32 source lines. 0 for sizes ShrinkArea refuses.
size_t AreaShrinkFeedScratchBytes(int32_t sourceWidth, int32_t sourceHeight, int32_t targetWidth,
                                  int32_t targetHeight, int bytesPerPixel);

// ShrinkArea over a source of sourceWidth x sourceHeight that feed hands
// over, each line read once. False, with the target partly written, when the
// feed fails; false with nothing written when ShrinkArea would refuse.
bool ShrinkAreaFromFeed(int32_t sourceWidth, int32_t sourceHeight, SourceLineFeed& feed, const TargetLines& target,
                        int bytesPerPixel, AreaShrinkKernelSet kernelSet, void* scratch, size_t scratchBytes);

// The row kernels ShrinkArea runs, one of each per instruction set. The
// shrink is separable: for each target line, the vertical pass weighs the
// source lines it covers into one line of sums, sums[k] = the sum over j of
// wy(y, j) * byte k of line j (below 2^23), and the horizontal pass weighs
// those sums column by column into T and rounds.

// sums[k] = (first ? 0 : sums[k]) + weightA * a[k] + weightB * b[k] for
// k < count; the weights are 0..MAX_SHRINK_SIDE.
using AddLinePairFunction = void (*)(const uint8_t* a, int32_t weightA, const uint8_t* b, int32_t weightB,
                                     int32_t* sums, size_t count, bool first);

// Where a target column starts in the source, in the units above: unit
// x * sw is `cut` units into source column `first`.
struct ColumnStart {
    int32_t first;
    int32_t cut;
};

struct ColumnReduction {
    const ColumnStart* starts;  // targetWidth + 1 of them: the last one is the source's right edge
    int32_t targetWidth;
    int32_t sourceWidth;
    int32_t sourceHeight;
    int32_t bytesPerPixel;
};

// One target line from the sums of the vertical pass. Target column x takes
// dw * (the sums of source columns starts[x].first up to, not including,
// starts[x + 1].first), less starts[x].cut times the first of them (the part
// of it left of the column), plus starts[x + 1].cut times the sum of column
// starts[x + 1].first (the part of it inside the column): that is T, which
// it rounds as above. sums holds
// SHRINK_SUMS_PADDING zeros after the source line's sums: the right edge's
// column is read, with weight 0, and vector kernels read 4 sums at a time.
constexpr size_t SHRINK_SUMS_PADDING = 4;
using ReduceLineFunction = void (*)(const int32_t* sums, const ColumnReduction& columns, uint8_t* out);

struct AreaShrinkKernels {
    AddLinePairFunction addLinePair;
    ReduceLineFunction reduceLine;
};

AreaShrinkKernels AreaShrinkKernelsFor(AreaShrinkKernelSet set);

void AddLinePairScalar(const uint8_t* a, int32_t weightA, const uint8_t* b, int32_t weightB, int32_t* sums,
                       size_t count, bool first);
void AddLinePairSse2(const uint8_t* a, int32_t weightA, const uint8_t* b, int32_t weightB, int32_t* sums,
                     size_t count, bool first);
void AddLinePairAvx2(const uint8_t* a, int32_t weightA, const uint8_t* b, int32_t weightB, int32_t* sums,
                     size_t count, bool first);

void ReduceLineScalar(const int32_t* sums, const ColumnReduction& columns, uint8_t* out);
void ReduceLineSse2(const int32_t* sums, const ColumnReduction& columns, uint8_t* out);
void ReduceLineAvx2(const int32_t* sums, const ColumnReduction& columns, uint8_t* out);
