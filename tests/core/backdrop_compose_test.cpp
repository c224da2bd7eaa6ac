#include "imaging/backdrop_compose.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// Opaque, transparent, half covered, and a channel above its alpha (not
// premultiplied data) that must saturate rather than wrap.
TEST(BackdropCompose, TransparencyShowsTheBackdropInProportion) {
    const std::vector<uint8_t> in = {10, 20, 30, 255,  0, 0, 0, 0,  64, 0, 128, 128,  250, 250, 250, 10};
    std::vector<uint8_t> out(12, 0xA5);
    ComposeOverBackdrop(in.data(), 4, BackdropColor{255, 255, 255}, out.data());
    EXPECT_EQ(out, (std::vector<uint8_t>{10, 20, 30, 255, 255, 255, 191, 127, 255, 255, 255, 255}));
    ComposeOverBackdrop(in.data() + 4, 1, BackdropColor{40, 80, 120}, out.data());
    EXPECT_EQ(std::vector<uint8_t>(out.begin(), out.begin() + 3), (std::vector<uint8_t>{40, 80, 120}));
}

}  // namespace
