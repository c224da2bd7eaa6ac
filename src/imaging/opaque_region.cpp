// The opaque region of an image: BitmapBuffer::CreateOpaqueRegion.
#include <climits>
#include <cstdint>

#include "base/gdi_guards.h"
#include "base/process_heap.h"
#include "imaging/bitmap_buffer.h"
#include "imaging/opaque_runs.h"

namespace {

constexpr size_t REGION_HEADER_BYTES = sizeof(RGNDATAHEADER);
static_assert(sizeof(RGNDATAHEADER) == 32 && sizeof(RECT) == sizeof(RunRect), "the description layout");

// Other depths are compared after a GDI copy into 24 bits, done in bands of
// about this many bytes so the copy never grows with the picture's height.
constexpr size_t BAND_BYTES = 1u << 20;

// The largest description the region call can take: its size is a DWORD, and
// the 32-bit address space would not hold more anyway.
constexpr uint64_t MAX_DESCRIPTION_BYTES = 0x7FFFFFF0u;

// Joins regions handed over in order into their union, the way a binary
// counter carries: a new piece is joined with the partial region on top of
// the stack while that holds as many pieces as it does, so only neighbours of
// equal weight are ever joined. Each piece is copied once per level, about
// log2(pieces) times in all, and at most one partial region per level (one
// per bit of the piece count) is alive at once.
class RegionJoin {
public:
    RegionJoin() = default;
    RegionJoin(const RegionJoin&) = delete;
    RegionJoin& operator=(const RegionJoin&) = delete;
    ~RegionJoin() {
        while (depth_ > 0) {
            DeleteObject(stack_[--depth_].region);
        }
    }

    // Takes the piece over whatever the result; false when it is NULL or a
    // join fails.
    bool Add(HRGN piece) {
        if (piece == nullptr) {
            return false;
        }
        size_t pieces = 1;
        while (depth_ > 0 && stack_[depth_ - 1].pieces == pieces) {
            // The older region is the destination and keeps its handle; the
            // newer one goes once it is copied in.
            ScopedRegion newer(piece);
            HRGN older = stack_[depth_ - 1].region;
            if (CombineRgn(older, older, newer.Get(), RGN_OR) == ERROR) {
                return false;
            }
            --depth_;
            piece = older;
            pieces *= 2;
        }
        stack_[depth_++] = Partial{piece, pieces};
        return true;
    }

    // The union of every piece added, owned by the caller; NULL when nothing
    // was added or a join fails.
    HRGN Finish() {
        // From the lightest partial region down: each join costs about as
        // much as the heavier region below it, so all of them together about
        // twice the whole at most.
        while (depth_ > 1) {
            ScopedRegion lighter(stack_[--depth_].region);
            HRGN below = stack_[depth_ - 1].region;
            if (CombineRgn(below, below, lighter.Get(), RGN_OR) == ERROR) {
                return nullptr;
            }
        }
        return depth_ == 0 ? nullptr : stack_[--depth_].region;
    }

private:
    struct Partial {
        HRGN region;
        size_t pieces;
    };
    // One level per bit of a size_t piece count.
    Partial stack_[sizeof(size_t) * CHAR_BIT] = {};
    size_t depth_ = 0;
};

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
        uint64_t bytes = REGION_HEADER_BYTES + wanted * sizeof(RunRect);
        if (bytes > MAX_DESCRIPTION_BYTES) {
            // Doubling overshot the limit; the exact need may still fit.
            wanted = static_cast<uint64_t>(count_) + more;
            bytes = REGION_HEADER_BYTES + wanted * sizeof(RunRect);
            if (bytes > MAX_DESCRIPTION_BYTES) {
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

    RunRect* Next() { return reinterpret_cast<RunRect*>(block_ + REGION_HEADER_BYTES) + count_; }
    void Added(size_t runs) { count_ += runs; }

    // One ExtCreateRegion over the whole description gives the region, but
    // Wine builds it rectangle by rectangle, in time that grows with the
    // square of the count when the runs differ from line to line (seconds
    // for a large photograph). So the runs become small regions, in line
    // order, and those are joined as neighbours two by two (RegionJoin):
    // every run is then copied about log2(pieces) times, rather than once for
    // every later piece, as adding each piece to the whole would.
    HRGN Create(LONG width, LONG height) {
        if (block_ == nullptr && !Reserve(1)) {
            return nullptr;
        }
        RunRect* runs = reinterpret_cast<RunRect*>(block_ + REGION_HEADER_BYTES);
        RegionJoin join;
        size_t done = 0;
        do {
            // The piece's header overwrites the runs just used before it.
            const size_t n = count_ - done < RUNS_PER_PIECE ? count_ - done : RUNS_PER_PIECE;
            if (!join.Add(CreatePiece(runs + done, n, width, height))) {
                SetLastError(ERROR_NOT_ENOUGH_MEMORY);
                return nullptr;
            }
            done += n;
        } while (done < count_);
        HRGN region = join.Finish();
        if (region == nullptr) {
            SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        }
        return region;
    }

private:
    // Inside a piece Wine's cost still grows with the square of its runs:
    // for a million runs, pieces of 256 took three times as long as pieces
    // of 32, which in turn make only some thirty thousand calls.
    static constexpr size_t RUNS_PER_PIECE = 32;

    // A region of n runs whose description is written in the 32 bytes just
    // before them (the block's header, or runs already turned into a region).
    static HRGN CreatePiece(RunRect* runs, size_t n, LONG width, LONG height) {
        RGNDATAHEADER* header =
            reinterpret_cast<RGNDATAHEADER*>(reinterpret_cast<unsigned char*>(runs) - REGION_HEADER_BYTES);
        const DWORD size = static_cast<DWORD>(REGION_HEADER_BYTES + n * sizeof(RunRect));
        header->dwSize = REGION_HEADER_BYTES;
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
bool ScanLines(const BYTE* rows, DWORD stride, int rowCount, int first, int lines, int width,
               COLORREF transparentColor, RegionDescription* description) {
    const size_t most = MostRunsInLine(width);
    for (int j = 0; j < lines; ++j) {
        if (!description->Reserve(most)) {
            return false;
        }
        const BYTE* line = rows + static_cast<size_t>(rowCount - 1 - j) * stride;
        description->Added(ScanOpaqueRunsInLine(line, width, transparentColor, first + j, description->Next()));
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
    int bandLines = static_cast<int>(BAND_BYTES / stride24);
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
