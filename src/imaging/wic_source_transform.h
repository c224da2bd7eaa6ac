// A decoder's own scaling while it decodes, which the system's JPEG decoder
// offers (by 1/2, 1/4 and 1/8). The SDK headers of this tool chain do not
// declare the interface, so it is declared here, as the system lays it out.
//
// It must stay outside any anonymous namespace: an interface that no code of
// a translation unit implements, and that no other unit can see, has no
// implementation as far as the compiler knows, and GCC then compiles its
// calls as unreachable: declared in the anonymous namespace of the file that
// calls it, the first call on a decoder that offers it jumps to address 0.
#pragma once

#include <windows.h>

#include <wincodec.h>

// IID_IWICBitmapSourceTransform.
inline constexpr GUID SOURCE_TRANSFORM_IID = {0x3b16811b, 0x6a43, 0x4ec9,
                                             {0xb7, 0x13, 0x3d, 0x5a, 0x0c, 0x13, 0xb9, 0x40}};

struct SourceTransform : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE CopyPixels(const WICRect* rect, UINT width, UINT height,
                                                 WICPixelFormatGUID* format, WICBitmapTransformOptions transform,
                                                 UINT stride, UINT bufferSize, BYTE* buffer) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetClosestSize(UINT* width, UINT* height) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetClosestPixelFormat(WICPixelFormatGUID* format) = 0;
    virtual HRESULT STDMETHODCALLTYPE DoesSupportTransform(WICBitmapTransformOptions transform, BOOL* supported) = 0;
};
