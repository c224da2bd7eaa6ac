// Paths hold at most 259 characters plus the terminator.
#pragma once

constexpr int MAX_PATH_CHARS = 259;
constexpr int PATH_BUFFER_SIZE = MAX_PATH_CHARS + 1;
