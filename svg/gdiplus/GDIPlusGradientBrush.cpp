#include "svg/gdiplus/GDIPlusGradientBrush.h"

#include "svg/gdiplus/GDIPlusColor.h"
#include "svg/gdiplus/GDIPlusRadialTexture.h"
#include "svg/gdiplus/GDIPlusSVGTransform.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace SVGEngine {
namespace {

struct Blend {
    std::vector<ARGB> colors;
    std::vector<REAL> positions;
};

const GDIPlusSVGTransform* GradientMatrix(const Gradient& gradient) {
    return dynamic_cast<const GDIPlusSVGTransform*>(gradient.transform.get());
}

// Stops in order, with an end stop added where the list does not reach 0 or 1 (GDI+ refuses a
// preset blend that does not span the whole range).
Blend BlendOf(const Gradient& gradient, float opacity) {
    Blend blend;
    for (const ColorStop& stop : gradient.stops) {
        blend.colors.push_back(ToArgb(stop.color, opacity));
        blend.positions.push_back(std::min(std::max(stop.offset, 0.0f), 1.0f));
    }
    if (blend.positions.front() > 0.0f) {
        blend.colors.insert(blend.colors.begin(), blend.colors.front());
        blend.positions.insert(blend.positions.begin(), 0.0f);
    }
    if (blend.positions.back() < 1.0f || blend.positions.size() == 1) {
        blend.colors.push_back(blend.colors.back());
        blend.positions.push_back(1.0f);
    }
    return blend;
}

// How many vector lengths the area reaches beyond the vector's ends, measured along it.
float PadExtent(const Gradient& gradient, const RectF& area) {
    PointF corners[4] = {{area.x, area.y},
                         {area.x + area.width, area.y},
                         {area.x, area.y + area.height},
                         {area.x + area.width, area.y + area.height}};
    if (const GDIPlusSVGTransform* transform = GradientMatrix(gradient)) {
        GpMatrix* inverse = nullptr;
        if (GdipCloneMatrix(transform->Handle(), &inverse) != Ok)
            return 1000.0f;
        UniqueMatrix owner(inverse);
        if (GdipInvertMatrix(inverse) != Ok)
            return 1000.0f;
        GdipTransformMatrixPoints(inverse, corners, 4);
    }
    const float vx = gradient.x2 - gradient.x1;
    const float vy = gradient.y2 - gradient.y1;
    const float lengthSquared = vx * vx + vy * vy;
    float reach = 0.0f;
    for (const PointF& corner : corners) {
        const float t =
            ((corner.X - gradient.x1) * vx + (corner.Y - gradient.y1) * vy) / lengthSquared;
        reach = std::max(reach, std::max(-t, t - 1.0f));
    }
    return std::min(reach + 1.0f, 100000.0f);
}

UniqueBrush SolidBrush(ARGB color) {
    GpSolidFill* brush = nullptr;
    GdipCreateSolidFill(color, &brush);
    return UniqueBrush(brush);
}

UniqueBrush LinearBrush(const Gradient& gradient, float opacity, const RectF& area) {
    Blend blend = BlendOf(gradient, opacity);
    PointF from(gradient.x1, gradient.y1);
    PointF to(gradient.x2, gradient.y2);
    // A vector of no length paints the area in the last stop's colour.
    if (from.X == to.X && from.Y == to.Y)
        return SolidBrush(blend.colors.back());

    const WrapMode wrap = WrapModeFor(gradient.spread);
    if (wrap == WrapModeClamp) {
        // GDI+ line brushes do not clamp; stretch the vector over the area and keep the stops
        // where they were, with the end colours filling the added length.
        const float extent = PadExtent(gradient, area);
        const float span = 1.0f + 2.0f * extent;
        for (REAL& position : blend.positions)
            position = (extent + position) / span;
        blend.colors.insert(blend.colors.begin(), blend.colors.front());
        blend.positions.insert(blend.positions.begin(), 0.0f);
        blend.colors.push_back(blend.colors.back());
        blend.positions.push_back(1.0f);
        const float vx = to.X - from.X, vy = to.Y - from.Y;
        from = PointF(from.X - extent * vx, from.Y - extent * vy);
        to = PointF(to.X + extent * vx, to.Y + extent * vy);
    }

    GpLineGradient* brush = nullptr;
    GDIPlusStatusKeeper status;
    status.Keep(GdipCreateLineBrush(&from, &to, blend.colors.front(), blend.colors.back(),
                                    WrapModeTile, &brush));
    UniqueBrush owner(brush);
    if (!brush)
        return owner;
    status.Keep(GdipSetLinePresetBlend(brush, blend.colors.data(), blend.positions.data(),
                                       static_cast<INT>(blend.colors.size())));
    if (const GDIPlusSVGTransform* transform = GradientMatrix(gradient))
        status.Keep(GdipSetLineTransform(brush, transform->Handle()));
    if (wrap != WrapModeClamp)
        status.Keep(GdipSetLineWrapMode(brush, wrap));
    return owner;
}

} // namespace

WrapMode WrapModeFor(SpreadMethod spread) {
    switch (spread) {
    case SpreadMethod::Reflect:
        return WrapModeTileFlipXY;
    case SpreadMethod::Repeat:
        return WrapModeTile;
    default:
        return WrapModeClamp;
    }
}

UniqueBrush CreateGradientBrush(const Gradient& gradient, float opacity, const RectF& area,
                                GpGraphics* target) {
    if (gradient.stops.empty())
        return nullptr;
    if (gradient.type == GradientType::Radial)
        return CreateRadialTextureBrush(gradient, opacity, area, target);
    return LinearBrush(gradient, opacity, area);
}

} // namespace SVGEngine
