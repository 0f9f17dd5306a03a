#include "RendererFixture.h"

#include "BitmapPixels.h"

namespace SVGEngine::testing {

void RendererTest::SetUp() {
    Reset(kSize, kSize);
}

void RendererTest::Reset(int width, int height) {
    renderer_.reset();
    bitmap_ = std::make_unique<GDIPlusSVGBitmap>(width, height);
    ASSERT_TRUE(bitmap_->Valid());
    renderer_ = std::make_shared<GDIPlusSVGRenderer>();
    renderer_->SetTarget(bitmap_->Graphics());
}

std::uint32_t RendererTest::PixelAt(int x, int y) const {
    return TestSupport::PixelAt(*bitmap_, x, y);
}

std::unique_ptr<Path> RendererTest::Rect(float x, float y, float w, float h) {
    std::unique_ptr<Path> path = renderer_->CreatePath();
    path->AddRect(x, y, w, h);
    return path;
}

void RendererTest::Fill(const Path& path, const Color& color, const GraphicStyle& style) {
    renderer_->DrawPath(path, style, SolidFill(color), StrokeStyle{});
}

} // namespace SVGEngine::testing
