#include "shell/command_line.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string ArgumentsOf(const char* commandLine) {
    return SkipProgramName(commandLine);
}

TEST(CommandLine, QuotedNameWithBlanksIsSkippedWhole) {
    EXPECT_EQ(ArgumentsOf("\"C:\\Program Files\\gleamo.scr\" /s"), "/s");
    EXPECT_EQ(ArgumentsOf("\"C:\\Program Files\\gleamo.scr\"/p 12"), "/p 12");
    EXPECT_EQ(ArgumentsOf("\"C:\\unterminated name /s"), "");
}

TEST(CommandLine, UnquotedNameEndsAtTheFirstBlankOrControlCharacter) {
    EXPECT_EQ(ArgumentsOf("C:\\gleamo.scr /c:123"), "/c:123");
    EXPECT_EQ(ArgumentsOf("gleamo.scr\t\t /s"), "/s");
    EXPECT_EQ(ArgumentsOf("gleamo.scr"), "");
    EXPECT_EQ(ArgumentsOf("gleamo.scr    "), "");
    EXPECT_EQ(ArgumentsOf(""), "");
}

TEST(CommandLine, DoubleByteNamesAreSteppedOverWhole) {
    // "C:\表示\予.scr" in code page 932: 表 and 予 end in the byte 0x5C.
    EXPECT_EQ(ArgumentsOf("\"C:\\\x95\x5c\x8e\xa6\\\x97\x5c.scr\" /s"), "/s");
    EXPECT_EQ(ArgumentsOf("C:\\\x95\x5c\x8e\xa6\\\x97\x5c.scr /p 5"), "/p 5");
}

}  // namespace
