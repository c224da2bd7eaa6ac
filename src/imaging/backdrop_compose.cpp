#include "imaging/backdrop_compose.h"

namespace {

constexpr int OPAQUE_ALPHA = 255;

uint8_t Over(uint8_t channel, int uncovered, uint8_t backdrop) {
    const int value = channel + (uncovered * backdrop + OPAQUE_ALPHA / 2) / OPAQUE_ALPHA;
    return static_cast<uint8_t>(value > OPAQUE_ALPHA ? OPAQUE_ALPHA : value);
}

}  // namespace

void ComposeOverBackdrop(const uint8_t* premultiplied, int width, BackdropColor backdrop, uint8_t* out) {
    for (int x = 0; x < width; ++x, premultiplied += 4, out += 3) {
        const int uncovered = OPAQUE_ALPHA - premultiplied[3];
        out[0] = Over(premultiplied[0], uncovered, backdrop.blue);
        out[1] = Over(premultiplied[1], uncovered, backdrop.green);
        out[2] = Over(premultiplied[2], uncovered, backdrop.red);
    }
}
