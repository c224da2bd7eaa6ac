// Pixel sizes times a zoom or scale factor, truncated toward zero. No Win32 here.
#pragma once

#include <climits>

// trunc(size * scale) into *result; false when the product is not a number or
// does not fit in an int (where a plain conversion would be undefined).
inline bool ScaleDimension(int size, double scale, int* result) {
    const double product = static_cast<double>(size) * scale;
    if (!(product > static_cast<double>(INT_MIN) - 1.0 && product < static_cast<double>(INT_MAX) + 1.0)) {
        return false;
    }
    *result = static_cast<int>(product);
    return true;
}
