#include "Image.h"

#include "platform/Platform.h"

namespace {
constexpr int32_t kOk = 0;
constexpr int32_t kFail = static_cast<int32_t>(0x80004005);  // E_FAIL
}  // namespace

int32_t CImage::Load(const CString& path) {
    Destroy();
    port::Bitmap bitmap;
    if (!port::images().Decode(path.GetString(), bitmap) || bitmap.handle == port::kNoHandle) {
        return kFail;
    }
    m_bitmap = bitmap;
    return kOk;
}

void CImage::Destroy() {
    if (IsNull()) return;
    port::images().DeleteBitmap(m_bitmap.handle);
    m_bitmap = port::Bitmap{};
}

BOOL CImage::Draw(HDC hDC, int xDest, int yDest, int destWidth, int destHeight, int xSrc, int ySrc,
                  int srcWidth, int srcHeight) const {
    if (IsNull() || destWidth <= 0 || destHeight <= 0) return FALSE;
    const auto dc = reinterpret_cast<port::Handle>(hDC);
    const port::BlitRect dst{xDest, yDest, destWidth, destHeight};
    const port::BlitRect src{xSrc, ySrc, srcWidth, srcHeight};
    const bool drawn = m_bitmap.hasAlpha
                           ? port::images().AlphaBlend(dc, dst, m_bitmap.handle, src)
                           : port::images().StretchCopy(dc, dst, m_bitmap.handle, src);
    return drawn ? TRUE : FALSE;
}
