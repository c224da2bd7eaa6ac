#include "imaging/jpeg_file_orientation.h"

#include <windows.h>

#include "base/gdi_guards.h"
#include "base/process_heap.h"
#include "base/wide_path.h"

namespace {

// Reads the file at the offsets the segment walk asks for into one block of
// the largest read.
class FileBytes : public JpegByteSource {
public:
    FileBytes(HANDLE file, BYTE* block) : file_(file), block_(block) {}

    const uint8_t* Read(uint64_t offset, size_t size, size_t* got) override {
        *got = 0;
        LONG high = static_cast<LONG>(offset >> 32);
        // INVALID_SET_FILE_POINTER is also the low half of some valid offsets:
        // only the last error tells a failure.
        SetLastError(NO_ERROR);
        DWORD read = 0;
        if ((SetFilePointer(file_, static_cast<LONG>(offset & MAXDWORD), &high, FILE_BEGIN) ==
                 INVALID_SET_FILE_POINTER &&
             GetLastError() != NO_ERROR) ||
            !ReadFile(file_, block_, static_cast<DWORD>(size < LARGEST_READ ? size : LARGEST_READ), &read,
                      nullptr)) {
            return block_;
        }
        *got = read;
        return block_;
    }

private:
    HANDLE file_;
    BYTE* block_;
};

// What read makes of the file at path; otherwise when it cannot be opened.
template <typename Result, typename Reader>
Result ReadJpegFile(const wchar_t* path, Result otherwise, Reader read) {
    if (path == nullptr) {
        return otherwise;
    }
    ScopedFile file(OpenFileForReading(path));
    ScopedHeapBlock block(HeapBlockAlloc(JpegByteSource::LARGEST_READ));
    if (!file.IsOpen() || block.Get() == nullptr) {
        return otherwise;
    }
    FileBytes source(file.Get(), block.Bytes());
    return read(source);
}

}  // namespace

ExifOrientation ReadJpegFileOrientation(const wchar_t* path) {
    return ReadJpegFile(path, ExifOrientation::kAsStored,
                        [](JpegByteSource& source) { return ReadJpegOrientation(source); });
}

bool ReadJpegFileDateTaken(const wchar_t* path, CalendarDate* date) {
    return ReadJpegFile(path, false, [date](JpegByteSource& source) { return ReadJpegDateTaken(source, date); });
}
