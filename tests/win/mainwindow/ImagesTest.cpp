// CImage over the real image port under Wine: decoding by content, stretching, blending.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "PngWriter.h"
#include "TestFiles.h"
#include "framework/Image.h"
#include "platform/win32/Win32Platform.h"

namespace {

class Images : public ::testing::Test {
protected:
    void SetUp() override {
        port::Platform platform = port::Current();
        platform.images = &win32::Images();
        m_install = std::make_unique<port::ScopedInstall>(platform);
        ASSERT_TRUE(m_canvas.Ready());
    }
    HDC Dc() const { return reinterpret_cast<HDC>(m_canvas.Dc()); }

    std::unique_ptr<port::ScopedInstall> m_install;
    Canvas m_canvas{32};
};

TEST_F(Images, DecodesByContentWithSizeAndAlpha) {
    const std::u16string opaque = TempFile(u"quellor-opaque.png");
    const std::u16string alpha = TempFile(u"quellor-alpha.png");
    const std::u16string broken = TempFile(u"quellor-broken.png");
    ASSERT_TRUE(PutFile(opaque, MakePng(200, 50, false, [](int, int) { return Rgba{1, 2, 3}; })));
    ASSERT_TRUE(PutFile(alpha, MakePng(7, 9, true, [](int, int) { return Rgba{1, 2, 3, 128}; })));
    ASSERT_TRUE(PutFile(broken, "<html>not a picture</html>"));

    CImage image;
    ASSERT_EQ(image.Load(opaque.c_str()), 0);
    EXPECT_EQ(image.GetWidth(), 200);
    EXPECT_EQ(image.GetHeight(), 50);
    EXPECT_FALSE(image.HasAlpha());
    ASSERT_EQ(image.Load(alpha.c_str()), 0);
    EXPECT_EQ(image.GetWidth(), 7);
    EXPECT_EQ(image.GetHeight(), 9);
    EXPECT_TRUE(image.HasAlpha());
    EXPECT_LT(image.Load(broken.c_str()), 0);
    EXPECT_TRUE(image.IsNull());
    EXPECT_LT(image.Load(TempFile(u"quellor-missing.png").c_str()), 0);

    // Nothing holds the file open while the picture is loaded: a download may replace it.
    ASSERT_EQ(image.Load(opaque.c_str()), 0);
    EXPECT_TRUE(RemoveFile(opaque));
    RemoveFile(alpha);
    RemoveFile(broken);
}

// A side longer than GDI's coordinates reach is refused, so such a logo is not drawn.
TEST_F(Images, SidesLongerThan32767PixelsAreRefused) {
    struct Case {
        int width, height;
        bool loads;
    };
    const std::u16string path = TempFile(u"quellor-long.png");
    for (const Case& c : {Case{32767, 1, true}, Case{32768, 1, false}, Case{1, 32767, true},
                          Case{1, 32768, false}}) {
        SCOPED_TRACE(std::to_string(c.width) + " x " + std::to_string(c.height));
        ASSERT_TRUE(PutFile(path, MakePng(c.width, c.height, false, [](int, int) {
                                return Rgba{9, 8, 7};
                            })));
        CImage image;
        EXPECT_EQ(image.Load(path.c_str()) >= 0, c.loads);
        EXPECT_EQ(image.IsNull(), !c.loads);
    }
    RemoveFile(path);
}

TEST_F(Images, OpaquePictureIsCopiedStretched) {
    const std::u16string path = TempFile(u"quellor-stretch.png");
    // Left column red, right column blue, 2 x 1, stretched to 20 x 10.
    ASSERT_TRUE(PutFile(path, MakePng(2, 1, false, [](int x, int) {
                            return x == 0 ? Rgba{255, 0, 0} : Rgba{0, 0, 255};
                        })));
    CImage image;
    ASSERT_EQ(image.Load(path.c_str()), 0);
    EXPECT_TRUE(image.Draw(Dc(), 0, 0, 20, 10, 0, 0, 2, 1));
    EXPECT_EQ(m_canvas.Pixel(0, 0), 0xFF0000u);
    EXPECT_EQ(m_canvas.Pixel(9, 9), 0xFF0000u);
    EXPECT_EQ(m_canvas.Pixel(10, 0), 0x0000FFu);
    EXPECT_EQ(m_canvas.Pixel(19, 9), 0x0000FFu);
    EXPECT_EQ(m_canvas.Pixel(20, 0), 0xFFFFFFu);  // right of the destination: untouched
    EXPECT_EQ(m_canvas.Pixel(0, 10), 0xFFFFFFu);  // below it: untouched
    RemoveFile(path);
}

TEST_F(Images, AlphaPictureIsBlendedOverWhatIsThere) {
    const std::u16string path = TempFile(u"quellor-blend.png");
    // Transparent red, opaque green, half-transparent black, over white.
    ASSERT_TRUE(PutFile(path, MakePng(3, 1, true, [](int x, int) {
                            if (x == 0) return Rgba{255, 0, 0, 0};
                            if (x == 1) return Rgba{0, 255, 0, 255};
                            return Rgba{0, 0, 0, 128};
                        })));
    CImage image;
    ASSERT_EQ(image.Load(path.c_str()), 0);
    EXPECT_TRUE(image.Draw(Dc(), 0, 0, 3, 1, 0, 0, 3, 1));
    EXPECT_EQ(m_canvas.Pixel(0, 0), 0xFFFFFFu);
    EXPECT_EQ(m_canvas.Pixel(1, 0), 0x00FF00u);
    const uint32_t half = m_canvas.Pixel(2, 0);
    for (int shift : {0, 8, 16}) {
        const int channel = static_cast<int>((half >> shift) & 0xFF);
        EXPECT_NEAR(channel, 127, 2) << "channel at bit " << shift;
    }
    RemoveFile(path);
}

}  // namespace
