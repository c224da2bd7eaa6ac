#include "shell/switch_scan.h"

namespace {

const char* SkipSpaces(const char* p) {
    while (*p == ' ') {
        ++p;
    }
    return p;
}

}  // namespace

SaverSwitch ScanSaverSwitch(const char* arguments) {
    for (const char* p = arguments;; ++p) {
        switch (*p) {
            case '\0':
                return {SaverMode::Settings, nullptr};
            case ' ':
            case '-':
            case '/':
                continue;
            case 'S':
            case 's':
                return {SaverMode::FullScreen, nullptr};
            case 'C':
            case 'c':
                return {SaverMode::SettingsOwned, p[1] == ':' ? p + 2 : nullptr};
            case 'P':
            case 'p':
            case 'L':
            case 'l':
                return {SaverMode::Preview, SkipSpaces(p + 1)};
            case 'A':
            case 'a':
                return {SaverMode::ChangePassword, SkipSpaces(p + 1)};
            default:
                return {SaverMode::Invalid, nullptr};
        }
    }
}

std::uint32_t ParseHandleValue(const char* text) {
    std::uint32_t value = 0;
    for (const char* p = text; *p >= '0' && *p <= '9'; ++p) {
        value = value * 10u + static_cast<std::uint32_t>(*p - '0');
    }
    return value;
}
