// Picture files decoded into bitmaps of the platform, and the two ways of drawing them.
#pragma once

#include <cstdint>

#include "Platform.h"

namespace port {

// A rectangle as the GDI blit operations take it: origin and size.
struct BlitRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    friend bool operator==(const BlitRect&, const BlitRect&) = default;
};

// What a decoded picture holds.
struct Bitmap {
    Handle handle = kNoHandle;  // a 32-bit bitmap; pre-multiplied alpha when hasAlpha
    int width = 0;
    int height = 0;
    bool hasAlpha = false;
};

class Images {
public:
    virtual ~Images() = default;
    // Decodes the file by its content. False when it cannot be read or decoded, also when the
    // imaging library cannot be started. The file is not held open afterwards.
    virtual bool Decode(const char16_t* path, Bitmap& bitmap) = 0;
    // StretchBlt with SRCCOPY of `src` of the bitmap into `dst` of the device context.
    virtual bool StretchCopy(Handle dc, const BlitRect& dst, Handle bitmap,
                             const BlitRect& src) = 0;
    // AlphaBlend of `src` into `dst`: source over, constant alpha 255, per-pixel alpha.
    virtual bool AlphaBlend(Handle dc, const BlitRect& dst, Handle bitmap, const BlitRect& src) = 0;
    virtual void DeleteBitmap(Handle bitmap) = 0;
};

}  // namespace port
