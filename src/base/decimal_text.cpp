#include "base/decimal_text.h"

#include <climits>

int ParseSignedDecimal(const char* text) {
    const char* p = text;
    while (*p == ' ' || *p == '\t') {
        ++p;
    }
    bool negative = false;
    if (*p == '-' || *p == '+') {
        negative = (*p == '-');
        ++p;
    }
    // Accumulate the magnitude in 64 bits and stop growing once it is past the
    // 32-bit range, so that any number of digits is safe.
    const long long limit = negative ? -static_cast<long long>(INT_MIN) : INT_MAX;
    long long magnitude = 0;
    for (; *p >= '0' && *p <= '9'; ++p) {
        if (magnitude <= limit) {
            magnitude = magnitude * 10 + (*p - '0');
        }
    }
    if (magnitude > limit) {
        magnitude = limit;
    }
    return static_cast<int>(negative ? -magnitude : magnitude);
}
