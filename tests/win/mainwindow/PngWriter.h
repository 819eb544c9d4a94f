// Writes small PNG files for the tests: 8-bit RGB or RGBA, stored (uncompressed) deflate.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

struct Rgba {
    uint8_t r = 0, g = 0, b = 0, a = 255;
};

// The bytes of a PNG of `width` x `height` whose pixel (x, y) is `pixel(x, y)`; the alpha of
// each pixel is written only when `withAlpha`.
std::string MakePng(int width, int height, bool withAlpha,
                    const std::function<Rgba(int x, int y)>& pixel);
