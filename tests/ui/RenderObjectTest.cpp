// Render objects without a host: what creation stores, SVG resources, captions, and the
// picture DrawSVG makes (a rejected SVG stays blank).
#include "BitmapPixels.h"
#include "UiTestSupport.h"

#include "RasterCount.h"
#include "SVGButtonEx.h"
#include "SVGSOCtrl.h"

#include <gtest/gtest.h>

#include <cwchar>
#include <memory>
#include <string>

namespace {

using SVGEngine::GDIPlusSVGBitmap;
using TestSupport::PixelAt;

TEST(RenderObject, WithoutHostNoVisualAndLoadingDrawsNothing) {
    const long rasterised = RasterCount::Value();
    CSVGSOCtrl picture;
    EXPECT_EQ(picture.SVGText(), "<svg></svg>");
    picture.Create(nullptr, {16, 16, 716, 416}, nullptr, 0, nullptr, 0);
    EXPECT_EQ(picture.Visual(), nullptr);
    EXPECT_TRUE(picture.IsVisible());
    EXPECT_FALSE(picture.TakesInput());
    picture.LoadSVGResource(266);
    EXPECT_EQ(picture.SVGText().compare(0, 4, "<svg"), 0);
    EXPECT_GT(picture.SVGText().size(), 100u);

    CSVGButtonEx button;
    EXPECT_TRUE(button.TakesInput());
    EXPECT_EQ(button.Id(), -1);
    button.Create(nullptr, {243, 332, 443, 376}, L"立即卸载", 3043, nullptr, 0);
    button.LoadSVGResource(262);
    EXPECT_EQ(button.Visual(), nullptr);
    EXPECT_EQ(button.Id(), 3043);
    EXPECT_STREQ(button.Caption(), L"立即卸载");
    EXPECT_EQ(RasterCount::Value(), rasterised);
}

TEST(RenderObject, ResourceTextEndsAtItsFirstZeroByte) {
    CSVGSOCtrl picture;
    picture.Create(nullptr, {0, 0, 10, 10}, nullptr, 0, nullptr, 0);
    picture.LoadSVGResource(900);
    EXPECT_EQ(picture.SVGText(), "<svg width='10' height='10'/>");
    picture.LoadSVGResource(901);
    EXPECT_EQ(picture.SVGText(), "<svg width='30' height='20'/>");
    // An id without an SVG resource keeps the text.
    picture.LoadSVGResource(4711);
    EXPECT_EQ(picture.SVGText(), "<svg width='30' height='20'/>");
}

TEST(RenderObject, CaptionsAreCutTo259Units) {
    for (std::size_t length : {0u, 1u, 258u, 259u, 260u, 1000u}) {
        const std::wstring caption(length, L'字');
        CSVGButtonEx button;
        button.Create(nullptr, {0, 0, 10, 10}, caption.c_str(), 1, nullptr, 0);
        EXPECT_EQ(std::wcslen(button.Caption()), std::min<std::size_t>(length, 259)) << length;
        EXPECT_EQ(std::wstring(button.Caption()), caption.substr(0, 259)) << length;
    }
}

struct RejectedCase {
    const char* name;
    const char* text;
};

// An SVG the engine rejects draws nothing and does not end the program, in every way
// a picture is drawn.
TEST(RenderObject, RejectedSvgLeavesABlankPicture) {
    const RejectedCase cases[] = {
        {"malformed XML", "<svg width='10' height='10'><g></svg>"},
        {"unterminated", "<svg width='10'"},
        {"empty", ""},
        {"hash without digits",
         "<svg width='10' height='10'><rect width='10' height='10' fill='#'/></svg>"},
        {"sprite without digits",
         "<svg width='72' height='24'><g id='normal'><rect width='9' height='9' "
         "fill=\"#zz\"/></g></svg>"},
    };
    for (const RejectedCase& test : cases) {
        CSVGSOCtrl picture;
        picture.Create(nullptr, {0, 0, 24, 24}, nullptr, 0, nullptr, 0);
        picture.SetSVGText(test.text);
        GDIPlusSVGBitmap bitmap(24, 24);
        EXPECT_NO_THROW(picture.DrawSVG(bitmap.Graphics())) << test.name;
        EXPECT_TRUE(TestSupport::FullyTransparent(bitmap)) << test.name;

        for (int mode : {CSVGButtonEx::kRecolourMode, CSVGButtonEx::kSpriteMode}) {
            CSVGButtonEx button;
            button.Create(nullptr, {0, 0, 24, 24}, nullptr, 1, nullptr, mode);
            button.SetSVGText(test.text);
            for (int look : {0, 1, 2, 4}) {
                GDIPlusSVGBitmap lookBitmap(24, 24);
                EXPECT_NO_THROW(button.DrawLook(lookBitmap.Graphics(), look)) << test.name;
                EXPECT_TRUE(TestSupport::FullyTransparent(lookBitmap)) << test.name << look;
            }
        }
    }
}

struct PlacementCase {
    const char* name;
    const char* text;
    std::vector<std::pair<POINT, std::uint32_t>> pixels;
};

// A picture keeps its own size, sits at the object's top-left corner and is cut at the
// object's edges.
TEST(RenderObject, PictureAtItsOwnSizeFromTheTopLeft) {
    const PlacementCase cases[] = {
        {"default text", "<svg></svg>", {{{0, 0}, 0}, {{25, 25}, 0}}},
        {"smaller",
         "<svg width='20' height='10'><rect width='20' height='10' fill='#FF0000'/></svg>",
         {{{0, 0}, 0xFFFF0000}, {{19, 9}, 0xFFFF0000}, {{20, 9}, 0}, {{19, 10}, 0}}},
        // The document's size is its viewBox's.
        {"size of the viewBox",
         "<svg width='40' height='40' viewBox='0 0 4 4'><rect x='1' y='1' width='2' height='2' "
         "fill='#0000FF'/></svg>",
         {{{0, 0}, 0}, {{1, 1}, 0xFF0000FF}, {{2, 2}, 0xFF0000FF}, {{3, 3}, 0}, {{20, 20}, 0}}},
        {"larger, cut",
         "<svg width='80' height='80'><rect width='80' height='80' fill='#00FF00'/></svg>",
         {{{0, 0}, 0xFF00FF00}, {{49, 49}, 0xFF00FF00}}},
    };
    for (const PlacementCase& test : cases) {
        CSVGSOCtrl picture;
        picture.Create(nullptr, {100, 100, 150, 150}, nullptr, 0, nullptr, 0);
        picture.SetSVGText(test.text);
        GDIPlusSVGBitmap bitmap(picture.PixelWidth(), picture.PixelHeight());
        picture.DrawSVG(bitmap.Graphics());
        for (const auto& [point, argb] : test.pixels) {
            EXPECT_EQ(PixelAt(bitmap, point.x, point.y), argb)
                << test.name << " at " << point.x << "," << point.y;
        }
    }
}

// An object destroyed while it holds the press leaves no captured object behind.
TEST(RenderObject, DestroyedWhilePressedClearsTheCapturedObject) {
    UiTest::OwnerWindow owner;
    {
        CSVGButtonEx button;
        button.Create(owner.Handle(), {0, 0, 10, 10}, nullptr, 6, nullptr, 0);
        BOOL handled = TRUE;
        ASSERT_EQ(button.OnLButtonDown(MK_LBUTTON, MAKELPARAM(5, 5), &handled, owner.Handle()), 1);
        ASSERT_EQ(CSVGSimpleObject::CapturedObject(), &button);
    }
    EXPECT_EQ(CSVGSimpleObject::CapturedObject(), nullptr);
    ReleaseCapture();
}

} // namespace
