#include "CheckingRenderer.h"

#include <boost/variant/get.hpp>

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace fuzz {
namespace {

[[noreturn]] void Fail(const char* what) {
    std::fprintf(stderr, "renderer contract broken: %s\n", what);
    std::abort();
}

bool InUnitRange(float value) {
    return value >= 0.0f && value <= 1.0f;
}

bool IsOurs(const SVGEngine::Transform* transform) {
    return dynamic_cast<const SVGTest::RecordingTransform*>(transform) != nullptr;
}

bool IsOurs(const SVGEngine::Path* path) {
    return dynamic_cast<const SVGTest::RecordingPath*>(path) != nullptr;
}

void CheckColor(const SVGEngine::Color& color, const char* what) {
    if (!InUnitRange(color.r) || !InUnitRange(color.g) || !InUnitRange(color.b) ||
        !InUnitRange(color.a))
        Fail(what);
}

void CheckPaint(const SVGEngine::Paint& paint) {
    if (const auto* color = boost::get<SVGEngine::Color>(&paint)) {
        CheckColor(*color, "paint colour channel outside 0..1");
        return;
    }
    const auto& gradient = boost::get<SVGEngine::Gradient>(paint);
    if (gradient.transform && !IsOurs(gradient.transform.get()))
        Fail("gradient transform of another renderer");
    float previous = 0.0f;
    for (const SVGEngine::ColorStop& stop : gradient.stops) {
        if (!InUnitRange(stop.offset) || stop.offset < previous)
            Fail("gradient stop offsets outside 0..1 or decreasing");
        previous = stop.offset;
        CheckColor(stop.color, "gradient stop colour channel outside 0..1");
    }
}

void CheckStyle(const SVGEngine::GraphicStyle& style) {
    if (std::isnan(style.opacity))
        Fail("opacity is not a number");
    if (style.transform && !IsOurs(style.transform.get()))
        Fail("style transform of another renderer");
    if (const auto& clip = style.clippingPath) {
        if (clip->path && !IsOurs(clip->path.get()))
            Fail("clip path of another renderer");
        if (clip->transform && !IsOurs(clip->transform.get()))
            Fail("clip transform of another renderer");
    }
}

} // namespace

void CheckingRenderer::Save(const SVGEngine::GraphicStyle& style) {
    CheckStyle(style);
    RecordingRenderer::Save(style);
}

void CheckingRenderer::Restore() {
    if (depth == 0)
        Fail("Restore without a matching Save");
    RecordingRenderer::Restore();
}

void CheckingRenderer::DrawPath(const SVGEngine::Path& path, const SVGEngine::GraphicStyle& style,
                                const SVGEngine::FillStyle& fill,
                                const SVGEngine::StrokeStyle& stroke) {
    if (depth == 0)
        Fail("DrawPath outside Save and Restore");
    if (!IsOurs(&path))
        Fail("path of another renderer");
    CheckStyle(style);
    // Element opacity is clamped by the parser; the render call's own opacity only ever
    // reaches Save, so it is not checked here.
    if (!InUnitRange(style.opacity) || !InUnitRange(fill.fillOpacity) ||
        !InUnitRange(stroke.strokeOpacity))
        Fail("element, fill or stroke opacity outside 0..1");
    CheckPaint(fill.paint);
    CheckPaint(stroke.paint);
    if (!(stroke.lineWidth >= 0.0f) || !(stroke.miterLimit >= 1.0f))
        Fail("negative line width or miter limit below 1");
    for (float dash : stroke.dashArray)
        if (!(dash >= 0.0f))
            Fail("negative dash length");
    if (stroke.dashArray.size() % 2 != 0)
        Fail("odd number of dash lengths");
    RecordingRenderer::DrawPath(path, style, fill, stroke);
}

void CheckingRenderer::DrawImage(const SVGEngine::ImageData& image,
                                 const SVGEngine::GraphicStyle& style,
                                 const SVGEngine::RectF& clipArea,
                                 const SVGEngine::RectF& fillArea) {
    if (depth == 0)
        Fail("DrawImage outside Save and Restore");
    if (!dynamic_cast<const SVGTest::RecordingImageData*>(&image))
        Fail("image of another renderer");
    CheckStyle(style);
    // The parser makes no image element when any of these sizes is zero.
    if (image.Width() == 0.0f || image.Height() == 0.0f || clipArea.width == 0.0f ||
        clipArea.height == 0.0f || fillArea.width == 0.0f || fillArea.height == 0.0f)
        Fail("image drawn with a zero size");
    RecordingRenderer::DrawImage(image, style, clipArea, fillArea);
}

void CheckingRenderer::ExpectBalanced() const {
    if (depth != 0 || unbalanced)
        Fail("a render call left its Save and Restore calls unbalanced");
}

} // namespace fuzz
