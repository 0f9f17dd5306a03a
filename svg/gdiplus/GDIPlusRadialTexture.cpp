#include "svg/gdiplus/GDIPlusRadialTexture.h"

#include "svg/gdiplus/GDIPlusColor.h"
#include "svg/gdiplus/GDIPlusSVGTransform.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace SVGEngine {
namespace {

constexpr int kMaxTextureSide = 2048;

float Spread(SpreadMethod spread, float t) {
    switch (spread) {
    case SpreadMethod::Repeat:
        return t - std::floor(t);
    case SpreadMethod::Reflect: {
        const float period = t - 2.0f * std::floor(t / 2.0f);
        return period > 1.0f ? 2.0f - period : period;
    }
    default:
        return std::min(std::max(t, 0.0f), 1.0f);
    }
}

float Lerp(float a, float b, float t) {
    return a + (b - a) * t;
}

} // namespace

float RadialGradientPosition(const Gradient& g, float x, float y) {
    if (!(g.r > 0.0f))
        return 1.0f;
    // A focal point on or outside the circle is pulled just inside it, as SVG does.
    float ex = g.fx - g.cx, ey = g.fy - g.cy;
    const float focalDistance = std::sqrt(ex * ex + ey * ey);
    const float limit = g.r * 0.999f;
    if (focalDistance > limit) {
        ex *= limit / focalDistance;
        ey *= limit / focalDistance;
    }
    const float fx = g.cx + ex, fy = g.cy + ey;
    const float dx = x - fx, dy = y - fy;
    const float dd = dx * dx + dy * dy;
    if (dd == 0.0f)
        return Spread(g.spread, 0.0f);
    // The ray from the focal point through (x, y) meets the circle at focal + s * d.
    const float ed = ex * dx + ey * dy;
    const float ee = ex * ex + ey * ey - g.r * g.r;
    const float s = (-ed + std::sqrt(std::max(ed * ed - dd * ee, 0.0f))) / dd;
    return Spread(g.spread, s > 0.0f ? 1.0f / s : 1.0f);
}

Color GradientColorAt(const Gradient& g, float t) {
    const std::vector<ColorStop>& stops = g.stops;
    if (t <= stops.front().offset)
        return stops.front().color;
    for (std::size_t i = 1; i < stops.size(); ++i) {
        if (t <= stops[i].offset) {
            const ColorStop& a = stops[i - 1];
            const ColorStop& b = stops[i];
            const float span = b.offset - a.offset;
            const float u = span > 0.0f ? (t - a.offset) / span : 1.0f;
            Color c;
            c.r = Lerp(a.color.r, b.color.r, u);
            c.g = Lerp(a.color.g, b.color.g, u);
            c.b = Lerp(a.color.b, b.color.b, u);
            c.a = Lerp(a.color.a, b.color.a, u);
            return c;
        }
    }
    return stops.back().color;
}

UniqueBrush CreateRadialTextureBrush(const Gradient& gradient, float opacity, const RectF& userArea,
                                     GpMatrix* world) {
    if (gradient.stops.empty())
        return nullptr;

    // Gradient space to device: the gradient transform, then the world transform.
    GpMatrix* raw = nullptr;
    if (GdipCreateMatrix(&raw) != Ok)
        return nullptr;
    UniqueMatrix toDevice(raw);
    if (const auto* own = dynamic_cast<const GDIPlusSVGTransform*>(gradient.transform.get()))
        GdipMultiplyMatrix(raw, own->Handle(), MatrixOrderAppend);
    GdipMultiplyMatrix(raw, world, MatrixOrderAppend);

    PointF corners[4] = {{userArea.x, userArea.y},
                         {userArea.x + userArea.width, userArea.y},
                         {userArea.x, userArea.y + userArea.height},
                         {userArea.x + userArea.width, userArea.y + userArea.height}};
    GdipTransformMatrixPoints(world, corners, 4);
    float minX = corners[0].X, maxX = minX, minY = corners[0].Y, maxY = minY;
    for (const PointF& p : corners) {
        minX = std::min(minX, p.X), maxX = std::max(maxX, p.X);
        minY = std::min(minY, p.Y), maxY = std::max(maxY, p.Y);
    }
    const int left = static_cast<int>(std::floor(minX)) - 1;
    const int top = static_cast<int>(std::floor(minY)) - 1;
    const int width = std::min(static_cast<int>(std::ceil(maxX)) + 1 - left, kMaxTextureSide);
    const int height = std::min(static_cast<int>(std::ceil(maxY)) + 1 - top, kMaxTextureSide);
    if (width <= 0 || height <= 0)
        return nullptr;

    BOOL invertible = FALSE;
    GdipIsMatrixInvertible(raw, &invertible);
    if (!invertible)
        return nullptr;
    GdipInvertMatrix(raw); // now device to gradient space

    GpBitmap* bitmap = nullptr;
    if (GdipCreateBitmapFromScan0(width, height, 0, PixelFormat32bppARGB, nullptr, &bitmap) != Ok)
        return nullptr;
    UniqueImage bitmapOwner(bitmap);
    GpRect lockArea(0, 0, width, height);
    BitmapData data{};
    if (GdipBitmapLockBits(bitmap, &lockArea, ImageLockModeWrite, PixelFormat32bppARGB, &data) !=
        Ok)
        return nullptr;
    std::vector<PointF> row(static_cast<std::size_t>(width));
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x)
            row[static_cast<std::size_t>(x)] = PointF(left + x + 0.5f, top + y + 0.5f);
        GdipTransformMatrixPoints(raw, row.data(), width);
        auto* out = reinterpret_cast<std::uint32_t*>(static_cast<std::uint8_t*>(data.Scan0) +
                                                     static_cast<std::ptrdiff_t>(y) * data.Stride);
        for (int x = 0; x < width; ++x) {
            const PointF& p = row[static_cast<std::size_t>(x)];
            out[x] = ToArgb(GradientColorAt(gradient, RadialGradientPosition(gradient, p.X, p.Y)),
                            opacity);
        }
    }
    GdipBitmapUnlockBits(bitmap, &data);

    GpTexture* texture = nullptr;
    if (GdipCreateTexture(bitmap, WrapModeClamp, &texture) != Ok)
        return nullptr;
    UniqueBrush brush(texture);
    // Texture pixels sit on device pixels: offset to the area's corner, then undo the world.
    GpMatrix* placement = nullptr;
    if (GdipCloneMatrix(world, &placement) == Ok) {
        UniqueMatrix placementOwner(placement);
        GdipInvertMatrix(placement);
        GdipTranslateMatrix(placement, static_cast<REAL>(left), static_cast<REAL>(top),
                            MatrixOrderPrepend);
        GdipSetTextureTransform(texture, placement);
    }
    return brush;
}

} // namespace SVGEngine
