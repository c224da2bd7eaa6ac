#include "support/test_pictures.h"

namespace {

void PutLittleEndian(std::string& out, unsigned long value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
    }
}

}  // namespace

std::string Bmp24(int width, int height, const std::function<COLORREF(int x, int y)>& colorAt) {
    const unsigned long stride = ((24ul * width + 31) / 32) * 4;
    const unsigned long pixelBytes = stride * height;
    const unsigned long offBits = 14 + 40;
    std::string file;
    file += "BM";
    PutLittleEndian(file, offBits + pixelBytes, 4);
    PutLittleEndian(file, 0, 4);
    PutLittleEndian(file, offBits, 4);
    PutLittleEndian(file, 40, 4);
    PutLittleEndian(file, static_cast<unsigned long>(width), 4);
    PutLittleEndian(file, static_cast<unsigned long>(height), 4);
    PutLittleEndian(file, 1, 2);
    PutLittleEndian(file, 24, 2);
    PutLittleEndian(file, BI_RGB, 4);
    PutLittleEndian(file, pixelBytes, 4);
    PutLittleEndian(file, 0, 16);
    for (int row = height - 1; row >= 0; --row) {
        std::string line;
        for (int x = 0; x < width; ++x) {
            const COLORREF color = colorAt(x, row);
            line.push_back(static_cast<char>(GetBValue(color)));
            line.push_back(static_cast<char>(GetGValue(color)));
            line.push_back(static_cast<char>(GetRValue(color)));
        }
        line.resize(stride, '\0');
        file += line;
    }
    return file;
}

std::string SolidBmp24(int width, int height, COLORREF color) {
    return Bmp24(width, height, [color](int, int) { return color; });
}
