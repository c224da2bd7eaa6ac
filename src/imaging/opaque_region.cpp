// The opaque region of an image: BitmapBuffer::CreateOpaqueRegion.
#include <cstdint>

#include "base/process_heap.h"
#include "imaging/bitmap_buffer.h"
#include "imaging/gdi_guards.h"
#include "imaging/opaque_runs.h"

namespace {

constexpr size_t kRegionHeaderBytes = sizeof(RGNDATAHEADER);
static_assert(sizeof(RGNDATAHEADER) == 32 && sizeof(RECT) == sizeof(RunRect), "the description layout");

// Other depths are compared after a GDI copy into 24 bits, done in bands of
// about this many bytes so the copy never grows with the picture's height.
constexpr size_t kBandBytes = 1u << 20;

// The largest description the region call can take: its size is a DWORD, and
// the 32-bit address space would not hold more anyway.
constexpr uint64_t kMaxDescriptionBytes = 0x7FFFFFF0u;

// The description block: the header, then the runs, grown geometrically so
// that its size follows the number of runs rather than the number of pixels.
class RegionDescription {
public:
    RegionDescription() = default;
    RegionDescription(const RegionDescription&) = delete;
    RegionDescription& operator=(const RegionDescription&) = delete;
    ~RegionDescription() { HeapBlockFree(block_); }

    // Room for at least `more` further runs; false (ERROR_NOT_ENOUGH_MEMORY)
    // when the size cannot be represented or allocated.
    bool Reserve(size_t more) {
        if (capacity_ - count_ >= more) {
            return true;
        }
        uint64_t wanted = static_cast<uint64_t>(count_) + more;
        const uint64_t doubled = 2 * static_cast<uint64_t>(capacity_);
        if (doubled > wanted) {
            wanted = doubled;
        }
        uint64_t bytes = kRegionHeaderBytes + wanted * sizeof(RunRect);
        if (bytes > kMaxDescriptionBytes) {
            // Doubling overshot the limit; the exact need may still fit.
            wanted = static_cast<uint64_t>(count_) + more;
            bytes = kRegionHeaderBytes + wanted * sizeof(RunRect);
            if (bytes > kMaxDescriptionBytes) {
                SetLastError(ERROR_NOT_ENOUGH_MEMORY);
                return false;
            }
        }
        void* grown = HeapBlockResize(block_, static_cast<size_t>(bytes));
        if (grown == nullptr) {
            SetLastError(ERROR_NOT_ENOUGH_MEMORY);
            return false;
        }
        block_ = static_cast<unsigned char*>(grown);
        capacity_ = static_cast<size_t>(wanted);
        return true;
    }

    RunRect* Next() { return reinterpret_cast<RunRect*>(block_ + kRegionHeaderBytes) + count_; }
    void Added(size_t runs) { count_ += runs; }

    // One ExtCreateRegion over the whole description gives the region; Wine
    // builds it rectangle by rectangle, in time that grows with the square
    // of the count when the runs differ from line to line (seconds for a
    // large photograph). Regions of a few hundred runs, joined in line
    // order, give the same region in linear time on both platforms.
    HRGN Create(LONG width, LONG height) {
        if (block_ == nullptr && !Reserve(1)) {
            return nullptr;
        }
        RunRect* runs = reinterpret_cast<RunRect*>(block_ + kRegionHeaderBytes);
        HRGN region = CreatePiece(runs, count_ < kRunsPerPiece ? count_ : kRunsPerPiece, width, height);
        for (size_t done = kRunsPerPiece; region != nullptr && done < count_; done += kRunsPerPiece) {
            // The piece's header overwrites the runs just used before it.
            const size_t n = count_ - done < kRunsPerPiece ? count_ - done : kRunsPerPiece;
            ScopedRegion piece(CreatePiece(runs + done, n, width, height));
            if (piece.Get() == nullptr || CombineRgn(region, region, piece.Get(), RGN_OR) == ERROR) {
                DeleteObject(region);
                region = nullptr;
            }
        }
        if (region == nullptr) {
            SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        }
        return region;
    }

private:
    static constexpr size_t kRunsPerPiece = 256;

    // A region of n runs whose description is written in the 32 bytes just
    // before them (the block's header, or runs already turned into a region).
    static HRGN CreatePiece(RunRect* runs, size_t n, LONG width, LONG height) {
        RGNDATAHEADER* header = reinterpret_cast<RGNDATAHEADER*>(reinterpret_cast<unsigned char*>(runs) - kRegionHeaderBytes);
        const DWORD size = static_cast<DWORD>(kRegionHeaderBytes + n * sizeof(RunRect));
        header->dwSize = kRegionHeaderBytes;
        header->iType = RDH_RECTANGLES;
        header->nCount = static_cast<DWORD>(n);
        header->nRgnSize = size;
        SetRect(&header->rcBound, 0, 0, width, height);
        return ExtCreateRegion(nullptr, size, reinterpret_cast<const RGNDATA*>(header));
    }

    unsigned char* block_ = nullptr;
    size_t capacity_ = 0;
    size_t count_ = 0;
};

// Scans lines [first, first + lines) of the image; `rows` holds them as a
// bottom-up 24-bit block of rowCount rows whose top row is line `first`.
bool ScanLines(const BYTE* rows, DWORD stride, int rowCount, int first, int lines, int width, COLORREF key,
               RegionDescription* description) {
    const size_t most = MostRunsInLine(width);
    for (int j = 0; j < lines; ++j) {
        if (!description->Reserve(most)) {
            return false;
        }
        const BYTE* line = rows + static_cast<size_t>(rowCount - 1 - j) * stride;
        description->Added(ScanOpaqueRunsInLine(line, width, key, first + j, description->Next()));
    }
    return true;
}

}  // namespace

HRGN BitmapBuffer::CreateOpaqueRegion(COLORREF transparentColor) const {
    if (info == nullptr || dc == nullptr) {
        SetLastError(ERROR_INVALID_FUNCTION);
        return nullptr;
    }
    const int width = Width();
    const int height = Height();
    RegionDescription description;
    // Most pictures have about one run per line; start there.
    if (!description.Reserve(static_cast<size_t>(height) + MostRunsInLine(width))) {
        return nullptr;
    }

    if (BitCount() == 24) {
        GdiFlush();
        if (!ScanLines(bits, Stride(), height, 0, height, width, transparentColor, &description)) {
            return nullptr;
        }
        return description.Create(width, height);
    }

    const size_t stride24 = (static_cast<size_t>(width) * 24 + 31) / 32 * 4;
    int bandLines = static_cast<int>(kBandBytes / stride24);
    if (bandLines < 1) {
        bandLines = 1;
    }
    if (bandLines > height) {
        bandLines = height;
    }
    BitmapBuffer band;
    if (!band.Create(width, bandLines, 24, RGB(0, 0, 0))) {
        return nullptr;
    }
    for (int first = 0; first < height; first += bandLines) {
        const int lines = height - first < bandLines ? height - first : bandLines;
        if (!Draw(band.Dc(), 0, 0, width, lines, 0, first, width, lines, SRCCOPY)) {
            return nullptr;
        }
        GdiFlush();
        if (!ScanLines(band.Bits(), band.Stride(), bandLines, first, lines, width, transparentColor,
                       &description)) {
            return nullptr;
        }
    }
    return description.Create(width, height);
}
