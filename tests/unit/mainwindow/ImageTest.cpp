// CImage over the images fake: which blit it chooses, what it frees, what it leaves alone.
#include <gtest/gtest.h>

#include "fake/FakeImages.h"
#include "framework/Image.h"

namespace {

class ImageTest : public ::testing::Test {
protected:
    ImageTest() : m_install(Fill()) {}
    port::Platform Fill() {
        port::Platform platform = port::Current();
        images.FillInto(platform);
        return platform;
    }
    HDC Dc() const { return reinterpret_cast<HDC>(0x77); }

    FakeImages images;
    port::ScopedInstall m_install;
};

TEST_F(ImageTest, OpaqueIsCopiedAndAlphaIsBlended) {
    images.files[u"opaque.png"] = {200, 50, false};
    images.files[u"alpha.png"] = {10, 20, true};
    for (const char16_t* path : {u"opaque.png", u"alpha.png"}) {
        CImage image;
        ASSERT_EQ(image.Load(path), 0);
        EXPECT_TRUE(image.Draw(Dc(), 0, 0, 166, 300, 0, 0, image.GetWidth(), image.GetHeight()));
    }
    ASSERT_EQ(images.blits.size(), 2u);
    EXPECT_FALSE(images.blits[0].blended);
    EXPECT_EQ(images.blits[0].dst, (port::BlitRect{0, 0, 166, 300}));
    EXPECT_EQ(images.blits[0].src, (port::BlitRect{0, 0, 200, 50}));
    EXPECT_EQ(images.blits[0].dc, port::Handle{0x77});
    EXPECT_TRUE(images.blits[1].blended);
    EXPECT_EQ(images.blits[1].src, (port::BlitRect{0, 0, 10, 20}));
    EXPECT_EQ(images.LiveBitmaps(), 0);
}

TEST_F(ImageTest, FailedLoadLeavesNothingToDraw) {
    images.files[u"logo.png"] = {4, 4, false};
    CImage image;
    ASSERT_EQ(image.Load(u"logo.png"), 0);
    // A second load releases the first picture, also when the second does not decode.
    EXPECT_LT(image.Load(u"missing.png"), 0);
    EXPECT_TRUE(image.IsNull());
    EXPECT_EQ(images.LiveBitmaps(), 0);
    EXPECT_FALSE(image.Draw(Dc(), 0, 0, 10, 10, 0, 0, 4, 4));
    EXPECT_TRUE(images.blits.empty());
}

TEST_F(ImageTest, EmptyDestinationDrawsNothing) {
    images.files[u"logo.png"] = {4, 4, true};
    CImage image;
    ASSERT_EQ(image.Load(u"logo.png"), 0);
    EXPECT_FALSE(image.Draw(Dc(), 0, 0, 0, 300, 0, 0, 4, 4));
    EXPECT_FALSE(image.Draw(Dc(), 0, 0, 166, 0, 0, 0, 4, 4));
    EXPECT_TRUE(images.blits.empty());
}

}  // namespace
