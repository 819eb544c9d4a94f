#include "FakeImages.h"

#include <gtest/gtest.h>

bool FakeImages::Decode(const char16_t* path, port::Bitmap& bitmap) {
    bitmap = port::Bitmap{};
    const std::u16string text(path != nullptr ? path : u"");
    loads.push_back(text);
    auto found = files.find(text);
    if (found == files.end()) return false;
    bitmap.handle = ++m_next;
    bitmap.width = found->second.width;
    bitmap.height = found->second.height;
    bitmap.hasAlpha = found->second.hasAlpha;
    m_live[bitmap.handle] = text;
    return true;
}

bool FakeImages::StretchCopy(port::Handle dc, const port::BlitRect& dst, port::Handle bitmap,
                             const port::BlitRect& src) {
    return Record(dc, dst, bitmap, src, false);
}

bool FakeImages::AlphaBlend(port::Handle dc, const port::BlitRect& dst, port::Handle bitmap,
                            const port::BlitRect& src) {
    return Record(dc, dst, bitmap, src, true);
}

void FakeImages::DeleteBitmap(port::Handle bitmap) {
    EXPECT_EQ(m_live.erase(bitmap), 1u) << "bitmap freed that is not live: " << bitmap;
}

bool FakeImages::Record(port::Handle dc, const port::BlitRect& dst, port::Handle bitmap,
                        const port::BlitRect& src, bool blended) {
    auto live = m_live.find(bitmap);
    EXPECT_NE(live, m_live.end()) << "blit of a bitmap that is not live: " << bitmap;
    blits.push_back({dc, dst, bitmap, src, blended, live != m_live.end() ? live->second : u""});
    return live != m_live.end();
}
