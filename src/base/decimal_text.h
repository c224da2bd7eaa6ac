// Decimal text to integer, as the settings file stores numbers.
#pragma once

// Reads an optional run of blanks, an optional sign and the leading decimal
// digits of text; stops at the first other character. No digits gives 0, and
// values beyond the 32-bit range saturate at INT_MIN or INT_MAX.
int ParseSignedDecimal(const char* text);
