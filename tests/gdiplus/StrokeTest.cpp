// Strokes on real pixels: dash set-up in user units, caps, zero width.
#include "RendererFixture.h"

#include "svg/gdiplus/GDIPlusStrokePen.h"

namespace SVGEngine::testing {
namespace {

using StrokeTest = RendererTest;

std::unique_ptr<Path> Line(SVGRenderer& renderer, float x1, float y1, float x2, float y2) {
    auto path = renderer.CreatePath();
    path->MoveTo(x1, y1);
    path->LineTo(x2, y2);
    return path;
}

TEST(DashPattern, OddListIsRepeatedOnceEvenListKept) {
    EXPECT_EQ(EvenDashPattern({4, 2, 1}), (std::vector<float>{4, 2, 1, 4, 2, 1}));
    EXPECT_EQ(EvenDashPattern({4, 2}), (std::vector<float>{4, 2}));
    EXPECT_TRUE(EvenDashPattern({}).empty());
}

TEST(DashPattern, PenGetsSixValuesAndTheOffsetInPenWidths) {
    StrokeStyle stroke = SolidStroke(Rgba(0, 0, 0), 2);
    stroke.dashArray = {4, 2, 1};
    stroke.dashOffset = 3;
    stroke.lineCap = LineCap::Round;
    StrokePen pen = CreateStrokePen(stroke, 1.0f, {}, nullptr);
    ASSERT_TRUE(pen.pen);
    DashStyle style = DashStyleSolid;
    GdipGetPenDashStyle(pen.pen.get(), &style);
    EXPECT_NE(style, DashStyleSolid); // GDI+ reports a custom pattern once the array is set
    INT count = 0;
    GdipGetPenDashCount(pen.pen.get(), &count);
    ASSERT_EQ(count, 6);
    std::vector<REAL> values(6);
    GdipGetPenDashArray(pen.pen.get(), values.data(), 6);
    EXPECT_EQ(values, (std::vector<REAL>{2, 1, 0.5f, 2, 1, 0.5f}));
    REAL offset = 0;
    GdipGetPenDashOffset(pen.pen.get(), &offset);
    EXPECT_FLOAT_EQ(offset, 1.5f);
    GpDashCap dashCap = DashCapFlat;
    GdipGetPenDashCap197819(pen.pen.get(), &dashCap);
    EXPECT_EQ(dashCap, DashCapRound);
}

TEST(DashPattern, SquareCapsKeepFlatDashesAndUnusablePatternsDrawSolid) {
    StrokeStyle stroke = SolidStroke(Rgba(0, 0, 0), 2);
    stroke.lineCap = LineCap::Square;
    stroke.dashArray = {0, 0};
    StrokePen pen = CreateStrokePen(stroke, 1.0f, {}, nullptr);
    ASSERT_TRUE(pen.pen);
    GpLineCap start = LineCapFlat, end = LineCapFlat;
    GpDashCap dashCap = DashCapRound;
    GdipGetPenStartCap(pen.pen.get(), &start);
    GdipGetPenEndCap(pen.pen.get(), &end);
    GdipGetPenDashCap197819(pen.pen.get(), &dashCap);
    EXPECT_EQ(start, LineCapSquare);
    EXPECT_EQ(end, LineCapSquare);
    EXPECT_EQ(dashCap, DashCapFlat);
    DashStyle style = DashStyleDash;
    GdipGetPenDashStyle(pen.pen.get(), &style);
    EXPECT_EQ(style, DashStyleSolid);
}

TEST_F(StrokeTest, DashLengthsAreUserUnits) {
    StrokeStyle stroke = SolidStroke(Rgba(0, 0, 0), 4);
    stroke.dashArray = {10, 10};
    auto line = Line(*renderer_, 0, 50, 100, 50);
    renderer_->DrawPath(*line, {}, NoFill(), stroke);
    for (int x : {2, 8, 22, 28, 42})
        EXPECT_EQ(Alpha(PixelAt(x, 50)), 255) << x;
    for (int x : {12, 18, 32, 38, 52})
        EXPECT_EQ(Alpha(PixelAt(x, 50)), 0) << x;
}

TEST_F(StrokeTest, CapsExtendTheLineAsSvgDoes) {
    auto draw = [&](LineCap cap, float y) {
        StrokeStyle stroke = SolidStroke(Rgba(0, 0, 0), 10);
        stroke.lineCap = cap;
        auto line = Line(*renderer_, 30, y, 70, y);
        renderer_->DrawPath(*line, {}, NoFill(), stroke);
    };
    draw(LineCap::Butt, 15);
    draw(LineCap::Square, 50);
    draw(LineCap::Round, 85);
    // Butt ends at the end points; square adds half the width as a square; round as a disc.
    EXPECT_TRUE(Transparent(27, 15));
    EXPECT_EQ(Alpha(PixelAt(27, 50)), 255);
    EXPECT_EQ(Alpha(PixelAt(26, 46)), 255); // square corner
    EXPECT_EQ(Alpha(PixelAt(27, 85)), 255);
    EXPECT_TRUE(Transparent(25, 80)); // outside the round cap's disc
}

TEST_F(StrokeTest, ZeroWidthStrokeDrawsNothing) {
    StrokeStyle stroke = SolidStroke(Rgba(0, 0, 0), 0);
    auto line = Line(*renderer_, 0, 50, 100, 50);
    renderer_->DrawPath(*line, {}, NoFill(), stroke);
    EXPECT_TRUE(Transparent(50, 50));
}

TEST_F(StrokeTest, StrokeOpacityAndFillPaintBothLayers) {
    auto rect = Rect(20, 20, 60, 60);
    StrokeStyle stroke = SolidStroke(Rgba(1, 0, 0), 10);
    stroke.strokeOpacity = 0.5f;
    renderer_->DrawPath(*rect, {}, SolidFill(Rgba(0, 0, 1)), stroke);
    EXPECT_EQ(PixelAt(50, 50), 0xFF0000FFu);     // fill
    EXPECT_EQ(Alpha(PixelAt(50, 16)), 127);      // outer half of the stroke
    const std::uint32_t inner = PixelAt(50, 23); // stroke over fill
    EXPECT_EQ(Alpha(inner), 255);
    EXPECT_NEAR(Red(inner), 127, 2);
    EXPECT_NEAR(Blue(inner), 128, 2);
}

} // namespace
} // namespace SVGEngine::testing
