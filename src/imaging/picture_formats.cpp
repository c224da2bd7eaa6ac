#include "imaging/picture_formats.h"

#include <windows.h>

#include <wincodec.h>

#include "base/test_hooks.h"
#include "base/wide_text.h"

namespace {

const wchar_t* const OLD_LOADER_EXTENSIONS[] = {L".bmp", L".jpg", L".jpeg", L".jpe"};
const wchar_t* const JPEG_EXTENSIONS[] = {L".jpeg", L".jpe", L".jfif"};

class ExtensionList {
public:
    explicit ExtensionList(HeapArray<wchar_t>& list) : list_(list) {}

    // Adds each extension of a list once, in lower case. The list is
    // documented as comma-separated; some decoders separate by semicolons,
    // and spaces may follow either.
    void AddAll(const wchar_t* list) {
        const wchar_t* start = list;
        for (const wchar_t* c = list;; ++c) {
            if (*c == L',' || *c == L';' || *c == L' ' || *c == L'\0') {
                Add(start, static_cast<int>(c - start));
                start = c + 1;
            }
            if (*c == L'\0') {
                break;
            }
        }
    }

    void Add(const wchar_t* extension, int length) {
        // Past any picture format's extension: a longer one is no extension.
        constexpr int LONGEST_EXTENSION = 15;
        if (length < 2 || length > LONGEST_EXTENSION || extension[0] != L'.') {
            return;
        }
        wchar_t lower[LONGEST_EXTENSION + 1];
        for (int i = 0; i < length; ++i) {
            lower[i] = FoldAscii(extension[i]);
        }
        lower[length] = L'\0';
        if (SameWide(lower, L".gif") || Holds(lower)) {
            return;
        }
        ok_ = ok_ && list_.Append(lower, static_cast<size_t>(length) + 1);
    }

    // Closes the list with its second NUL.
    bool Finish() {
        const wchar_t end = L'\0';
        return ok_ && list_.Append(end);
    }

private:
    bool Holds(const wchar_t* extension) const {
        for (size_t at = 0; at < list_.Count(); at += static_cast<size_t>(lstrlenW(&list_[at])) + 1) {
            if (SameWide(&list_[at], extension)) {
                return true;
            }
        }
        return false;
    }

    HeapArray<wchar_t>& list_;
    bool ok_ = true;
};

// Adds the extensions of every decoder the imaging component has; false
// when there is no component to ask.
bool AddDecoderExtensions(ExtensionList& list) {
    IWICImagingFactory* factory = nullptr;
    if (Hooks().imagingComponentMissing ||
        FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                reinterpret_cast<void**>(&factory)))) {
        return false;
    }
    IEnumUnknown* decoders = nullptr;
    if (SUCCEEDED(factory->CreateComponentEnumerator(WICDecoder, WICComponentEnumerateDefault, &decoders))) {
        IUnknown* item = nullptr;
        ULONG fetched = 0;
        while (decoders->Next(1, &item, &fetched) == S_OK && fetched == 1) {
            IWICBitmapCodecInfo* codec = nullptr;
            UINT length = 0;
            if (SUCCEEDED(item->QueryInterface(IID_IWICBitmapCodecInfo, reinterpret_cast<void**>(&codec)))) {
                if (SUCCEEDED(codec->GetFileExtensions(0, nullptr, &length)) && length > 0) {
                    wchar_t* text = static_cast<wchar_t*>(HeapBlockAlloc(length * sizeof(wchar_t)));
                    if (text != nullptr && SUCCEEDED(codec->GetFileExtensions(length, text, &length))) {
                        list.AddAll(text);
                    }
                    HeapBlockFree(text);
                }
                codec->Release();
            }
            item->Release();
        }
        decoders->Release();
    }
    factory->Release();
    return true;
}

}  // namespace

bool ReadablePictureExtensions(HeapArray<wchar_t>& extensions) {
    ExtensionList list(extensions);
    if (AddDecoderExtensions(list)) {
        for (const wchar_t* extension : JPEG_EXTENSIONS) {
            list.Add(extension, lstrlenW(extension));
        }
    } else {
        for (const wchar_t* extension : OLD_LOADER_EXTENSIONS) {
            list.Add(extension, lstrlenW(extension));
        }
    }
    return list.Finish();
}
