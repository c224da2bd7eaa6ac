// A photo library as users keep one: pictures in folders of folders, in the
// formats of cameras, phones and screenshots, under names in any script, and
// a folder that links back up its own tree.
#include <windows.h>

#include <wincodec.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include "base/gdi_guards.h"
#include "support/process_run.h"
#include "support/test_files.h"
#include "support/test_pictures.h"

namespace {

constexpr DWORD SHOW_LIMIT_MS = 30000;
constexpr DWORD END_LIMIT_MS = 10000;
constexpr COLORREF BACK = RGB(0, 0, 0);
// Far enough apart that a JPEG's small shifts still name the picture.
constexpr COLORREF COLORS[] = {RGB(255, 0, 0),   RGB(0, 255, 0),   RGB(0, 0, 255),     RGB(255, 255, 0),
                               RGB(255, 0, 255), RGB(0, 255, 255), RGB(255, 255, 255), RGB(128, 128, 128)};

enum class Kind { kBmp, kJpeg, kPng, kTiff };

struct LibraryPicture {
    const wchar_t* path;  // under the library folder
    Kind kind;
    bool inTopFolderAsBefore;  // what a folder gave before sub-folders and every format
};

// 서울, café, 🌸 and 깊은: outside code page 932, in which the tests run.
const LibraryPicture PICTURES[] = {
    {L"a.bmp", Kind::kBmp, true},
    {L"\xD83C\xDF38.bmp", Kind::kBmp, true},
    {L"b.jpg", Kind::kJpeg, true},
    {L"C.JPG", Kind::kJpeg, true},
    {L"d.jpeg", Kind::kJpeg, false},
    {L"\xC11C\xC6B8\\e.png", Kind::kPng, false},
    {L"\xC11C\xC6B8\\\xAE4A\xC740\\f.tif", Kind::kTiff, false},
    {L"\xC11C\xC6B8\\\xAE4A\xC740\\caf\x00E9.jpg", Kind::kJpeg, false},
};

bool WritePicture(const std::string& path, Kind kind, COLORREF color) {
    const auto solid = [color](int, int) { return color; };
    switch (kind) {
        case Kind::kBmp:
            return WriteFileBytes(path, SolidBmp24(48, 48, color));
        case Kind::kJpeg:
            return WriteJpeg(path, 48, 48, solid);
        case Kind::kPng:
            return WriteEncodedPicture(path, GUID_ContainerFormatPng, 48, 48, solid);
        case Kind::kTiff:
            return WriteEncodedPicture(path, GUID_ContainerFormatTiff, 48, 48, solid);
    }
    return false;
}

// Runs a Unix command in folder, as Wine lets a program do. Wine gives no
// exit code and may not wait for its end: the caller looks for what it did.
void RunUnixCommand(const std::wstring& folder, const wchar_t* program, const wchar_t* arguments) {
    std::wstring command = std::wstring(program) + L" " + arguments;
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (CreateProcessW(program, &command[0], nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup,
                       &process)) {
        WaitForSingleObject(process.hProcess, 10000);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
}

int PictureOf(COLORREF pixel) {
    for (int i = 0; i < static_cast<int>(sizeof COLORS / sizeof COLORS[0]); ++i) {
        const int distance = std::abs(GetRValue(pixel) - GetRValue(COLORS[i])) +
                             std::abs(GetGValue(pixel) - GetGValue(COLORS[i])) +
                             std::abs(GetBValue(pixel) - GetBValue(COLORS[i]));
        if (distance < 40) {
            return i;
        }
    }
    return -1;
}

class PhotoLibrary : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(GleamoPath().empty()) << "GLEAMO_SCR is not set";
        library_ = Wide(folder_ / "library\\");
        ASSERT_TRUE(CreateDirectoryW(library_.c_str(), nullptr));
        ASSERT_TRUE(CreateDirectoryW((library_ + L"\xC11C\xC6B8").c_str(), nullptr));
        ASSERT_TRUE(CreateDirectoryW((library_ + L"\xC11C\xC6B8\\\xAE4A\xC740").c_str(), nullptr));
        for (int i = 0; i < static_cast<int>(sizeof PICTURES / sizeof PICTURES[0]); ++i) {
            ASSERT_TRUE(WritePicture(folder_ / "made", PICTURES[i].kind, COLORS[i])) << i;
            ASSERT_TRUE(MoveFileW(Wide(folder_ / "made").c_str(), (library_ + PICTURES[i].path).c_str())) << i;
        }
        // A link back up the tree, made on the Unix side, which this Wine shows
        // as a linked folder (older ones as a plain folder, caught by its identity).
        linkFolder_ = library_ + L"\xC11C\xC6B8\\\xAE4A\xC740";
        RunUnixCommand(linkFolder_, L"/bin/ln", L"-s ../.. loop");
        ASSERT_TRUE(WaitUntil(10000, [this] {
            return GetFileAttributesW((linkFolder_ + L"\\loop\\a.bmp").c_str()) != INVALID_FILE_ATTRIBUTES;
        }));
        ASSERT_TRUE(CopyFileA(GleamoPath().c_str(), (folder_ / "gleamo.scr").c_str(), FALSE));
    }

    // The pictures of the first slides, as many as asked for, read at the
    // middle of the screen as they show.
    std::vector<int> Slides(const std::string& librarySettings, size_t count) {
        EXPECT_TRUE(WriteFileBytes(folder_ / "gleamo.ini",
                                   "[Back]\nScreen=0\nUsePic=0\nBackColor=0\n[Effect]\nScale=1\nDelay=30\nSpeed=1\n"
                                   "[Picture]\nCenter=1\nMove=0\nStretch=0\nSuffle=1\nMaxWidth=0\nMaxHeight=0\n"
                                   "Count=1\n" + librarySettings +
                                   "[FileList]\nPicture0=" + folder_.Path() + "library\n"
                                   "[Debug]\nUseElapse=1\nElapse=10\n"));
        SetCursorPos(5, 5);
        RunningProcess saver(folder_ / "gleamo.scr", "/s");
        EXPECT_TRUE(saver.Started());
        const int x = GetSystemMetrics(SM_CXSCREEN) / 2;
        const int y = GetSystemMetrics(SM_CYSCREEN) / 2;
        std::vector<int> slides;
        int shown = -1;
        WaitUntil(SHOW_LIMIT_MS, [&] {
            ScopedClientDc screen(nullptr);
            const COLORREF pixel = GetPixel(screen.Get(), x, y);
            const int picture = pixel == BACK ? -1 : PictureOf(pixel);
            if (picture >= 0 && picture != shown) {
                slides.push_back(picture);
            }
            shown = picture;
            return slides.size() >= count;
        });
        PressKey(VK_SHIFT);
        DWORD exitCode = 0;
        EXPECT_TRUE(saver.WaitForExit(END_LIMIT_MS, exitCode));
        return slides;
    }

    // The folder's removal would follow the link.
    void TearDown() override {
        if (!linkFolder_.empty()) {
            RunUnixCommand(linkFolder_, L"/bin/rm", L"loop");
            WaitUntil(10000, [this] {
                return GetFileAttributesW((linkFolder_ + L"\\loop").c_str()) == INVALID_FILE_ATTRIBUTES;
            });
        }
    }

    TempFolder folder_;
    std::wstring library_;
    std::wstring linkFolder_;
};

// Shuffled: a folder entered twice, as through the link back up, would bring
// its pictures again, likely to repeat one within the first pass.
TEST_F(PhotoLibrary, WithSubFoldersAndEveryFormatEachPictureShowsOncePerPass) {
    const size_t count = sizeof PICTURES / sizeof PICTURES[0];
    const std::vector<int> slides = Slides("SubFolders=1\nAllFormats=1\n", count);
    ASSERT_EQ(slides.size(), count);
    EXPECT_EQ(std::set<int>(slides.begin(), slides.end()).size(), count) << testing::PrintToString(slides);
}

TEST_F(PhotoLibrary, WithoutThemTheTopFolderGivesItsBmpAndJpgFilesWhateverTheirNames) {
    std::set<int> expected;
    for (int i = 0; i < static_cast<int>(sizeof PICTURES / sizeof PICTURES[0]); ++i) {
        if (PICTURES[i].inTopFolderAsBefore) {
            expected.insert(i);
        }
    }
    const std::vector<int> slides = Slides("", 3 * expected.size());
    EXPECT_EQ(std::set<int>(slides.begin(), slides.end()), expected);
}

}  // namespace
