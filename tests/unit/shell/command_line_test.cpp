#include "shell/command_line.h"

#include <gtest/gtest.h>

#include <utility>

namespace {

// A quoted name may hold blanks and runs to its closing quote; an unquoted one
// ends at the first blank or control character.
TEST(CommandLine, TheProgramNameAndTheBlanksAfterItAreSkipped) {
    const std::pair<const char*, const char*> cases[] = {
        {"\"C:\\Program Files\\gleamo.scr\"/p 12", "/p 12"},
        {"\"C:\\unterminated name /s", ""},
        {"gleamo.scr\t\t /s", "/s"},
        {"gleamo.scr    ", ""},
    };
    for (const auto& c : cases) {
        EXPECT_STREQ(SkipProgramName(c.first), c.second) << c.first;
    }
}

}  // namespace
