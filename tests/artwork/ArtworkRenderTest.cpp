// The shipped pictures drawn by our own engine (GDI+) the way the window draws
// them: whole pictures fitted to their size, sprite cells by id with their
// opacity, and recoloured button states. Pixels are premultiplied 0xAARRGGBB.
#include "Colours.h"
#include "Resources.h"

#include "svg/SVGDocument.h"
#include "svg/gdiplus/GDIPlusSVGBitmap.h"
#include "svg/gdiplus/GDIPlusSVGRenderer.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

using namespace SVGEngine;
using TestSupport::Alpha;
using TestSupport::Blue;
using TestSupport::Green;
using TestSupport::Red;
using TestSupport::SvgResource;

namespace {

// The button's rule: the first fill="#...... takes the state's colour.
std::string Recoloured(std::string svg, const char* colour) {
    const size_t at = svg.find("fill=\"#");
    if (at != std::string::npos)
        svg.replace(at + 6, 7, colour);
    return svg;
}

class Drawing {
  public:
    Drawing(int width, int height)
        : bitmap_(width, height), renderer_(std::make_shared<GDIPlusSVGRenderer>()) {
        renderer_->SetTarget(bitmap_.Graphics());
    }
    std::unique_ptr<SVGDocument> Document(const std::string& svg) {
        return SVGDocument::Create(svg.c_str(), renderer_);
    }
    GDIPlusSVGBitmap& Bitmap() { return bitmap_; }

  private:
    GDIPlusSVGBitmap bitmap_;
    std::shared_ptr<GDIPlusSVGRenderer> renderer_;
};

// Premultiplied pixel equal to the colour at the alpha, within a small step.
::testing::AssertionResult Near(uint32_t pixel, uint32_t rgb, int alpha, int tolerance = 3) {
    if (TestSupport::Near(pixel, TestSupport::Premultiplied(rgb, alpha / 255.0f), tolerance))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "pixel " << TestSupport::Hex(pixel) << " wanted rgb "
                                         << TestSupport::Hex(rgb) << " at alpha " << alpha;
}

int CountWhite(const GDIPlusSVGBitmap::LockedPixels& pixels, int left, int top, int right,
               int bottom) {
    int count = 0;
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x) {
            const uint32_t p = pixels.Pixel(x, y);
            if (Alpha(p) == 255 && Red(p) > 240 && Green(p) > 240 && Blue(p) > 240)
                ++count;
        }
    return count;
}

// GDI+ runs for the whole run (the test program's main).
using ArtworkRender = ::testing::Test;

} // namespace

TEST_F(ArtworkRender, BackgroundCardAt100And150Percent) {
    for (int percent : {100, 150}) {
        SCOPED_TRACE(percent);
        const float s = percent / 100.0f;
        auto at = [s](float units) { return static_cast<int>(units * s); };
        Drawing drawing(at(700), at(400));
        auto document = drawing.Document(SvgResource(266));
        ASSERT_EQ(document->Width(), 700);
        ASSERT_EQ(document->Height(), 400);
        document->Render(static_cast<float>(at(700)), static_cast<float>(at(400)));
        auto pixels = drawing.Bitmap().Lock();
        ASSERT_TRUE(pixels.Valid());

        // Opaque dark surface everywhere, lighter at the top than at the bottom.
        const uint32_t top = pixels.Pixel(at(680), at(20));
        const uint32_t bottom = pixels.Pixel(at(680), at(380));
        EXPECT_EQ(Alpha(top), 255);
        EXPECT_EQ(Alpha(bottom), 255);
        EXPECT_GT(Green(top), Green(bottom));
        EXPECT_LT(Green(top), 0x40);
        // The glow behind the tile is a faint green, never a bright disc.
        const uint32_t glow = pixels.Pixel(at(327), at(60));
        EXPECT_GT(Green(glow), Red(glow) + 8);
        EXPECT_LT(Green(glow), 0x60);
        // The brand tile is green, its ring white.
        const uint32_t tile = pixels.Pixel(at(327), at(113));
        EXPECT_GT(Green(tile), 180);
        EXPECT_LT(Red(tile), 120);
        EXPECT_TRUE(Near(pixels.Pixel(at(310.2f), at(140)), 0xFFFFFF, 255, 6));
        // The headline is white text across the content column.
        EXPECT_GT(CountWhite(pixels, at(240), at(200), at(415), at(234)), at(240) * at(10) / 2);
        // Nothing white where the logo, the title buttons and the action button go.
        EXPECT_EQ(CountWhite(pixels, at(18), at(15), at(149), at(39)), 0);
        EXPECT_EQ(CountWhite(pixels, at(632), at(12), at(688), at(36)), 0);
        EXPECT_EQ(CountWhite(pixels, at(227), at(316), at(427), at(360)), 0);
    }
}

TEST_F(ArtworkRender, LogoIsTheTileAndAWhiteWordmark) {
    Drawing drawing(131, 24);
    auto document = drawing.Document(SvgResource(235));
    ASSERT_EQ(document->Width(), 131);
    ASSERT_EQ(document->Height(), 24);
    document->Render(131, 24);
    auto pixels = drawing.Bitmap().Lock();
    const uint32_t tile = pixels.Pixel(12, 2);
    EXPECT_EQ(Alpha(tile), 255);
    EXPECT_GT(Green(tile), 180);
    EXPECT_EQ(Alpha(pixels.Pixel(28, 12)), 0); // the gap between tile and wordmark
    EXPECT_GT(CountWhite(pixels, 32, 0, 131, 24), 300);
    EXPECT_EQ(Alpha(pixels.Pixel(125, 2)), 0);
}

TEST_F(ArtworkRender, ButtonStatesRecolourTheBodyOnly) {
    struct State {
        const char* colour;
        uint32_t rgb;
    };
    const State states[] = {
        {nullptr, 0x00D766}, {"#19CC6E", 0x19CC6E}, {"#00B255", 0x00B255}, {"#CCCCCC", 0xCCCCCC}};
    for (int id : {262, 265}) {
        for (const State& state : states) {
            for (int percent : {100, 150}) {
                SCOPED_TRACE(::testing::Message()
                             << id << " " << std::hex << state.rgb << std::dec << " " << percent);
                const int w = 200 * percent / 100, h = 44 * percent / 100;
                Drawing drawing(w, h);
                const std::string svg = SvgResource(id);
                auto document =
                    drawing.Document(state.colour ? Recoloured(svg, state.colour) : svg);
                document->Render(0, 0, static_cast<float>(w), static_cast<float>(h), 0, 0, 200, 44,
                                 1.0f);
                auto pixels = drawing.Bitmap().Lock();
                EXPECT_TRUE(Near(pixels.Pixel(w / 10, h / 2), state.rgb, 255));
                EXPECT_TRUE(Near(pixels.Pixel(w - w / 10, h / 2), state.rgb, 255));
                EXPECT_EQ(Alpha(pixels.Pixel(0, 0)), 0); // outside the rounded end
                EXPECT_EQ(Alpha(pixels.Pixel(w - 1, h - 1)), 0);
                // The white label in the middle third, in every state.
                EXPECT_GT(CountWhite(pixels, w / 3, 0, w - w / 3, h), w * h / 60);
            }
        }
    }
}

TEST_F(ArtworkRender, SpriteCellsAsTheButtonsDrawThem) {
    struct Cell {
        const char* id;
        int index;
        float opacity;
    };
    // Normal, hover, pushed, and disabled (the normal cell at 30 %).
    const Cell cells[] = {
        {"normal", 0, 1.0f}, {"hover", 1, 1.0f}, {"pushed", 2, 1.0f}, {"normal", 0, 0.3f}};
    for (int id : {237, 238}) {
        for (const Cell& cell : cells) {
            SCOPED_TRACE(::testing::Message() << id << " " << cell.id << " " << cell.opacity);
            Drawing drawing(24, 24);
            auto document = drawing.Document(SvgResource(id));
            ASSERT_EQ(document->Width(), 72);
            document->RenderElement(cell.id, 0, 0, 24, 24, 24.0f * cell.index, 0, 24, 24,
                                    cell.opacity);
            auto pixels = drawing.Bitmap().Lock();

            const float group = cell.index == 0 ? 1.0f : (cell.index == 1 ? 0.8f : 0.3f);
            const float fade = group * cell.opacity;
            // The glyph sits in the middle of the cell: grey when idle, white otherwise.
            const uint32_t glyph_rgb = cell.index == 0 ? 0xB4BABA : 0xFFFFFF;
            EXPECT_TRUE(Near(pixels.Pixel(12, 12), glyph_rgb, static_cast<int>(255 * fade), 4));
            // Hover and pushed cells have a backdrop: red for close, faint white for minimise.
            const uint32_t backdrop = pixels.Pixel(12, 3);
            if (cell.index == 0) {
                EXPECT_EQ(Alpha(backdrop), 0);
            } else if (id == 238) {
                EXPECT_TRUE(Near(backdrop, 0xFF5A4E, static_cast<int>(255 * 0.9f * fade), 4));
            } else {
                EXPECT_TRUE(Near(backdrop, 0xFFFFFF, static_cast<int>(255 * 0.12f * fade), 4));
            }
            // A cell never shows its neighbour: the right edge column stays clear
            // of glyphs (only the backdrop may reach it).
            EXPECT_LE(Alpha(pixels.Pixel(23, 12)), Alpha(backdrop) + 4);
        }
    }
}
