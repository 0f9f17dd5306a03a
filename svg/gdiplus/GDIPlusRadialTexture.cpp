#include "svg/gdiplus/GDIPlusRadialTexture.h"

#include "svg/gdiplus/GDIPlusColor.h"
#include "svg/gdiplus/GDIPlusSVGTransform.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <utility>

namespace SVGEngine {
namespace {

// Room around the covered pixels for the edge pixels that antialiasing and the texture's
// filtering reach.
constexpr float kMarginPixels = 2.0f;
// Device coordinates beyond this are no pixels of any target (and would not fit an int).
constexpr float kFarthestPixel = 1 << 24;

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

UniqueMatrix WorldTransformOf(GpGraphics* target) {
    GpMatrix* world = nullptr;
    if (GdipCreateMatrix(&world) != Ok)
        return nullptr;
    UniqueMatrix owner(world);
    return GdipGetWorldTransform(target, world) == Ok ? std::move(owner) : nullptr;
}

// The device pixels the target shows: its visible clip, measured without the world transform.
bool VisibleDevicePixels(GpGraphics* target, Gdiplus::RectF& visible) {
    GraphicsState state = 0;
    if (GdipSaveGraphics(target, &state) != Ok)
        return false;
    const bool found =
        GdipResetWorldTransform(target) == Ok && GdipGetVisibleClipBounds(target, &visible) == Ok;
    GdipRestoreGraphics(target, state);
    return found;
}

// The pixels the texture covers: the area's box on the device cut to the visible pixels, with a
// margin. Every bound is held within the visible pixels before it becomes an integer, so huge or
// non-finite coordinates of the area cannot overflow.
bool CoveredPixels(const RectF& userArea, GpMatrix* world, const Gdiplus::RectF& visible,
                   GpRect& covered) {
    float left = visible.X, top = visible.Y;
    float right = visible.X + visible.Width, bottom = visible.Y + visible.Height;
    for (float bound : {left, top, right, bottom})
        if (!(std::fabs(bound) < kFarthestPixel))
            return false;

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
    // A box that cannot be placed (not finite) leaves the whole visible area to cover.
    if (std::isfinite(minX) && std::isfinite(maxX) && std::isfinite(minY) && std::isfinite(maxY)) {
        left = std::max(left, minX), right = std::min(right, maxX);
        top = std::max(top, minY), bottom = std::min(bottom, maxY);
    }
    if (!(left < right && top < bottom))
        return false;
    covered.X = static_cast<INT>(std::floor(left - kMarginPixels));
    covered.Y = static_cast<INT>(std::floor(top - kMarginPixels));
    covered.Width = static_cast<INT>(std::ceil(right + kMarginPixels)) - covered.X;
    covered.Height = static_cast<INT>(std::ceil(bottom + kMarginPixels)) - covered.Y;
    return true;
}

} // namespace

float RadialGradientPosition(const Gradient& g, float x, float y) {
    // Measured in radii, so a gradient of any size (1e-15 as well as 1e15 units) is placed the
    // same; a radius whose reciprocal overflows is no circle.
    const float perRadius = 1.0f / g.r;
    if (!(g.r > 0.0f) || !std::isfinite(perRadius))
        return 1.0f;
    // A focal point on or outside the circle is pulled just inside it, as SVG does.
    float ex = (g.fx - g.cx) * perRadius, ey = (g.fy - g.cy) * perRadius;
    const float focalDistance = std::sqrt(ex * ex + ey * ey);
    const float limit = 0.999f;
    if (focalDistance > limit) {
        ex *= limit / focalDistance;
        ey *= limit / focalDistance;
    }
    const float dx = (x - g.cx) * perRadius - ex, dy = (y - g.cy) * perRadius - ey;
    const float dd = dx * dx + dy * dy;
    if (dd == 0.0f)
        return Spread(g.spread, 0.0f);
    // The ray from the focal point through (x, y) meets the unit circle at focal + s * d.
    const float ed = ex * dx + ey * dy;
    const float ee = ex * ex + ey * ey - 1.0f;
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
                                     GpGraphics* target) {
    if (gradient.stops.empty() || !target)
        return nullptr;
    UniqueMatrix worldOwner = WorldTransformOf(target);
    Gdiplus::RectF visible(0, 0, 0, 0);
    GpRect covered;
    if (!worldOwner || !VisibleDevicePixels(target, visible) ||
        !CoveredPixels(userArea, worldOwner.get(), visible, covered))
        return nullptr;
    GpMatrix* world = worldOwner.get();
    const int left = covered.X, top = covered.Y, width = covered.Width, height = covered.Height;

    // Gradient space to device: the gradient transform, then the world transform.
    GpMatrix* raw = nullptr;
    if (GdipCreateMatrix(&raw) != Ok)
        return nullptr;
    UniqueMatrix toDevice(raw);
    if (const auto* own = dynamic_cast<const GDIPlusSVGTransform*>(gradient.transform.get()))
        GdipMultiplyMatrix(raw, own->Handle(), MatrixOrderAppend);
    GdipMultiplyMatrix(raw, world, MatrixOrderAppend);

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
