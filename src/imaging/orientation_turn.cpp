#include "imaging/orientation_turn.h"

#include <cstring>

namespace {

bool SwapsSides(ExifOrientation orientation) {
    return orientation >= ExifOrientation::kTranspose && orientation <= ExifOrientation::kTurnAnticlockwise;
}

bool FitsStride(const PixelRows& rows, int bytesPerPixel) {
    const long long lineBytes = static_cast<long long>(rows.width) * bytesPerPixel;
    const long long stride = rows.stride < 0 ? -static_cast<long long>(rows.stride) : rows.stride;
    return rows.top != nullptr && rows.width > 0 && rows.height > 0 && lineBytes <= stride;
}

// How the destination walks the source: the source pixel that becomes the
// destination's top-left one, and the source byte steps that one pixel to
// the right and one line down in the destination amount to.
struct SourceWalk {
    ptrdiff_t start;
    ptrdiff_t across;
    ptrdiff_t down;
};

SourceWalk WalkFor(ExifOrientation orientation, int bytesPerPixel, const PixelRows& source) {
    const ptrdiff_t column = bytesPerPixel;
    const ptrdiff_t line = source.stride;
    const ptrdiff_t lastColumn = (source.width - 1) * column;
    const ptrdiff_t lastLine = (source.height - 1) * line;
    switch (orientation) {
    case ExifOrientation::kMirrorLeftRight:
        return {lastColumn, -column, line};
    case ExifOrientation::kTurn180:
        return {lastLine + lastColumn, -column, -line};
    case ExifOrientation::kMirrorTopBottom:
        return {lastLine, column, -line};
    case ExifOrientation::kTranspose:
        return {0, line, column};
    case ExifOrientation::kTurnClockwise:  // the left column becomes the top line
        return {lastLine, -line, column};
    case ExifOrientation::kTransverse:
        return {lastLine + lastColumn, -line, -column};
    case ExifOrientation::kTurnAnticlockwise:  // the right column becomes the top line
        return {lastColumn, line, -column};
    default:
        return {0, column, line};
    }
}

}  // namespace

PixelSize TurnedSize(ExifOrientation orientation, int width, int height) {
    return SwapsSides(orientation) ? PixelSize{height, width} : PixelSize{width, height};
}

bool TurnPixelRows(ExifOrientation orientation, int bytesPerPixel, const PixelRows& source,
                   const PixelRows& destination) {
    if (orientation < ExifOrientation::kAsStored || orientation > ExifOrientation::kTurnAnticlockwise ||
        (bytesPerPixel != 3 && bytesPerPixel != 4) || !FitsStride(source, bytesPerPixel) ||
        !FitsStride(destination, bytesPerPixel)) {
        return false;
    }
    const PixelSize turned = TurnedSize(orientation, source.width, source.height);
    if (destination.width != turned.width || destination.height != turned.height) {
        return false;
    }

    const SourceWalk walk = WalkFor(orientation, bytesPerPixel, source);
    const size_t lineBytes = static_cast<size_t>(destination.width) * bytesPerPixel;
    ptrdiff_t lineStart = walk.start;
    for (int y = 0; y < destination.height; ++y, lineStart += walk.down) {
        uint8_t* out = destination.top + y * destination.stride;
        if (walk.across == bytesPerPixel) {
            std::memcpy(out, source.top + lineStart, lineBytes);  // the source line read as it is
            continue;
        }
        ptrdiff_t from = lineStart;
        for (size_t x = 0; x < lineBytes; x += bytesPerPixel, from += walk.across) {
            std::memcpy(out + x, source.top + from, bytesPerPixel);
        }
    }
    return true;
}
