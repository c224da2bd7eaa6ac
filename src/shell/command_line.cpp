#include "shell/command_line.h"

#include <windows.h>

namespace {

bool IsBlankOrControl(char c) {
    const unsigned char byte = static_cast<unsigned char>(c);
    return byte != 0 && byte <= ' ';
}

}  // namespace

const char* SkipProgramName(const char* commandLine) {
    const char* p = commandLine;
    if (*p == '"') {
        p = CharNextA(p);
        while (*p != '\0' && *p != '"') {
            p = CharNextA(p);
        }
        if (*p == '"') {
            ++p;
        }
    } else {
        while (static_cast<unsigned char>(*p) > ' ') {
            ++p;
        }
    }
    while (IsBlankOrControl(*p)) {
        ++p;
    }
    return p;
}
