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

std::string InCodePage932(const wchar_t* text) {
    char buffer[1024] = {};
    const int length = WideCharToMultiByte(932, 0, text, -1, buffer, sizeof buffer, nullptr, nullptr);
    return std::string(buffer, length > 0 ? length - 1 : 0);
}

TEST(Resources, TheTestsRunInCodePage932) {
    ASSERT_EQ(GetACP(), 932u);
}

TEST(Resources, TheErrorMessageArrivesAsShiftJisBytes) {
    // 予期せぬエラーが発生しました。
    const unsigned char expected[] = {0x97, 0x5c, 0x8a, 0xfa, 0x82, 0xb9, 0x82, 0xca, 0x83, 0x47, 0x83,
                                      0x89, 0x81, 0x5b, 0x82, 0xaa, 0x94, 0xad, 0x90, 0xb6, 0x82, 0xb5,
                                      0x82, 0xdc, 0x82, 0xb5, 0x82, 0xbd, 0x81, 0x42};
    EXPECT_EQ(LoadText(IDS_UNEXPECTED_ERROR),
              std::string(reinterpret_cast<const char*>(expected), sizeof expected));
}

TEST(Resources, EveryStringOfTheTableIsPresentWithItsText) {
    EXPECT_EQ(LoadText(IDS_SPEED_FAST), InCodePage932(L"速い"));
    EXPECT_EQ(LoadText(IDS_SPEED_SOMEWHAT_FAST), InCodePage932(L"やや速い"));
    EXPECT_EQ(LoadText(IDS_SPEED_NORMAL), InCodePage932(L"普通"));
    EXPECT_EQ(LoadText(IDS_SPEED_SOMEWHAT_SLOW), InCodePage932(L"やや遅い"));
    EXPECT_EQ(LoadText(IDS_SPEED_SLOW), InCodePage932(L"遅い"));
    EXPECT_EQ(LoadText(IDS_TAB_PICTURES), InCodePage932(L"画像"));
    EXPECT_EQ(LoadText(IDS_TAB_DISPLAY), InCodePage932(L"表示"));
    EXPECT_EQ(LoadText(IDS_TAB_BACKGROUND), InCodePage932(L"背景"));
    EXPECT_EQ(LoadText(IDS_TAB_MUSIC), InCodePage932(L"音楽"));
    EXPECT_EQ(LoadText(IDS_FILTER_PICTURES),
              InCodePage932(L"JPEG ファイル (*.jpg)/*.jpg/ビットマップ ファイル (*.bmp)/*.bmp/"
                            L"全てのファイル (*.*)/*.*/"));
    EXPECT_EQ(LoadText(IDS_FILTER_MUSIC),
              InCodePage932(L"WAV ファイル (*.wav)/*.wav/MIDI ファイル (*.mid)/*.mid/全てのファイル (*.*)/*.*/"));
    EXPECT_EQ(LoadText(IDS_SELECT_FOLDER), InCodePage932(L"フォルダを選択してください。"));
}

TEST(Resources, TheIconIsResource104) {
    EXPECT_NE(LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_GLEAMO)), nullptr);
    EXPECT_EQ(LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(100)), nullptr);
}

}  // namespace
