// Gradient brushes on real pixels: spread methods, radial stop placement, stopless gradients.
#include "RendererFixture.h"

#include "svg/gdiplus/GDIPlusGradientBrush.h"

#include <algorithm>
#include <utility>

namespace SVGEngine::testing {
namespace {

using GradientTest = RendererTest;

Gradient RedToBlue(GradientType type) {
    Gradient gradient;
    gradient.type = type;
    gradient.stops = {Stop(0, Rgba(1, 0, 0)), Stop(1, Rgba(0, 0, 1))};
    return gradient;
}

TEST(WrapMode, FollowsSpreadMethod) {
    EXPECT_EQ(WrapModeFor(SpreadMethod::Pad), WrapModeClamp);
    EXPECT_EQ(WrapModeFor(SpreadMethod::Reflect), WrapModeTileFlipXY);
    EXPECT_EQ(WrapModeFor(SpreadMethod::Repeat), WrapModeTile);
}

class LinearSpread : public RendererTest {
  protected:
    // A red-to-blue vector over x 0..20, painted across 100 pixels.
    void Paint(SpreadMethod spread) {
        Gradient gradient = RedToBlue(GradientType::Linear);
        gradient.spread = spread;
        gradient.x1 = 0;
        gradient.x2 = 20;
        FillStyle fill;
        fill.paint = gradient;
        auto rect = Rect(0, 0, 100, 10);
        renderer_->DrawPath(*rect, {}, fill, StrokeStyle{});
    }
};

TEST_F(LinearSpread, PadKeepsTheEndColourBeyondTheVector) {
    Paint(SpreadMethod::Pad);
    EXPECT_GT(Red(PixelAt(1, 5)), 230);
    for (int x : {30, 50, 90}) {
        EXPECT_GT(Blue(PixelAt(x, 5)), 250) << x;
        EXPECT_LT(Red(PixelAt(x, 5)), 5) << x;
    }
}

TEST_F(LinearSpread, RepeatStartsOverAndReflectRunsBack) {
    Paint(SpreadMethod::Repeat);
    EXPECT_GT(Red(PixelAt(21, 5)), 200); // a new period begins red
    EXPECT_GT(Blue(PixelAt(39, 5)), 200);

    Reset(kSize, kSize);
    Paint(SpreadMethod::Reflect);
    EXPECT_GT(Blue(PixelAt(21, 5)), 200); // mirrored: blue again just past the end
    EXPECT_GT(Red(PixelAt(39, 5)), 200);
}

TEST_F(GradientTest, RadialIsRedAtTheFocusAndBlueAtTheRim) {
    Gradient gradient = RedToBlue(GradientType::Radial);
    gradient.cx = 50;
    gradient.cy = 50;
    gradient.r = 40;
    gradient.fx = 40;
    gradient.fy = 45;
    FillStyle fill;
    fill.paint = gradient;
    auto rect = Rect(0, 0, 100, 100);
    renderer_->DrawPath(*rect, {}, fill, StrokeStyle{});

    const std::uint32_t focus = PixelAt(40, 45);
    EXPECT_GT(Red(focus), 220);
    EXPECT_LT(Blue(focus), 35);
    const std::uint32_t rim = PixelAt(88, 50);
    EXPECT_GT(Blue(rim), 220);
    EXPECT_LT(Red(rim), 35);
    // Padded beyond the circle with the last stop's colour.
    EXPECT_EQ(PixelAt(2, 2), 0xFF0000FFu);
}

TEST_F(GradientTest, RadialInnerStopsSitAtTheirOffsetsFromTheFocus) {
    Gradient gradient;
    gradient.type = GradientType::Radial;
    gradient.stops = {Stop(0, Rgba(1, 0, 0)), Stop(0.25f, Rgba(1, 0, 0)),
                      Stop(0.25f, Rgba(0, 1, 0)), Stop(1, Rgba(0, 1, 0))};
    gradient.cx = gradient.fx = 50;
    gradient.cy = gradient.fy = 50;
    gradient.r = 40;
    FillStyle fill;
    fill.paint = gradient;
    auto rect = Rect(0, 0, 100, 100);
    renderer_->DrawPath(*rect, {}, fill, StrokeStyle{});
    EXPECT_GT(Red(PixelAt(50 + 5, 50)), 200);    // inside radius 10
    EXPECT_GT(Green(PixelAt(50 + 20, 50)), 200); // beyond it
}

TEST_F(GradientTest, StoplessGradientPaintsNothing) {
    Gradient gradient;
    gradient.x2 = 100;
    FillStyle fill;
    fill.paint = gradient;
    auto rect = Rect(0, 0, 100, 100);
    renderer_->DrawPath(*rect, {}, fill, StrokeStyle{});
    EXPECT_TRUE(Transparent(50, 50));
    EXPECT_EQ(CreateGradientBrush(gradient, 1.0f, {}, nullptr), nullptr);
}

TEST_F(GradientTest, StopAlphaIsMultipliedByOpacity) {
    Gradient gradient = RedToBlue(GradientType::Linear);
    gradient.stops[0].color.a = 0.5f;
    gradient.stops[1].color.a = 0.5f;
    gradient.x2 = 100;
    FillStyle fill;
    fill.paint = gradient;
    fill.fillOpacity = 0.5f;
    auto rect = Rect(0, 0, 100, 100);
    renderer_->DrawPath(*rect, {}, fill, StrokeStyle{});
    EXPECT_NEAR(Alpha(PixelAt(50, 50)), 63, 1); // trunc(0.25 x 255)
}

TEST_F(GradientTest, GradientStrokePaintsThePen) {
    Gradient gradient = RedToBlue(GradientType::Linear);
    gradient.x1 = 10;
    gradient.x2 = 90;
    StrokeStyle stroke;
    stroke.hasStroke = true;
    stroke.lineWidth = 6;
    stroke.paint = gradient;
    auto path = renderer_->CreatePath();
    path->MoveTo(10, 50);
    path->LineTo(90, 50);
    renderer_->DrawPath(*path, {}, NoFill(), stroke);
    EXPECT_GT(Red(PixelAt(12, 50)), 220);
    EXPECT_GT(Blue(PixelAt(88, 50)), 220);
    EXPECT_TRUE(Transparent(50, 40));
}

} // namespace
} // namespace SVGEngine::testing

namespace SVGEngine::testing {
namespace {

TEST_F(GradientTest, VectorOfNoLengthPaintsTheLastStop) {
    Gradient gradient = RedToBlue(GradientType::Linear);
    gradient.x1 = gradient.x2 = 30;
    FillStyle fill;
    fill.paint = gradient;
    auto rect = Rect(0, 0, 100, 100);
    renderer_->DrawPath(*rect, {}, fill, StrokeStyle{});
    EXPECT_EQ(PixelAt(10, 10), 0xFF0000FFu);
    EXPECT_EQ(PixelAt(90, 90), 0xFF0000FFu);
}

} // namespace
} // namespace SVGEngine::testing

namespace SVGEngine::testing {
namespace {

TEST_F(GradientTest, RadialOnAHugeShapePaintsWhatIsVisible) {
    Gradient gradient = RedToBlue(GradientType::Radial);
    gradient.cx = gradient.fx = 50;
    gradient.cy = gradient.fy = 50;
    gradient.r = 40;
    FillStyle fill;
    fill.paint = gradient;
    auto rect = Rect(-50000, -50000, 100000, 100000);
    renderer_->DrawPath(*rect, {}, fill, StrokeStyle{});
    EXPECT_GT(Red(PixelAt(50, 50)), 220);
    EXPECT_EQ(PixelAt(98, 98), 0xFF0000FFu);
}

TEST_F(GradientTest, RadialCoversTheWholeVisibleFillAtAnyScale) {
    // A radial gradient centred on the bitmap, and a fill 5000 pixels larger on every side, both
    // given in device pixels divided by the scale they are drawn at: red at the centre, the
    // pad's blue out to every edge. A bitmap wider than 2048 pixels, magnifications that make
    // one user unit thousands of pixels (or 1e15), and a reduction.
    struct Case {
        int width, height;
        float scale;
    };
    const Case cases[] = {{3000, 20, 1}, {100, 100, 4000}, {100, 100, 1e15f}, {100, 100, 0.001f}};
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.width << " x " << c.height << " at " << c.scale);
        Reset(c.width, c.height);
        const float s = c.scale;
        Gradient gradient = RedToBlue(GradientType::Radial);
        gradient.cx = gradient.fx = c.width / 2 / s;
        gradient.cy = gradient.fy = c.height / 2 / s;
        gradient.r = (std::min(c.width, c.height) / 2 - 5) / s;
        FillStyle fill;
        fill.paint = gradient;
        GraphicStyle style;
        style.transform = renderer_->CreateTransform(s, 0, 0, s, 0, 0);
        auto rect = Rect(-5000 / s, -5000 / s, (c.width + 10000) / s, (c.height + 10000) / s);
        renderer_->DrawPath(*rect, style, fill, StrokeStyle{});

        EXPECT_GT(Red(PixelAt(c.width / 2, c.height / 2)), 200);
        const int right = c.width - 1, bottom = c.height - 1;
        for (auto [x, y] : {std::pair{0, 0},
                            {right, 0},
                            {0, bottom},
                            {right, bottom},
                            {right, c.height / 2},
                            {c.width / 2, bottom}})
            EXPECT_EQ(PixelAt(x, y), 0xFF0000FFu) << x << ", " << y;
    }
}

} // namespace
} // namespace SVGEngine::testing
