// Shared set-up of the renderer tests: a fresh transparent bitmap, a renderer drawing into it,
// and small builders for the style records. GDI+ runs for the whole run (the test programs'
// main, tests/support).
#pragma once

#include "Colours.h"

#include "svg/gdiplus/GDIPlusSVGBitmap.h"
#include "svg/gdiplus/GDIPlusSVGRenderer.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <vector>

namespace SVGEngine::testing {

inline Color Rgba(float r, float g, float b, float a = 1.0f) {
    Color c;
    c.r = r;
    c.g = g;
    c.b = b;
    c.a = a;
    return c;
}

inline FillStyle SolidFill(const Color& color, float opacity = 1.0f) {
    FillStyle fill;
    fill.paint = color;
    fill.fillOpacity = opacity;
    return fill;
}

inline FillStyle NoFill() {
    FillStyle fill;
    fill.hasFill = false;
    return fill;
}

inline StrokeStyle SolidStroke(const Color& color, float width) {
    StrokeStyle stroke;
    stroke.hasStroke = true;
    stroke.paint = color;
    stroke.lineWidth = width;
    return stroke;
}

inline ColorStop Stop(float offset, const Color& color) {
    ColorStop stop;
    stop.offset = offset;
    stop.color = color;
    return stop;
}

using TestSupport::Alpha;
using TestSupport::Blue;
using TestSupport::Green;
using TestSupport::Red;

class RendererTest : public ::testing::Test {
  protected:
    static constexpr int kSize = 100;

    void SetUp() override;

    // A fresh renderer and bitmap, for tests that want their own size.
    void Reset(int width, int height);
    // Premultiplied 0xAARRGGBB at (x, y), read through the locked rows.
    std::uint32_t PixelAt(int x, int y) const;
    bool Transparent(int x, int y) const { return Alpha(PixelAt(x, y)) == 0; }

    std::unique_ptr<Path> Rect(float x, float y, float w, float h);
    void Fill(const Path& path, const Color& color, const GraphicStyle& style = {});

    std::unique_ptr<GDIPlusSVGBitmap> bitmap_;
    std::shared_ptr<GDIPlusSVGRenderer> renderer_;
};

} // namespace SVGEngine::testing
