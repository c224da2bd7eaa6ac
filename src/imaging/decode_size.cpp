#include "imaging/decode_size.h"

#include "imaging/area_shrink.h"

namespace {

constexpr uint64_t LINE_ALIGNMENT = 4;

uint32_t DividedUp(uint32_t side, uint32_t divisor) {
    return static_cast<uint32_t>((static_cast<uint64_t>(side) + divisor - 1) / divisor);
}

uint32_t AtMostShrinkSide(uint32_t side) {
    return side > static_cast<uint32_t>(MAX_SHRINK_SIDE) ? static_cast<uint32_t>(MAX_SHRINK_SIDE) : side;
}

}  // namespace

bool FitsAreaShrink(DecodeSize size) {
    return size.width <= static_cast<uint32_t>(MAX_SHRINK_SIDE) &&
           size.height <= static_cast<uint32_t>(MAX_SHRINK_SIDE);
}

DecodeSize ReducedSize(DecodeSize stored, uint32_t divisor) {
    if (divisor == 0) {
        return stored;
    }
    return {DividedUp(stored.width, divisor), DividedUp(stored.height, divisor)};
}

bool ReductionServes(DecodeSize stored, DecodeSize reduced, DecodeSize target) {
    return reduced.width >= target.width && reduced.height >= target.height && reduced.width < stored.width &&
           reduced.height < stored.height && FitsAreaShrink(reduced);
}

DecodeSize ScaledSourceSize(DecodeSize stored, DecodeSize target) {
    if (FitsAreaShrink(stored)) {
        return stored;
    }
    if (!FitsAreaShrink(target)) {
        return target;
    }
    return {AtMostShrinkSide(stored.width), AtMostShrinkSide(stored.height)};
}

bool LineBlockOf(uint32_t width, uint32_t height, uint32_t bytesPerPixel, LineBlock* block) {
    const uint64_t stride =
        (static_cast<uint64_t>(width) * bytesPerPixel + LINE_ALIGNMENT - 1) / LINE_ALIGNMENT * LINE_ALIGNMENT;
    // A stride within 32 bits keeps the product within 64.
    if (width == 0 || height == 0 || stride > UINT32_MAX || stride * height > UINT32_MAX) {
        return false;
    }
    const uint64_t bytes = stride * height;
    *block = {static_cast<uint32_t>(stride), static_cast<uint32_t>(bytes)};
    return true;
}
