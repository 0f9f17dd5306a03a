// The two render algorithms, the traversal and colour resolution.
#include "TestSupport.h"

using namespace SVGEngine;
using namespace SVGTest;

namespace {

const char* kSprite =
    "<svg viewBox='0 0 72 24'>"
    "<g id='normal'><rect width='24' height='24' fill='#fff'/></g>"
    "<g id='hover' opacity='0.8'><rect x='24' width='24' height='24' fill='#fff'/></g>"
    "<g id='pushed' opacity='0.3'><rect x='48' width='24' height='24' fill='#fff'/></g>"
    "</svg>";

void ExpectPoint(const Matrix& m, double x, double y, double ex, double ey) {
    double ox, oy;
    m.Apply(x, y, ox, oy);
    EXPECT_NEAR(ox, ex, 1e-5);
    EXPECT_NEAR(oy, ey, 1e-5);
}

std::vector<Call::Kind> Kinds(const Loaded& l) {
    std::vector<Call::Kind> kinds;
    for (const Call& c : l.renderer->calls)
        kinds.push_back(c.kind);
    return kinds;
}

} // namespace

TEST(SizeFit, UniformScaleAnchoredTopLeft) {
    Loaded l = Load(kSprite);
    l.document->Render(144, 24);
    const Call& save = l.renderer->calls.front();
    ASSERT_EQ(save.kind, Call::Save);
    EXPECT_FLOAT_EQ(save.style.opacity, 1.0f);
    EXPECT_FALSE(save.style.clippingPath);
    ExpectPoint(save.transform, 72, 24, 72, 24); // s = min(2, 1) = 1: the left 72 x 24
    EXPECT_EQ(l.renderer->calls.back().kind, Call::Restore);
    EXPECT_EQ(l.renderer->depth, 0);
    EXPECT_EQ(l.Draws().size(), 3u);

    l.Clear();
    l.document->Render(36, 100);
    ExpectPoint(l.renderer->calls.front().transform, 72, 24, 36, 12);

    Loaded offset = Load("<svg viewBox='10 20 100 50'><rect/></svg>");
    offset.document->Render(200, 200);
    ExpectPoint(offset.renderer->calls.front().transform, 10, 20, 0, 0);
    ExpectPoint(offset.renderer->calls.front().transform, 110, 70, 200, 100);
}

TEST(SizeFit, RenderWithoutSizeUsesTheViewBox) {
    Loaded l = Load("<svg viewBox='0 0 50 25'><rect/></svg>");
    l.document->Render();
    ExpectPoint(l.renderer->calls.front().transform, 50, 25, 50, 25);
}

TEST(RectangleMap, SourceCellLandsOnDestination) {
    Loaded l = Load(kSprite);
    l.document->Render(0, 0, 24, 24, 24, 0, 24, 24, 0.5f);
    const Call& save = l.renderer->calls.front();
    EXPECT_FLOAT_EQ(save.style.opacity, 0.5f);
    ExpectPoint(save.transform, 24, 0, 0, 0);
    ExpectPoint(save.transform, 48, 24, 24, 24); // only the second cell reaches the target

    l.Clear();
    l.document->RenderElement("normal", 10, 5, 48, 48, 0, 0, 24, 24, 0.3f);
    const Call& scaled = l.renderer->calls.front();
    ExpectPoint(scaled.transform, 24, 24, 58, 53);
    EXPECT_FLOAT_EQ(scaled.style.opacity, 0.3f);
    ASSERT_EQ(l.Draws().size(), 1u);
    EXPECT_FLOAT_EQ(l.Draws()[0]->effectiveOpacity, 0.3f);
}

TEST(RenderElement, DrawsOneSubtreeWithItsOwnOpacity) {
    Loaded l = Load(kSprite);
    l.document->RenderElement("hover");
    EXPECT_EQ(Kinds(l), (std::vector<Call::Kind>{Call::Save, Call::Save, Call::DrawPath,
                                                 Call::Restore, Call::Restore}));
    EXPECT_FLOAT_EQ(l.renderer->calls[1].style.opacity, 0.8f);
    EXPECT_EQ(l.Draws()[0]->path[0].args[0], 24.0f);

    l.Clear();
    l.document->RenderElement("nothing");
    l.document->RenderElement("nothing", 5, 5);
    l.document->RenderElement("nothing", 0, 0, 1, 1, 0, 0, 1, 1, 1);
    l.document->RenderElement(nullptr);
    EXPECT_TRUE(l.renderer->calls.empty());
}

TEST(RenderElement, AncestorsDoNotApply) {
    Loaded l = Load("<svg><g opacity='0.5' transform='scale(9)' fill='red'>"
                    "<rect id='r'/></g></svg>");
    l.document->RenderElement("r", 320, 200);
    ASSERT_EQ(l.Draws().size(), 1u);
    const Call& draw = *l.Draws()[0];
    EXPECT_FLOAT_EQ(draw.effectiveOpacity, 1.0f);
    ExpectPoint(draw.effectiveTransform, 1, 1, 1, 1);
    EXPECT_EQ(ColorOf(draw.fill.paint), (Color{1, 0, 0, 1})); // inherited fill still applies
}

TEST(Traversal, GroupOpacityMultipliesWithoutLayers) {
    Loaded l = Draw("<svg><g opacity='0.3'><rect fill='white' fill-opacity='1'/>"
                    "<g opacity='0.5'><rect opacity='0.5'/></g></g></svg>");
    const auto draws = l.Draws();
    ASSERT_EQ(draws.size(), 2u);
    EXPECT_FLOAT_EQ(draws[0]->effectiveOpacity, 0.3f);
    EXPECT_EQ(static_cast<int>(draws[0]->effectiveOpacity * draws[0]->fill.fillOpacity * 255.0),
              76);
    EXPECT_FLOAT_EQ(draws[1]->effectiveOpacity, 0.3f * 0.5f * 0.5f);
    EXPECT_EQ(l.renderer->maxDepth, 4); // fit, root group and the two groups
    EXPECT_EQ(l.renderer->depth, 0);
    EXPECT_FALSE(l.renderer->unbalanced);
}

TEST(Traversal, NestedTransformsCompose) {
    Loaded l = Draw("<svg viewBox='0 0 100 100'><g transform='translate(10 0)'>"
                    "<g transform='scale(2)'><rect transform='translate(1 1)'/></g></g></svg>");
    ASSERT_EQ(l.Draws().size(), 1u);
    ExpectPoint(l.Draws()[0]->effectiveTransform, 0, 0, 12, 2);
}

TEST(Traversal, HiddenAndUndisplayedElementsAreNotDrawn) {
    Loaded l = Draw("<svg><rect id='a' display='none'/><g display='none'><rect/></g>"
                    "<rect visibility='hidden'/><g visibility='hidden'><rect/>"
                    "<rect id='shown' visibility='visible'/></g></svg>");
    ASSERT_EQ(l.Draws().size(), 1u);
    EXPECT_TRUE(l.Draws()[0]->fill.visibility);
}

TEST(Traversal, DocumentOrderAndBalancedNesting) {
    Loaded l = Draw("<svg><rect/><g><circle/><g/></g><line/></svg>");
    // The fit's level, then the root group's own level around its children.
    EXPECT_EQ(Kinds(l),
              (std::vector<Call::Kind>{Call::Save, Call::Save, Call::DrawPath, Call::Save,
                                       Call::DrawPath, Call::Save, Call::Restore, Call::Restore,
                                       Call::DrawPath, Call::Restore, Call::Restore}));
    EXPECT_EQ(l.Draws()[1]->path[0].kind, PathOp::Ellipse);
}

TEST(Traversal, ImagesAreDrawnWithTheirAreas) {
    Loaded l =
        Draw("<svg viewBox='0 0 100 100'><image x='0' y='0' width='100' height='100' "
             "xlink:href='data:image/png;base64,iVBORw0KGgoAAAANSUhEUgAAAAIAAAADCAYAAAC56t6B'/>"
             "</svg>");
    const auto images = l.Draws(Call::DrawImage);
    ASSERT_EQ(images.size(), 1u);
    EXPECT_FLOAT_EQ(images[0]->clipArea.height, 100.0f);
    EXPECT_FLOAT_EQ(images[0]->fillArea.width, 200.0f / 3.0f);
    EXPECT_FLOAT_EQ(images[0]->image->Width(), 2.0f);
}

TEST(ZeroSizes, DrawNothing) {
    Loaded l = Load("<svg viewBox='0 0 0 10'><rect/></svg>");
    l.document->Render(100, 100);
    l.document->Render();
    EXPECT_TRUE(l.renderer->calls.empty());
    Loaded m = Load(kSprite);
    m.document->Render(0, 0, 24, 24, 0, 0, 0, 24, 1);
    m.document->RenderElement("hover", 0, 0, 24, 24, 0, 0, 24, -1, 1);
    EXPECT_TRUE(m.renderer->calls.empty());
}

TEST(ColorMapResolution, VariablesFallBackWithoutAnEntry) {
    const char* svg = "<svg><rect fill='var(--accent, red)' stroke='var(--line)' "
                      "color='var(--ink, blue)'/><rect fill='currentcolor' "
                      "color='var(--ink, blue)' stroke='currentcolor'/></svg>";
    Loaded empty = Draw(svg);
    ASSERT_EQ(empty.Draws().size(), 2u);
    EXPECT_EQ(ColorOf(empty.Draws()[0]->fill.paint), (Color{1, 0, 0, 1}));
    EXPECT_EQ(ColorOf(empty.Draws()[0]->stroke.paint), (Color{0, 0, 0, 1}));
    EXPECT_EQ(ColorOf(empty.Draws()[1]->fill.paint), (Color{0, 0, 1, 1}));

    const ColorMap colors{{"accent", {0, 1, 0, 1}}, {"ink", {0.5f, 0.5f, 0.5f, 0.5f}}};
    Loaded mapped = Load(svg);
    mapped.document->Render(colors);
    EXPECT_EQ(ColorOf(mapped.Draws()[0]->fill.paint), (Color{0, 1, 0, 1}));
    EXPECT_EQ(ColorOf(mapped.Draws()[1]->fill.paint), (Color{0.5f, 0.5f, 0.5f, 0.5f}));
    EXPECT_EQ(ColorOf(mapped.Draws()[1]->stroke.paint), (Color{0.5f, 0.5f, 0.5f, 0.5f}));

    // The same document drawn again without the map is red again: nothing was changed.
    mapped.Clear();
    mapped.document->Render();
    EXPECT_EQ(ColorOf(mapped.Draws()[0]->fill.paint), (Color{1, 0, 0, 1}));
    // Names compare as exact byte strings.
    mapped.Clear();
    mapped.document->Render(ColorMap{{"Accent", {0, 1, 0, 1}}});
    EXPECT_EQ(ColorOf(mapped.Draws()[0]->fill.paint), (Color{1, 0, 0, 1}));
}

TEST(ColorMapResolution, GradientStopsResolveAtDrawTime) {
    const char* svg = "<svg viewBox='0 0 10 10'><linearGradient id='g'>"
                      "<stop offset='0.25' stop-color='var(--from, red)' stop-opacity='0.5'/>"
                      "<stop offset='0.75' stop-color='currentcolor'/></linearGradient>"
                      "<rect fill='url(#g)' color='lime'/></svg>";
    Loaded l = Load(svg);
    l.document->Render(ColorMap{{"from", {0, 0, 1, 0.5f}}});
    const Gradient* g = boost::get<Gradient>(&l.Draws()[0]->fill.paint);
    ASSERT_NE(g, nullptr);
    ASSERT_EQ(g->stops.size(), 4u);
    EXPECT_FLOAT_EQ(g->stops[0].offset, 0.0f);
    EXPECT_EQ(g->stops[0].color, (Color{0, 0, 1, 0.25f})); // alpha x stop-opacity
    EXPECT_FLOAT_EQ(g->stops[1].offset, 0.25f);
    // currentcolor in a stop is opaque black whatever the element's colour.
    EXPECT_EQ(g->stops[2].color, (Color{0, 0, 0, 1}));
    EXPECT_FLOAT_EQ(g->x2, 10.0f);
}

TEST(Traversal, DocumentCanBeDrawnManyTimes) {
    Loaded l = Load(kSprite);
    const std::size_t paths = l.renderer->pathsCreated;
    for (int i = 0; i < 3; ++i)
        l.document->Render(72, 24);
    EXPECT_EQ(l.Draws().size(), 9u);
    EXPECT_EQ(l.renderer->pathsCreated, paths); // drawing never parses again
    EXPECT_EQ(l.renderer->depth, 0);
}
