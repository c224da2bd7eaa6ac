#include "imaging/caption_layout.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(CaptionLayout, TextHeightFollowsThePictureWithinItsBoundsOrNoCaption) {
    const struct {
        int width, height;
        double dpiScale;
        int textHeight;  // 0: no caption
    } cases[] = {
        {1920, 1080, 1.0, 32}, {800, 600, 1.0, 30}, {300, 200, 1.0, 11}, {200, 126, 1.0, 11},
        {200, 125, 1.0, 0},    {125, 600, 1.0, 0},  {152, 112, 1.0, 0},  {1000, 300, 1.5, 16},
        {3000, 2000, 1.5, 48}, {300, 190, 1.5, 0},
    };
    for (const auto& c : cases) {
        CaptionBox box = {};
        EXPECT_EQ(CaptionBoxFor(c.width, c.height, c.dpiScale, &box) ? box.textHeight : 0, c.textHeight)
            << c.width << "x" << c.height << " at " << c.dpiScale;
    }
}

// Ten pixels a character, as if each unit of the text were one.
class TenPerUnit : public TextMeasure {
public:
    int Width(const char16_t*, size_t length) override { return static_cast<int>(length) * 10; }
};

TEST(CaptionLayout, TextWiderThanThePictureEndsInAnEllipsis) {
    const std::u16string text = u"2023年8月12日\u3000𠮷野家";  // 𠮷 is a surrogate pair: units 11 and 12
    const struct {
        int maxWidth;
        std::u16string expected;
    } cases[] = {
        {150, text},
        {140, u"2023年8月12日\u3000𠮷…"},
        {130, u"2023年8月12日…"},
        {110, u"2023年8月12日…"},
        {40, u"202…"},
        {10, u"…"},
        {9, u""},
    };
    for (const auto& c : cases) {
        TenPerUnit measure;
        char16_t fitted[32];
        const size_t length = FitCaption(text.data(), text.size(), c.maxWidth, measure, fitted);
        EXPECT_EQ(std::u16string(fitted, length), c.expected) << c.maxWidth;
        EXPECT_EQ(fitted[length], 0);
    }
}

}  // namespace
