// Embedded images: base64 decoding, loading from memory, placement, clipping and fading.
#include "RendererFixture.h"

#include "svg/gdiplus/Base64.h"
#include "svg/gdiplus/GDIPlusSVGImageData.h"

#include <string>

namespace SVGEngine::testing {
namespace {

// A 4 x 4 opaque red PNG.
const char kRedPng[] = "iVBORw0KGgoAAAANSUhEUgAAAAQAAAAECAYAAACp8Z5+AAAAEklEQVR4nGP4z8DwHxkzkC4"
                       "AADxAH+HggXe0AAAAAElFTkSuQmCC";

std::string AsText(const std::vector<unsigned char>& bytes) {
    return std::string(bytes.begin(), bytes.end());
}

TEST(Base64, DecodesGroupsAndStopsOutsideTheAlphabet) {
    EXPECT_EQ(AsText(DecodeBase64Prefix("QUJD")), "ABC");
    EXPECT_EQ(AsText(DecodeBase64Prefix("QUJDRA==")), "ABCD");
    EXPECT_EQ(AsText(DecodeBase64Prefix("QUJDREU")), "ABCDE");  // group of three: two bytes
    EXPECT_EQ(AsText(DecodeBase64Prefix("QUJDR")), "ABC");      // lone leftover: nothing
    EXPECT_EQ(AsText(DecodeBase64Prefix("QUJD\nREVG")), "ABC"); // a line break ends the data
    EXPECT_EQ(AsText(DecodeBase64Prefix("QUJD REVG")), "ABC");
    EXPECT_EQ(AsText(DecodeBase64Prefix("+/+/")), "\xFB\xFF\xBF");
    EXPECT_TRUE(DecodeBase64Prefix("").empty());
}

using ImageTest = RendererTest;

std::unique_ptr<ImageData> RedImage(SVGRenderer& renderer) {
    std::string text = kRedPng; // the source goes away; the image must not depend on it
    return renderer.CreateImageData(text, ImageEncoding::PNG);
}

RectF Area(float x, float y, float w, float h) {
    RectF r;
    r.x = x;
    r.y = y;
    r.width = w;
    r.height = h;
    return r;
}

TEST_F(ImageTest, LoadsFromMemoryAndReportsItsSize) {
    auto image = RedImage(*renderer_);
    EXPECT_FLOAT_EQ(image->Width(), 4);
    EXPECT_FLOAT_EQ(image->Height(), 4);

    // A line break in the middle cuts the bytes short: nothing decodes.
    std::string broken = kRedPng;
    broken.insert(40, "\n");
    auto cut = renderer_->CreateImageData(broken, ImageEncoding::PNG);
    EXPECT_FLOAT_EQ(cut->Width(), 0);
    renderer_->DrawImage(*cut, {}, Area(0, 0, 100, 100), Area(0, 0, 100, 100));
    EXPECT_TRUE(Transparent(50, 50));
    EXPECT_EQ(renderer_->OpenLevels(), 0u);
}

TEST_F(ImageTest, FillAreaInsideTheClipAreaIsDrawnWhereItSays) {
    auto image = RedImage(*renderer_);
    renderer_->DrawImage(*image, {}, Area(0, 0, 100, 100), Area(0, 10, 100, 50));
    EXPECT_TRUE(Transparent(50, 8));
    EXPECT_EQ(PixelAt(50, 12), 0xFFFF0000u);
    EXPECT_EQ(PixelAt(50, 57), 0xFFFF0000u);
    EXPECT_TRUE(Transparent(50, 62));
    EXPECT_EQ(renderer_->OpenLevels(), 0u);
    EXPECT_FLOAT_EQ(renderer_->CurrentOpacity(), 1.0f);
}

TEST_F(ImageTest, FillAreaTallerThanTheClipAreaIsCut) {
    auto image = RedImage(*renderer_);
    renderer_->DrawImage(*image, {}, Area(0, 20, 100, 40), Area(0, 0, 100, 100));
    EXPECT_TRUE(Transparent(50, 15));
    EXPECT_EQ(PixelAt(50, 30), 0xFFFF0000u);
    EXPECT_TRUE(Transparent(50, 65));
}

TEST_F(ImageTest, ImageFadesWithItsGroup) {
    auto image = RedImage(*renderer_);
    GraphicStyle group;
    group.opacity = 0.5f;
    renderer_->Save(group);
    renderer_->DrawImage(*image, {}, Area(0, 0, 100, 100), Area(0, 0, 100, 100));
    renderer_->Restore();
    EXPECT_NEAR(Alpha(PixelAt(50, 50)), 127, 1);
}

TEST_F(ImageTest, ImageFollowsItsTransform) {
    auto image = RedImage(*renderer_);
    GraphicStyle style;
    style.transform = renderer_->CreateTransform(1, 0, 0, 1, 50, 0);
    renderer_->DrawImage(*image, style, Area(0, 0, 20, 20), Area(0, 0, 20, 20));
    EXPECT_TRUE(Transparent(10, 10));
    EXPECT_EQ(PixelAt(60, 10), 0xFFFF0000u);
}

} // namespace
} // namespace SVGEngine::testing
