// Gradients: stops and their offsets, references between gradients, geometry.
#include "TestSupport.h"

#include <cmath>

using namespace SVGEngine;
using namespace SVGTest;
using Graphic = SVGDocumentImpl::Graphic;

namespace {

// The gradient a rect's fill holds after parsing.
const GradientImpl& FillGradient(const Loaded& l, std::size_t index = 0) {
    const auto& graphic = As<Graphic>(Child(l.Root(), index));
    const GradientImpl* g = boost::get<GradientImpl>(&graphic.Fill().paintImpl);
    if (g == nullptr)
        throw std::runtime_error("fill is not a gradient");
    return *g;
}

std::vector<float> Offsets(const GradientImpl& g) {
    std::vector<float> offsets;
    for (const auto& stop : *g.stops)
        offsets.push_back(stop.offset);
    return offsets;
}

} // namespace

TEST(Gradients, StopsGetEndCopiesAndNeverDecrease) {
    Loaded l =
        Load("<svg><linearGradient id='a'><stop offset='0.2' stop-color='red'/>"
             "<stop offset='0.8' stop-color='blue'/></linearGradient>"
             "<linearGradient id='b'><stop offset='0.5'/><stop offset='0.3'/><stop offset='50%'/>"
             "<stop offset='7'/><foo/></linearGradient>"
             "<linearGradient id='c'><stop offset='-1'/><stop/></linearGradient>"
             "<rect fill='url(#a)'/><rect fill='url(#b)'/><rect fill='url(#c)'/></svg>");
    const GradientImpl& a = FillGradient(l, 0);
    EXPECT_EQ(Offsets(a), (std::vector<float>{0, 0.2f, 0.8f, 1}));
    EXPECT_EQ(boost::get<Color>((*a.stops)[0].color), (Color{1, 0, 0, 1}));
    EXPECT_EQ(boost::get<Color>((*a.stops)[3].color), (Color{0, 0, 1, 1}));
    EXPECT_EQ(Offsets(FillGradient(l, 1)), (std::vector<float>{0, 0.5f, 0.5f, 0.5f, 1}));
    EXPECT_EQ(Offsets(FillGradient(l, 2)), (std::vector<float>{0, 0, 1}));
}

TEST(Gradients, NoStopsSwitchesOffAndOneStopIsAColour) {
    Loaded l = Load("<svg><linearGradient id='none'/><radialGradient id='one'>"
                    "<stop stop-color='red' stop-opacity='0.5'/></radialGradient>"
                    "<rect fill='url(#none)'/><rect fill='url(#one)'/>"
                    "<rect fill='url(#later)' stroke='url(#none)'/>"
                    "<linearGradient id='later'><stop/><stop/></linearGradient></svg>");
    EXPECT_FALSE(As<Graphic>(Child(l.Root(), 0)).Fill().hasFill);
    const auto& one = As<Graphic>(Child(l.Root(), 1));
    EXPECT_TRUE(one.Fill().hasFill);
    EXPECT_EQ(boost::get<Color>(one.Fill().paintImpl), (Color{1, 0, 0, 1})); // opacity ignored
    // A gradient defined later is not found: the fill keeps what it inherited.
    const auto& later = As<Graphic>(Child(l.Root(), 2));
    EXPECT_EQ(boost::get<Color>(later.Fill().paintImpl), (Color{0, 0, 0, 1}));
    EXPECT_FALSE(later.Stroke().hasStroke);
}

TEST(Gradients, MissingCoordinatesFollowTheViewBox) {
    Loaded l =
        Load("<svg viewBox='0 0 200 44'><linearGradient id='l'><stop/><stop/></linearGradient>"
             "<radialGradient id='r'><stop/><stop/></radialGradient>"
             "<radialGradient id='f' cx='10' r='bad' spreadMethod='reflect'><stop/><stop/>"
             "</radialGradient>"
             "<linearGradient id='p' x1='10%' y2='50%' spreadMethod='repeat' "
             "gradientTransform='rotate(90)'><stop/><stop/></linearGradient>"
             "<rect fill='url(#l)'/><rect fill='url(#r)'/><rect fill='url(#f)'/>"
             "<rect fill='url(#p)'/></svg>");
    const Gradient& lin = FillGradient(l, 0).gradient;
    EXPECT_EQ(lin.type, GradientType::Linear);
    EXPECT_FLOAT_EQ(lin.x1, 0);
    EXPECT_FLOAT_EQ(lin.y1, 0);
    EXPECT_FLOAT_EQ(lin.x2, 200);
    EXPECT_FLOAT_EQ(lin.y2, 0);
    EXPECT_EQ(lin.spread, SpreadMethod::Pad);
    const Gradient& rad = FillGradient(l, 1).gradient;
    EXPECT_EQ(rad.type, GradientType::Radial);
    EXPECT_FLOAT_EQ(rad.cx, 100);
    EXPECT_FLOAT_EQ(rad.cy, 22);
    EXPECT_FLOAT_EQ(rad.fx, 100);
    EXPECT_FLOAT_EQ(rad.fy, 22);
    EXPECT_FLOAT_EQ(rad.r, std::sqrt(200.0f * 200.0f + 44.0f * 44.0f) * 0.5f);
    const Gradient& focus = FillGradient(l, 2).gradient;
    EXPECT_FLOAT_EQ(focus.cx, 10);
    EXPECT_FLOAT_EQ(focus.fx, 10); // the focus follows a given centre
    EXPECT_FLOAT_EQ(focus.r, 0);   // present but unreadable
    EXPECT_EQ(focus.spread, SpreadMethod::Reflect);
    const Gradient& given = FillGradient(l, 3).gradient;
    EXPECT_FLOAT_EQ(given.x1, 20);
    EXPECT_FLOAT_EQ(given.y2, 22);
    EXPECT_FLOAT_EQ(given.x2, 200);
    EXPECT_EQ(given.spread, SpreadMethod::Repeat);
    ASSERT_TRUE(given.transform);
    EXPECT_NEAR(MatrixOf(*given.transform).b, 1.0, 1e-6);
}

TEST(Gradients, ReferencesCopyEarlierGradients) {
    Loaded l =
        Load("<svg><linearGradient id='base' x1='1' y1='2' x2='3' y2='4' spreadMethod='reflect'>"
             "<stop offset='0' stop-color='red'/><stop offset='1' stop-color='blue'/>"
             "</linearGradient>"
             "<radialGradient id='derived' xlink:href='#base' r='9'/>"
             "<linearGradient id='own' xlink:href='#base'><stop stop-color='lime'/>"
             "<stop stop-color='navy' offset='1'/></linearGradient>"
             "<linearGradient id='dangling' xlink:href='#nowhere'><stop/><stop/></linearGradient>"
             "<linearGradient id='base'><stop/></linearGradient>"
             "<rect fill='url(#derived)'/><rect fill='url(#own)'/><rect fill='url(#base)'/></svg>");
    const GradientImpl& derived = FillGradient(l, 0);
    EXPECT_EQ(derived.gradient.type, GradientType::Radial);
    EXPECT_FLOAT_EQ(derived.gradient.r, 9);
    EXPECT_EQ(derived.gradient.spread, SpreadMethod::Reflect);
    EXPECT_EQ(derived.StopCount(), 2u);
    EXPECT_EQ(boost::get<Color>((*derived.stops)[1].color), (Color{0, 0, 1, 1}));
    const GradientImpl& own = FillGradient(l, 1);
    EXPECT_FLOAT_EQ(own.gradient.x1, 1);
    EXPECT_EQ(boost::get<Color>((*own.stops)[0].color), Rgb(0, 255, 0));
    // The first gradient with an id wins.
    EXPECT_EQ(FillGradient(l, 2).StopCount(), 2u);
}

TEST(Gradients, StopColoursCurrentColorAndStopOpacity) {
    Loaded l = Load("<svg><linearGradient id='g' color='lime'>"
                    "<stop stop-color='currentcolor' stop-opacity='0.25'/>"
                    "<stop color='blue' stop-color='currentcolor' stop-opacity='2'/>"
                    "<stop stop-color='var(--accent, red)'/></linearGradient>"
                    "<rect fill='url(#g)' color='red'/></svg>");
    const GradientImpl& g = FillGradient(l);
    ASSERT_EQ(g.StopCount(), 4u); // a copy at offset 1 was appended
    EXPECT_EQ(boost::get<Color>((*g.stops)[0].color), Rgb(0, 255, 0));
    EXPECT_FLOAT_EQ((*g.stops)[0].stopOpacity, 0.25f);
    EXPECT_EQ(boost::get<Color>((*g.stops)[1].color), Rgb(0, 0, 255));
    EXPECT_FLOAT_EQ((*g.stops)[1].stopOpacity, 1.0f);
    EXPECT_EQ(boost::get<VariableRef>((*g.stops)[2].color).name, "accent");
}

TEST(Gradients, GradientsInsideGroupsAreDefinitionsToo) {
    Loaded l = Load("<svg><g><radialGradient id='g'><stop/><stop/></radialGradient></g>"
                    "<rect fill='url(#g)'/><linearGradient/></svg>");
    EXPECT_EQ(FillGradient(l, 1).gradient.type, GradientType::Radial);
}

TEST(Gradients, StopListsAreSharedByEveryReference) {
    std::string svg = "<svg><linearGradient id='g'>";
    for (int i = 0; i < 500; ++i)
        svg += "<stop/>";
    svg += "</linearGradient><linearGradient id='h' xlink:href='#g'/>";
    for (int i = 0; i < 300; ++i)
        svg += "<rect fill='url(#g)' stroke='url(#h)'/>";
    svg += "</svg>";
    Loaded l = Load(svg.c_str());
    ASSERT_EQ(l.Root().Children().size(), 300u);
    const GradientImpl& first = FillGradient(l, 0);
    const GradientImpl& last = FillGradient(l, 299);
    EXPECT_EQ(first.StopCount(), 501u); // a copy at offset 1 was appended
    EXPECT_EQ(first.stops.get(), last.stops.get());
    const auto& stroke =
        boost::get<GradientImpl>(As<Graphic>(Child(l.Root(), 7)).Stroke().paintImpl);
    EXPECT_EQ(stroke.stops.get(), first.stops.get());
}
