#include "RendererFixture.h"

#include "svg/gdiplus/GDIPlusApi.h"

namespace SVGEngine::testing {
namespace {

class GDIPlusEnvironment : public ::testing::Environment {
  public:
    void SetUp() override {
        session_ = std::make_unique<GDIPlusSession>();
        ASSERT_TRUE(session_->Started());
    }
    void TearDown() override { session_.reset(); }

  private:
    std::unique_ptr<GDIPlusSession> session_;
};

const auto* const environment = ::testing::AddGlobalTestEnvironment(new GDIPlusEnvironment);

} // namespace

std::uint8_t AlphaOf(std::uint32_t argb) {
    return static_cast<std::uint8_t>(argb >> 24);
}
std::uint8_t RedOf(std::uint32_t argb) {
    return static_cast<std::uint8_t>(argb >> 16);
}
std::uint8_t GreenOf(std::uint32_t argb) {
    return static_cast<std::uint8_t>(argb >> 8);
}
std::uint8_t BlueOf(std::uint32_t argb) {
    return static_cast<std::uint8_t>(argb);
}

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
    const GDIPlusSVGBitmap::LockedPixels pixels = bitmap_->Lock();
    EXPECT_TRUE(pixels.Valid());
    return pixels.Valid() ? pixels.Pixel(x, y) : 0xDEADBEEF;
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
