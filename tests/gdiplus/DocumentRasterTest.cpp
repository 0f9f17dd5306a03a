// Whole documents drawn through the GDI+ renderer into the raster bitmap, as the UI does.
#include "RendererFixture.h"

#include "SVGDocument.h"

namespace SVGEngine::testing {
namespace {

class DocumentRasterTest : public RendererTest {
  protected:
    std::unique_ptr<SVGDocument> Load(const char* text) {
        return SVGDocument::Create(text, renderer_);
    }
};

const char kSprite[] = R"svg(<svg xmlns="http://www.w3.org/2000/svg" width="72" height="24">
  <g id="normal"><rect x="0" y="0" width="24" height="24" fill="#FFFFFF"/></g>
  <g id="hover" opacity="0.8"><rect x="24" y="0" width="24" height="24" fill="#FF0000"/></g>
  <g id="pushed" opacity="0.3"><rect x="48" y="0" width="24" height="24" fill="#0000FF"/></g>
</svg>)svg";

TEST_F(DocumentRasterTest, FitToSizeKeepsTheAspectAnchoredTopLeft) {
    Reset(144, 24);
    Load(kSprite)->Render(144, 24);
    EXPECT_EQ(PixelAt(10, 10), 0xFFFFFFFFu);
    EXPECT_EQ(Alpha(PixelAt(30, 10)), 204); // trunc(0.8 x 255)
    EXPECT_TRUE(Transparent(80, 10));       // the picture keeps its 72 x 24
    EXPECT_EQ(renderer_->OpenLevels(), 0u);
}

TEST_F(DocumentRasterTest, SpriteCellsAsTheButtonsDrawThem) {
    Reset(24, 24);
    auto document = Load(kSprite);
    document->RenderElement("hover", 0, 0, 24, 24, 24, 0, 24, 24, 1.0f);
    EXPECT_EQ(PixelAt(12, 12), 0xCCCC0000u); // red at 0.8, premultiplied

    Reset(24, 24);
    document = Load(kSprite);
    document->RenderElement("normal", 0, 0, 24, 24, 0, 0, 24, 24, 0.3f); // disabled look
    EXPECT_EQ(PixelAt(12, 12), 0x4C4C4C4Cu);                             // alpha 76

    Reset(24, 24);
    document = Load(kSprite);
    document->RenderElement("missing", 0, 0, 24, 24, 0, 0, 24, 24, 1.0f);
    EXPECT_TRUE(Transparent(12, 12));
}

TEST_F(DocumentRasterTest, ScaledRenderAt150Percent) {
    Reset(36, 36);
    Load(kSprite)->RenderElement("normal", 0, 0, 36, 36, 0, 0, 24, 24, 1.0f);
    EXPECT_EQ(PixelAt(34, 34), 0xFFFFFFFFu);
}

TEST_F(DocumentRasterTest, RecolouredButtonBodyAndAColourMap) {
    Reset(40, 20);
    Load(R"svg(<svg xmlns="http://www.w3.org/2000/svg" width="40" height="20">
              <rect width="20" height="20" fill="#00B255"/>
              <rect x="20" width="20" height="20" fill="var(--accent, #FF0000)"/></svg>)svg")
        ->Render(ColorMap{{"accent", Rgba(0, 0, 1)}}, 40, 20);
    EXPECT_EQ(PixelAt(5, 5), 0xFF00B255u);
    EXPECT_EQ(PixelAt(30, 5), 0xFF0000FFu);
}

TEST_F(DocumentRasterTest, EmbeddedImageClippedByItsGroup) {
    Load(R"svg(<svg xmlns="http://www.w3.org/2000/svg" xmlns:xlink="http://www.w3.org/1999/xlink"
                 width="100" height="100">
              <defs><clipPath id="c"><rect width="50" height="100"/></clipPath></defs>
              <g clip-path="url(#c)">
                <image width="100" height="60" preserveAspectRatio="xMidYMid slice"
                  xlink:href="data:image/png;base64,iVBORw0KGgoAAAANSUhEUgAAAAQAAAAECAYAAACp8Z5+AAAAEklEQVR4nGP4z8DwHxkzkC4AADxAH+HggXe0AAAAAElFTkSuQmCC"/>
              </g></svg>)svg")
        ->Render(100, 100);
    // The slice overflows the 100 x 60 viewport and is cut to it; the group's clip still holds.
    EXPECT_EQ(PixelAt(25, 30), 0xFFFF0000u);
    EXPECT_TRUE(Transparent(25, 80));
    EXPECT_TRUE(Transparent(75, 30));
}

} // namespace
} // namespace SVGEngine::testing
