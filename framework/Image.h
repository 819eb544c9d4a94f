// A picture decoded from a file into a bitmap and drawn stretched: the image class the panel's
// logo is painted with. Pictures with an alpha channel are blended over what is painted
// already, others are copied.
#pragma once

#include <cstdint>

#include "framework/AfxTypes.h"
#include "framework/CString.h"
#include "platform/Images.h"

class CImage {
public:
    CImage() = default;
    ~CImage() { Destroy(); }
    CImage(const CImage&) = delete;
    CImage& operator=(const CImage&) = delete;

    // 0 (S_OK) when the file decoded, a negative HRESULT when it did not. A picture loaded
    // before is released first.
    int32_t Load(const CString& path);
    void Destroy();

    BOOL IsNull() const { return m_bitmap.handle == port::kNoHandle ? TRUE : FALSE; }
    int GetWidth() const { return m_bitmap.width; }
    int GetHeight() const { return m_bitmap.height; }
    BOOL HasAlpha() const { return m_bitmap.hasAlpha ? TRUE : FALSE; }

    // Stretches the source rectangle of the picture into the destination rectangle of the
    // device context. Nothing is drawn into an empty destination.
    BOOL Draw(HDC hDC, int xDest, int yDest, int destWidth, int destHeight, int xSrc, int ySrc,
              int srcWidth, int srcHeight) const;

private:
    port::Bitmap m_bitmap;
};
