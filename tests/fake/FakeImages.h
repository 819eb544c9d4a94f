// Pictures that exist at given paths, and a record of every blit. Bitmaps are counted so that a
// test sees one freed for every one decoded.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "platform/Images.h"
#include "platform/Platform.h"

class FakeImages : public port::Images {
public:
    struct Picture {
        int width = 0;
        int height = 0;
        bool hasAlpha = false;
    };
    struct Blit {
        port::Handle dc = port::kNoHandle;
        port::BlitRect dst;
        port::Handle bitmap = port::kNoHandle;
        port::BlitRect src;
        bool blended = false;  // AlphaBlend rather than StretchCopy
        std::u16string path;   // the file the bitmap was decoded from
    };

    // Decodable files by path; any other path fails to load, as a missing or broken file does.
    std::map<std::u16string, Picture> files;

    std::vector<std::u16string> loads;  // every path asked for, decodable or not
    std::vector<Blit> blits;
    int LiveBitmaps() const { return static_cast<int>(m_live.size()); }

    void FillInto(port::Platform& platform) { platform.images = this; }

    bool Decode(const char16_t* path, port::Bitmap& bitmap) override;
    bool StretchCopy(port::Handle dc, const port::BlitRect& dst, port::Handle bitmap,
                     const port::BlitRect& src) override;
    bool AlphaBlend(port::Handle dc, const port::BlitRect& dst, port::Handle bitmap,
                    const port::BlitRect& src) override;
    void DeleteBitmap(port::Handle bitmap) override;

private:
    bool Record(port::Handle dc, const port::BlitRect& dst, port::Handle bitmap,
                const port::BlitRect& src, bool blended);

    std::map<port::Handle, std::u16string> m_live;
    port::Handle m_next = 0x5000;
};
