#include "imaging/picture_formats.h"

#include <windows.h>

#include <objbase.h>

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "base/test_hooks.h"

namespace {

std::set<std::wstring> Extensions() {
    HeapArray<wchar_t> list;
    EXPECT_TRUE(ReadablePictureExtensions(list));
    std::set<std::wstring> extensions;
    for (size_t at = 0; at < list.Count() && list[at] != L'\0'; at += static_cast<size_t>(lstrlenW(&list[at])) + 1) {
        EXPECT_TRUE(extensions.insert(&list[at]).second) << "listed twice";
    }
    return extensions;
}

// Decoders give their extensions in upper case and, on some systems,
// separated by semicolons rather than commas: each comes out alone, in lower
// case. A GIF is refused by its content, so its files are never listed.
TEST(PictureFormats, TheDecodersExtensionsWithTheJpegNamesAndWithoutGif) {
    CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    const std::set<std::wstring> decoded = Extensions();
    CoUninitialize();
    for (const wchar_t* expected : {L".bmp", L".jpg", L".jpeg", L".jpe", L".jfif", L".png", L".tif", L".tiff"}) {
        EXPECT_EQ(decoded.count(expected), 1u) << expected;
    }
    EXPECT_EQ(decoded.count(L".gif"), 0u);

    Hooks().imagingComponentMissing = true;
    EXPECT_EQ(Extensions(), (std::set<std::wstring>{L".bmp", L".jpg", L".jpeg", L".jpe"}));
}

}  // namespace
