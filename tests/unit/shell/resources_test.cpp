// The program's texts reach it in the user's code page: these suites run in
// code page 932, where the string table's UTF-16 texts become Shift_JIS bytes.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "resources/resource_ids.h"

namespace {

std::string LoadText(UINT id) {
    char buffer[1024] = {};
    const int length = LoadStringA(GetModuleHandleA(nullptr), id, buffer, sizeof buffer);
    return std::string(buffer, length);
}

TEST(Resources, TheStringTableArrivesAsShiftJisBytes) {
    ASSERT_EQ(GetACP(), 932u);
    // 予期せぬエラーが発生しました。
    const unsigned char expected[] = {0x97, 0x5c, 0x8a, 0xfa, 0x82, 0xb9, 0x82, 0xca, 0x83, 0x47, 0x83,
                                      0x89, 0x81, 0x5b, 0x82, 0xaa, 0x94, 0xad, 0x90, 0xb6, 0x82, 0xb5,
                                      0x82, 0xdc, 0x82, 0xb5, 0x82, 0xbd, 0x81, 0x42};
    EXPECT_EQ(LoadText(IDS_UNEXPECTED_ERROR),
              std::string(reinterpret_cast<const char*>(expected), sizeof expected));
    // Every other string must be there too; the dialog tests read most of them back.
    for (UINT id : {IDS_DESCRIPTION, IDS_SPEED_FAST, IDS_SPEED_SOMEWHAT_FAST, IDS_SPEED_NORMAL, IDS_SPEED_SOMEWHAT_SLOW,
                    IDS_SPEED_SLOW, IDS_TAB_PICTURES, IDS_TAB_DISPLAY, IDS_TAB_BACKGROUND, IDS_TAB_MUSIC,
                    IDS_FILTER_PICTURES, IDS_FILTER_MUSIC, IDS_SELECT_FOLDER}) {
        EXPECT_NE(LoadText(id), "") << "string " << id;
    }
}

// The saver window's class asks for icon 100, which must stay absent.
TEST(Resources, TheIconIsResource104) {
    EXPECT_NE(LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_GLEAMO)), nullptr);
    EXPECT_EQ(LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(100)), nullptr);
}

}  // namespace
