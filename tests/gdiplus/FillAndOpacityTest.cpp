// Solid fills on real pixels: colour conversion, fill rules, the opacity stack, hidden elements.
#include "RendererFixture.h"

#include "svg/gdiplus/GDIPlusColor.h"

namespace SVGEngine::testing {
namespace {

using FillTest = RendererTest;

TEST(ColorConversion, TruncatesChannelsAndPacksArgb) {
    EXPECT_EQ(ToArgb(Rgba(1, 1, 1, 1)), 0xFFFFFFFFu);
    EXPECT_EQ(ChannelToByte(0.5), 127u);
    EXPECT_EQ(ChannelToByte(0.999), 254u);
    EXPECT_EQ(ToArgb(Rgba(1, 0, 0, 1), 0.5f), 0x7FFF0000u);
    EXPECT_EQ(ToArgb(Rgba(0, 0.5f, 1, 1)), 0xFF007FFFu);
    // Out of range saturates instead of wrapping.
    EXPECT_EQ(ChannelToByte(1.5), 255u);
    EXPECT_EQ(ChannelToByte(-0.2), 0u);
}

TEST_F(FillTest, WhiteFillIsOpaqueWhiteAndHalfOpacityGivesAlpha127) {
    auto left = Rect(0, 0, 50, 100);
    Fill(*left, Rgba(1, 1, 1));
    auto right = Rect(50, 0, 50, 100);
    renderer_->DrawPath(*right, {}, SolidFill(Rgba(1, 1, 1), 0.5f), StrokeStyle{});

    EXPECT_EQ(PixelAt(25, 50), 0xFFFFFFFFu);
    EXPECT_EQ(Alpha(PixelAt(75, 50)), 127);
    EXPECT_EQ(PixelAt(75, 50), 0x7F7F7F7Fu); // premultiplied
}

TEST_F(FillTest, EvenOddLeavesNestedSquareHollowNonZeroFillsIt) {
    auto nested = [&] {
        auto path = renderer_->CreatePath();
        path->AddRect(10, 10, 80, 80);
        path->AddRect(30, 30, 40, 40); // same direction as the outer square
        return path;
    };
    auto path = nested();
    FillStyle evenOdd = SolidFill(Rgba(0, 0, 1));
    evenOdd.fillRule = WindingRule::EvenOdd;
    renderer_->DrawPath(*path, {}, evenOdd, StrokeStyle{});
    EXPECT_TRUE(Transparent(50, 50));
    EXPECT_EQ(PixelAt(20, 50), 0xFF0000FFu);

    Reset(kSize, kSize);
    path = nested();
    renderer_->DrawPath(*path, {}, SolidFill(Rgba(0, 0, 1)), StrokeStyle{});
    EXPECT_EQ(PixelAt(50, 50), 0xFF0000FFu);
}

TEST_F(FillTest, OpacityMultipliesThroughLevelsAndRestoreReturnsIt) {
    GraphicStyle group;
    group.opacity = 0.3f;
    renderer_->Save(group);
    EXPECT_FLOAT_EQ(renderer_->CurrentOpacity(), 0.3f);
    auto rect = Rect(0, 0, 10, 10);
    Fill(*rect, Rgba(1, 1, 1));
    EXPECT_EQ(Alpha(PixelAt(5, 5)), 76); // trunc(0.3 x 255)

    GraphicStyle inner;
    inner.opacity = 0.5f;
    renderer_->Save(inner);
    EXPECT_FLOAT_EQ(renderer_->CurrentOpacity(), 0.15f);
    EXPECT_EQ(renderer_->OpenLevels(), 2u);
    renderer_->Restore();
    renderer_->Restore();
    EXPECT_FLOAT_EQ(renderer_->CurrentOpacity(), 1.0f);
    EXPECT_EQ(renderer_->OpenLevels(), 0u);

    // Element opacity and fill-opacity multiply with the level's.
    GraphicStyle element;
    element.opacity = 0.5f;
    auto other = Rect(20, 0, 10, 10);
    renderer_->DrawPath(*other, element, SolidFill(Rgba(1, 1, 1), 0.5f), StrokeStyle{});
    EXPECT_EQ(Alpha(PixelAt(25, 5)), 63); // trunc(0.25 x 255)
}

TEST_F(FillTest, HiddenElementsAndHiddenGroupsDrawNothing) {
    auto rect = Rect(0, 0, 20, 20);
    GraphicStyle noDisplay;
    noDisplay.display = false;
    Fill(*rect, Rgba(1, 0, 0), noDisplay);
    EXPECT_TRUE(Transparent(10, 10));

    FillStyle invisible = SolidFill(Rgba(1, 0, 0));
    invisible.visibility = false;
    renderer_->DrawPath(*rect, {}, invisible, StrokeStyle{});
    EXPECT_TRUE(Transparent(10, 10));

    renderer_->Save(noDisplay);
    Fill(*rect, Rgba(1, 0, 0));
    renderer_->Restore();
    EXPECT_TRUE(Transparent(10, 10));

    Fill(*rect, Rgba(1, 0, 0)); // after the hidden group closes, drawing resumes
    EXPECT_EQ(PixelAt(10, 10), 0xFFFF0000u);
}

TEST_F(FillTest, ForeignPathIsABadCast) {
    struct OtherPath : Path {
        void AddRect(float, float, float, float) override {}
        void AddRoundedRect(float, float, float, float, float) override {}
        void AddEllipse(float, float, float, float) override {}
        void MoveTo(float, float) override {}
        void LineTo(float, float) override {}
        void CurveTo(float, float, float, float, float, float) override {}
        void QuadTo(float, float, float, float) override {}
        void ClosePath() override {}
    } other;
    EXPECT_THROW(Fill(other, Rgba(1, 0, 0)), std::bad_cast);
}

} // namespace
} // namespace SVGEngine::testing

namespace SVGEngine::testing {
namespace {

TEST_F(FillTest, ForeignTransformIsABadCastInConcatAndSkippedInAStyle) {
    struct OtherTransform : Transform {
        void Set(float, float, float, float, float, float) override {}
        void Rotate(float) override {}
        void Translate(float, float) override {}
        void Scale(float, float) override {}
        void Concat(const Transform&) override {}
    };
    auto own = renderer_->CreateTransform(1, 0, 0, 1, 0, 0);
    EXPECT_THROW(own->Concat(OtherTransform{}), std::bad_cast);

    GraphicStyle style;
    style.transform = std::make_shared<OtherTransform>();
    auto rect = Rect(0, 0, 10, 10);
    Fill(*rect, Rgba(0, 1, 0), style);
    EXPECT_EQ(PixelAt(5, 5), 0xFF00FF00u);
}

} // namespace
} // namespace SVGEngine::testing
