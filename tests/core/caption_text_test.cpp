#include "imaging/caption_text.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(CaptionText, DateAndTheFolderThatHoldsTheFile) {
    const CalendarDate date = {2023, 8, 12};
    const struct {
        const CalendarDate* date;
        const char16_t* path;
        std::u16string expected;
    } cases[] = {
        {&date, u"C:\\写真\\北海道旅行\\a.jpg", u"2023年8月12日\u3000北海道旅行"},
        {&date, u"C:\\a.jpg", u"2023年8月12日"},
        {&date, u"C:/photos/2019 運動会/a.jpg", u"2023年8月12日\u3000""2019 運動会"},
        {&date, u"\\\\server\\share\\a.jpg", u"2023年8月12日"},
        {&date, u"\\\\?\\UNC\\server\\share\\a.jpg", u"2023年8月12日"},
        {nullptr, u"\\\\?\\C:\\x\\𠮷野家\\a.jpg", u"𠮷野家"},
        {nullptr, u"\\\\server\\share\\Ωmega\\a.jpg", u"Ωmega"},
        {nullptr, u"C:\\a.jpg", u""},
    };
    for (const auto& c : cases) {
        char16_t text[CAPTION_TEXT_CAPACITY];
        const size_t length = ComposeCaption(c.date, c.path, text, CAPTION_TEXT_CAPACITY);
        EXPECT_EQ(std::u16string(text, length), c.expected);
        EXPECT_EQ(text[length], 0);
    }
    char16_t shortText[6];
    EXPECT_EQ(std::u16string(shortText, ComposeCaption(&date, u"C:\\x\\a.jpg", shortText, 6)), u"2023年");
}

}  // namespace
