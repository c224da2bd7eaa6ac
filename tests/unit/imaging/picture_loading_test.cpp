#include "imaging/picture_buffer.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "base/test_hooks.h"
#include "engine/picture_file.h"
#include "support/test_files.h"
#include "support/test_pictures.h"
#include "unit/imaging/pixels.h"

namespace {

// An .ico file with one 2 x 2 image: 32-bit colour with the AND mask making
// the top-left pixel transparent, or a 1-bit (monochrome) image.
std::string IconFile(bool monochrome) {
    Bytes image;
    const unsigned bits = monochrome ? 1 : 32;
    image.Info(2, 4, bits, BI_RGB);  // the height counts colour and mask together
    if (monochrome) {
        image.U32(0).U32(0x00FFFFFF);
        image.U32(0x40).U32(0x80);  // XOR rows, bottom first
    } else {
        image.U32(0x0000FF00).U32(0x0000FF00);  // bottom line green
        image.U32(0x00FF0000).U32(0x000000FF);  // top line: red (masked off), blue
    }
    image.U32(0).U32(0x80);  // AND rows, bottom first: top-left set
    Bytes file;
    file.U16(0).U16(1).U16(1);
    file.U8(2).U8(2).U8(monochrome ? 2 : 0).U8(0).U16(1).U16(bits).U32(image.text.size()).U32(22);
    return file.text + image.text;
}

class PictureLoading : public testing::Test {
protected:
    TempFolder folder;
    PictureBuffer buffer;
};

TEST_F(PictureLoading, JpegBecomesATwentyFourBitBufferOfItsPixelSize) {
    const std::string path = folder / "photo.jpg";
    if (!WriteJpeg(path, 37, 21, [](int, int) { return RGB(200, 200, 200); })) {
        GTEST_SKIP() << "no JPEG encoder on this platform";
    }
    EXPECT_EQ(buffer.LoadPicture(Wide(path).c_str(), RGB(255, 255, 255)), PICTYPE_BITMAP);
    EXPECT_EQ(std::make_pair(buffer.Width(), buffer.Height()), std::make_pair(37, 21));
    EXPECT_EQ(buffer.BitCount(), 24);
    const COLORREF c = PixelAt(buffer, 18, 10);
    EXPECT_NEAR(GetRValue(c), 200, 3);
    EXPECT_NEAR(GetBValue(c), 200, 3);
}

TEST_F(PictureLoading, IconsAreDrawnOverTheFillColour) {
    const std::string path = folder / "a.ico";
    ASSERT_TRUE(WriteFileBytes(path, IconFile(false)));
    ASSERT_EQ(buffer.LoadPicture(Wide(path).c_str(), RGB(255, 255, 255)), PICTYPE_ICON);
    EXPECT_EQ(std::make_pair(buffer.Width(), buffer.Height()), std::make_pair(2, 2));
    EXPECT_EQ(buffer.BitCount(), 24);
    EXPECT_EQ(PixelAt(buffer, 0, 0), RGB(255, 255, 255));
    EXPECT_EQ(PixelAt(buffer, 1, 0), RGB(0, 0, 255));
    EXPECT_EQ(PixelAt(buffer, 0, 1), RGB(0, 255, 0));
}

TEST_F(PictureLoading, MonochromeIconsMetafilesAndJunkAreRefused) {
    ASSERT_TRUE(WriteFileBytes(folder / "mono.ico", IconFile(true)));
    ASSERT_TRUE(WriteFileBytes(folder / "junk.jpg", "not a picture at all"));
    HDC recorder = CreateEnhMetaFileA(nullptr, (folder / "a.emf").c_str(), nullptr, nullptr);
    ASSERT_NE(recorder, nullptr);
    Rectangle(recorder, 0, 0, 50, 50);
    DeleteEnhMetaFile(CloseEnhMetaFile(recorder));
    for (const char* name : {"mono.ico", "a.emf", "junk.jpg", "missing.jpg"}) {
        ASSERT_TRUE(buffer.Create(2, 2, 24, RGB(0, 0, 0)));
        EXPECT_EQ(buffer.LoadPicture(Wide(folder / name).c_str(), RGB(255, 255, 255)), 0) << name;
        EXPECT_EQ(buffer.Dc(), nullptr) << name;
    }
}

// Korean and an accented letter, both outside the Japanese code page, and an
// emoji (a surrogate pair), as bare names beside the program. The NT family
// opens them by their wide names through every loader; the 95/98 family,
// with only the code page and no imaging component, refuses them and still
// opens a plain name.
TEST_F(PictureLoading, NamesOutsideTheCodePageOpenWhereTheSystemTakesWideNames) {
    ASSERT_TRUE(WriteFileBytes(folder / "plain.bmp", SolidBmp24(4, 3, RGB(0, 0, 255))));
    const auto grey = [](int, int) { return RGB(128, 128, 128); };
    if (!WriteJpeg(folder / "photo.jpg", 40, 30, grey) || !WriteJpeg(folder / "turned.jpg", 40, 30, grey, 6)) {
        GTEST_SKIP() << "no JPEG encoder on this platform";
    }
    const struct {
        const char* file;
        bool imagingComponent;
        int width, height;
    } kinds[] = {{"plain.bmp", true, 4, 3},   {"photo.jpg", true, 40, 30},   {"photo.jpg", false, 40, 30},
                 {"turned.jpg", true, 30, 40}, {"turned.jpg", false, 30, 40}};
    for (const auto& k : kinds) {
        const std::wstring file = Wide(k.file);
        for (const wchar_t* name : {L"\uC11C\uC6B8", L"caf\u00E9", L"\U0001F338"}) {
            const std::wstring entry = name + file.substr(file.find(L'.'));
            ASSERT_TRUE(CopyFileW(Wide(folder / k.file).c_str(), (Wide(folder.Path()) + entry).c_str(), FALSE));
            for (bool win9x : {false, true}) {
                Hooks().win9xFileNames = win9x;
                Hooks().imagingComponentMissing = win9x || !k.imagingComponent;
                SCOPED_TRACE(testing::Message() << entry << (k.imagingComponent ? "" : " (OLE)")
                                                << (win9x ? " on 95/98" : ""));
                EXPECT_EQ(LoadPictureFile(buffer, folder.Path().c_str(), entry.c_str(), nullptr), !win9x);
                if (!win9x) {
                    EXPECT_EQ(std::make_pair(buffer.Width(), buffer.Height()), std::make_pair(k.width, k.height));
                }
            }
        }
        ASSERT_TRUE(LoadPictureFile(buffer, folder.Path().c_str(), file.c_str(), nullptr)) << k.file << " on 95/98";
        EXPECT_EQ(std::make_pair(buffer.Width(), buffer.Height()), std::make_pair(k.width, k.height)) << k.file;
    }
}

}  // namespace
