#include "Win32.h"
#include "Win32Platform.h"
#include "platform/Images.h"
#include "platform/Platform.h"

// GDI+ wants min and max, which NOMINMAX keeps out of the Windows headers.
#include <algorithm>
namespace Gdiplus {
using std::max;
using std::min;
}  // namespace Gdiplus
#include <gdiplus.h>

namespace win32 {
namespace {

namespace gp = Gdiplus::DllExports;

// Started once, on the first decode, and left running for the life of the process.
bool GdiplusStarted() {
    static const bool started = [] {
        ULONG_PTR token = 0;
        Gdiplus::GdiplusStartupInput input;
        return Gdiplus::GdiplusStartup(&token, &input, nullptr) == Gdiplus::Ok;
    }();
    return started;
}

class GdiplusBitmap {
public:
    explicit GdiplusBitmap(const char16_t* path) {
        if (gp::GdipCreateBitmapFromFile(W(path), &m_bitmap) != Gdiplus::Ok) m_bitmap = nullptr;
    }
    ~GdiplusBitmap() {
        if (m_bitmap != nullptr) gp::GdipDisposeImage(m_bitmap);
    }
    GdiplusBitmap(const GdiplusBitmap&) = delete;
    GdiplusBitmap& operator=(const GdiplusBitmap&) = delete;
    Gdiplus::GpBitmap* get() const { return m_bitmap; }

private:
    Gdiplus::GpBitmap* m_bitmap = nullptr;
};

// A memory device context with a bitmap selected into it for the length of one blit.
class SourceDc {
public:
    SourceDc(HDC target, HBITMAP bitmap) : m_dc(::CreateCompatibleDC(target)) {
        if (m_dc != nullptr) m_previous = ::SelectObject(m_dc, bitmap);
    }
    ~SourceDc() {
        if (m_dc == nullptr) return;
        ::SelectObject(m_dc, m_previous);
        ::DeleteDC(m_dc);
    }
    SourceDc(const SourceDc&) = delete;
    SourceDc& operator=(const SourceDc&) = delete;
    HDC get() const { return m_dc; }

private:
    HDC m_dc;
    HGDIOBJ m_previous = nullptr;
};

HDC Dc(port::Handle dc) { return reinterpret_cast<HDC>(dc); }
HBITMAP Bmp(port::Handle bitmap) { return reinterpret_cast<HBITMAP>(bitmap); }

class Win32Images final : public port::Images {
public:
    bool Decode(const char16_t* path, port::Bitmap& out) override {
        out = port::Bitmap{};
        if (!GdiplusStarted()) return false;
        // The GDI+ bitmap keeps the file open; it lives only for this call.
        GdiplusBitmap picture(path);
        if (picture.get() == nullptr) return false;
        UINT width = 0;
        UINT height = 0;
        Gdiplus::PixelFormat format = 0;
        if (gp::GdipGetImageWidth(picture.get(), &width) != Gdiplus::Ok ||
            gp::GdipGetImageHeight(picture.get(), &height) != Gdiplus::Ok ||
            gp::GdipGetImagePixelFormat(picture.get(), &format) != Gdiplus::Ok || width == 0 ||
            height == 0 || width > 0x7FFF || height > 0x7FFF) {
            return false;
        }
        const bool hasAlpha = (format & PixelFormatAlpha) != 0;

        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = static_cast<LONG>(width);
        info.bmiHeader.biHeight = -static_cast<LONG>(height);  // top-down, like GDI+ rows
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        HBITMAP dib = ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        if (dib == nullptr || bits == nullptr) {
            if (dib != nullptr) ::DeleteObject(dib);
            return false;
        }

        // AlphaBlend takes pre-multiplied pixels; an opaque picture is copied as it is.
        const Gdiplus::PixelFormat target = hasAlpha ? PixelFormat32bppPARGB : PixelFormat32bppRGB;
        Gdiplus::GpRect rect(0, 0, static_cast<INT>(width), static_cast<INT>(height));
        Gdiplus::BitmapData data{};
        data.Width = width;
        data.Height = height;
        data.Stride = static_cast<INT>(width * 4);
        data.PixelFormat = target;
        data.Scan0 = bits;
        const UINT mode = Gdiplus::ImageLockModeRead | Gdiplus::ImageLockModeUserInputBuf;
        if (gp::GdipBitmapLockBits(picture.get(), &rect, mode, target, &data) != Gdiplus::Ok) {
            ::DeleteObject(dib);
            return false;
        }
        gp::GdipBitmapUnlockBits(picture.get(), &data);
        ::GdiFlush();

        out.handle = reinterpret_cast<port::Handle>(dib);
        out.width = static_cast<int>(width);
        out.height = static_cast<int>(height);
        out.hasAlpha = hasAlpha;
        return true;
    }

    bool StretchCopy(port::Handle dc, const port::BlitRect& dst, port::Handle bitmap,
                     const port::BlitRect& src) override {
        SourceDc source(Dc(dc), Bmp(bitmap));
        if (source.get() == nullptr) return false;
        return ::StretchBlt(Dc(dc), dst.x, dst.y, dst.width, dst.height, source.get(), src.x, src.y,
                            src.width, src.height, SRCCOPY) != FALSE;
    }

    bool AlphaBlend(port::Handle dc, const port::BlitRect& dst, port::Handle bitmap,
                    const port::BlitRect& src) override {
        SourceDc source(Dc(dc), Bmp(bitmap));
        if (source.get() == nullptr) return false;
        BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
        return ::GdiAlphaBlend(Dc(dc), dst.x, dst.y, dst.width, dst.height, source.get(), src.x,
                               src.y, src.width, src.height, blend) != FALSE;
    }

    void DeleteBitmap(port::Handle bitmap) override {
        if (bitmap != port::kNoHandle) ::DeleteObject(Bmp(bitmap));
    }
};

}  // namespace

port::Images& Images() {
    static Win32Images images;
    return images;
}

}  // namespace win32
