// Path geometry, transform composition and clip paths on real pixels.
#include "RendererFixture.h"

#include "svg/gdiplus/GDIPlusSVGPath.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace SVGEngine::testing {
namespace {

using GeometryTest = RendererTest;

std::vector<PointF> PointsOf(const GDIPlusSVGPath& path) {
    INT count = 0;
    GdipGetPointCount(path.Handle(), &count);
    std::vector<PointF> points(static_cast<std::size_t>(count));
    if (count > 0)
        GdipGetPathPoints(path.Handle(), points.data(), count);
    return points;
}

TEST_F(GeometryTest, QuadraticBecomesCubicWithTwoThirdsControlPoints) {
    GDIPlusSVGPath path;
    path.MoveTo(0, 0);
    path.QuadTo(30, 60, 90, 0);
    const std::vector<PointF> points = PointsOf(path);
    ASSERT_EQ(points.size(), 4u);
    EXPECT_FLOAT_EQ(points[1].X, 20);
    EXPECT_FLOAT_EQ(points[1].Y, 40);
    EXPECT_FLOAT_EQ(points[2].X, 50);
    EXPECT_FLOAT_EQ(points[2].Y, 40);
    EXPECT_FLOAT_EQ(points[3].X, 90);
}

TEST_F(GeometryTest, RoundedRectHasCircularCornersAndStraightSides) {
    auto path = renderer_->CreatePath();
    path->AddRoundedRect(10, 10, 80, 60, 20);
    Fill(*path, Rgba(0, 1, 0));
    EXPECT_TRUE(Transparent(12, 12)); // cut corner
    EXPECT_TRUE(Transparent(87, 67));
    EXPECT_EQ(PixelAt(50, 11), 0xFF00FF00u); // top side
    EXPECT_EQ(PixelAt(11, 40), 0xFF00FF00u); // left side
    EXPECT_EQ(PixelAt(88, 40), 0xFF00FF00u);
    EXPECT_EQ(PixelAt(50, 68), 0xFF00FF00u);
    EXPECT_EQ(PixelAt(18, 18), 0xFF00FF00u); // inside the corner's arc
}

// Signed distance of (px, py) from the outline of the box (x, y, w, h) with corner radius r.
float RoundedBoxDistance(float px, float py, float x, float y, float w, float h, float r) {
    const float qx = std::fabs(px - (x + w / 2)) - (w / 2 - r);
    const float qy = std::fabs(py - (y + h / 2)) - (h / 2 - r);
    const float outside = std::hypot(std::max(qx, 0.0f), std::max(qy, 0.0f));
    return outside + std::min(std::max(qx, qy), 0.0f) - r;
}

TEST_F(GeometryTest, RoundedRectOutlineRunsOnceRoundItsBoxWithCircularCorners) {
    // Radius below a third of a side, above it, half the shorter side, a circle, and radii
    // too large for the box, which are cut to half its shorter side.
    struct Case {
        float w, h, r, radius;
    };
    const Case cases[] = {{80, 60, 20, 20}, {80, 30, 12, 12}, {80, 30, 15, 15},
                          {40, 40, 20, 20}, {80, 30, 40, 15}, {30, 70, 1000, 15}};
    const float x = 10, y = 5;
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.w << " x " << c.h << " r " << c.r);
        GDIPlusSVGPath path;
        path.AddRoundedRect(x, y, c.w, c.h, c.r);
        GpPath* flat = nullptr;
        ASSERT_EQ(GdipClonePath(path.Handle(), &flat), Ok);
        UniquePath owner(flat);
        ASSERT_EQ(GdipFlattenPath(flat, nullptr, 0.01f), Ok);
        INT count = 0;
        GdipGetPointCount(flat, &count);
        ASSERT_GT(count, 8);
        std::vector<PointF> points(static_cast<std::size_t>(count));
        GdipGetPathPoints(flat, points.data(), count);

        // Clockwise from the end of the top-left corner, as SVG draws a rect (dashes start there).
        EXPECT_NEAR(points[0].X, x + c.radius, 0.01f);
        EXPECT_NEAR(points[0].Y, y, 0.01f);
        float worst = 0, length = 0;
        for (std::size_t i = 0; i < points.size(); ++i) {
            const PointF& p = points[i];
            const PointF& next = points[(i + 1) % points.size()];
            worst =
                std::max(worst, std::fabs(RoundedBoxDistance(p.X, p.Y, x, y, c.w, c.h, c.radius)));
            length += std::hypot(next.X - p.X, next.Y - p.Y);
        }
        EXPECT_LT(worst, 0.05f);
        // Once round: a side that doubles back would add its detour to the length.
        const float perimeter = 2 * (c.w + c.h) - 8 * c.radius + 6.2831853f * c.radius;
        EXPECT_NEAR(length, perimeter, perimeter * 0.002f);
    }
}

TEST_F(GeometryTest, MoveToStartsANewFigure) {
    // Two open triangles side by side; joined figures would also fill the gap between them.
    auto path = renderer_->CreatePath();
    path->MoveTo(10, 10);
    path->LineTo(40, 10);
    path->LineTo(40, 40);
    path->MoveTo(60, 10);
    path->LineTo(90, 10);
    path->LineTo(90, 40);
    Fill(*path, Rgba(0, 0, 0));
    EXPECT_EQ(Alpha(PixelAt(38, 14)), 255);
    EXPECT_EQ(Alpha(PixelAt(88, 14)), 255);
    EXPECT_TRUE(Transparent(50, 12));
}

TEST_F(GeometryTest, LineAfterCloseStartsAtTheFigureStart) {
    GDIPlusSVGPath path;
    path.MoveTo(10, 10);
    path.LineTo(50, 10);
    path.LineTo(50, 50);
    path.ClosePath();
    EXPECT_FLOAT_EQ(path.CurrentPoint().X, 10);
    EXPECT_FLOAT_EQ(path.CurrentPoint().Y, 10);
    path.LineTo(10, 90);
    const std::vector<PointF> points = PointsOf(path);
    ASSERT_EQ(points.size(), 5u);
    EXPECT_FLOAT_EQ(points[3].X, 10);
    EXPECT_FLOAT_EQ(points[3].Y, 10);
}

TEST_F(GeometryTest, NestedTransformsComposeAndTheShapesOwnApplies) {
    GraphicStyle outer;
    outer.transform = renderer_->CreateTransform(1, 0, 0, 1, 0, 0);
    outer.transform->Translate(20, 0);
    outer.transform->Scale(2, 2);
    renderer_->Save(outer);
    GraphicStyle own;
    own.transform = renderer_->CreateTransform(1, 0, 0, 1, 10, 10); // in the scaled space
    auto rect = Rect(0, 0, 5, 5);
    Fill(*rect, Rgba(1, 0, 0), own);
    renderer_->Restore();
    // Lands at 20 + 2 x (10 .. 15) = 40 .. 50, and y 20 .. 30.
    EXPECT_EQ(PixelAt(41, 21), 0xFFFF0000u);
    EXPECT_EQ(PixelAt(49, 29), 0xFFFF0000u);
    EXPECT_TRUE(Transparent(38, 25));
    EXPECT_TRUE(Transparent(51, 25));
    EXPECT_TRUE(Transparent(15, 25));
}

TEST_F(GeometryTest, ClipPathLimitsTheElementWithItsRuleAndTransform) {
    auto clipShape = renderer_->CreatePath();
    clipShape->AddRect(0, 0, 40, 40);
    clipShape->AddRect(10, 10, 20, 20);
    auto clip = std::make_shared<ClippingPath>();
    clip->hasClipContent = true;
    clip->clipRule = WindingRule::EvenOdd;
    clip->path = std::move(clipShape);
    clip->transform = renderer_->CreateTransform(1, 0, 0, 1, 10, 10);
    GraphicStyle style;
    style.clippingPath = clip;
    auto rect = Rect(0, 0, 100, 100);
    Fill(*rect, Rgba(0, 0, 1), style);
    EXPECT_EQ(PixelAt(12, 12), 0xFF0000FFu); // ring of the clip, moved by 10
    EXPECT_TRUE(Transparent(35, 35));        // even-odd hole
    EXPECT_TRUE(Transparent(5, 5));          // outside
    EXPECT_TRUE(Transparent(60, 60));
}

TEST_F(GeometryTest, GroupClipLimitsItsChildren) {
    auto clipShape = renderer_->CreatePath();
    clipShape->AddEllipse(50, 50, 20, 20);
    auto clip = std::make_shared<ClippingPath>();
    clip->hasClipContent = true;
    clip->path = std::move(clipShape);
    GraphicStyle group;
    group.clippingPath = clip;
    renderer_->Save(group);
    auto rect = Rect(0, 0, 100, 100);
    Fill(*rect, Rgba(0, 0, 1));
    renderer_->Restore();
    EXPECT_EQ(PixelAt(50, 50), 0xFF0000FFu);
    EXPECT_TRUE(Transparent(33, 33));

    Fill(*rect, Rgba(0, 0, 1)); // the clip ends with its level
    EXPECT_EQ(PixelAt(5, 5), 0xFF0000FFu);
}

} // namespace
} // namespace SVGEngine::testing
