#include "svg/gdiplus/GDIPlusStrokePen.h"

#include "svg/gdiplus/GDIPlusColor.h"
#include "svg/gdiplus/GDIPlusGradientBrush.h"

#include <cmath>

namespace SVGEngine {
namespace {

void SetCaps(GpPen* pen, LineCap cap, GDIPlusStatusKeeper& status) {
    switch (cap) {
    case LineCap::Butt:
        status.Keep(GdipSetPenLineCap197819(pen, LineCapFlat, LineCapFlat, DashCapFlat));
        break;
    case LineCap::Round:
        status.Keep(GdipSetPenLineCap197819(pen, LineCapRound, LineCapRound, DashCapRound));
        break;
    case LineCap::Square:
        status.Keep(GdipSetPenLineCap197819(pen, LineCapSquare, LineCapSquare, DashCapFlat));
        break;
    }
}

void SetJoin(GpPen* pen, LineJoin join, GDIPlusStatusKeeper& status) {
    switch (join) {
    case LineJoin::Miter:
        status.Keep(GdipSetPenLineJoin(pen, LineJoinMiter));
        break;
    case LineJoin::Round:
        status.Keep(GdipSetPenLineJoin(pen, LineJoinRound));
        break;
    case LineJoin::Bevel:
        status.Keep(GdipSetPenLineJoin(pen, LineJoinBevel));
        break;
    }
}

// SVG draws a solid line for a pattern with a negative entry or nothing but zeros.
bool IsDrawablePattern(const std::vector<float>& pattern) {
    float sum = 0.0f;
    for (float value : pattern) {
        if (!(value >= 0.0f))
            return false;
        sum += value;
    }
    return sum > 0.0f;
}

// GDI+ measures dashes in pen widths; the document gives them in user units.
void SetDashes(GpPen* pen, const StrokeStyle& stroke, GDIPlusStatusKeeper& status) {
    std::vector<float> pattern = EvenDashPattern(stroke.dashArray);
    if (pattern.empty() || !IsDrawablePattern(pattern))
        return;
    const float width = stroke.lineWidth;
    for (float& value : pattern)
        value = std::max(value / width, 1e-4f); // GDI+ refuses zero-length entries
    status.Keep(GdipSetPenDashStyle(pen, DashStyleDash));
    status.Keep(GdipSetPenDashOffset(pen, stroke.dashOffset / width));
    status.Keep(GdipSetPenDashArray(pen, pattern.data(), static_cast<INT>(pattern.size())));
}

} // namespace

std::vector<float> EvenDashPattern(const std::vector<float>& dashArray) {
    std::vector<float> pattern = dashArray;
    if (pattern.size() % 2 == 1)
        pattern.insert(pattern.end(), dashArray.begin(), dashArray.end());
    return pattern;
}

StrokePen CreateStrokePen(const StrokeStyle& stroke, float opacity, const RectF& area,
                          GpGraphics* target) {
    StrokePen result;
    // A stroke of no width draws nothing in SVG (GDI+ would draw a one-pixel line).
    if (!(stroke.lineWidth > 0.0f))
        return result;

    GpPen* pen = nullptr;
    GDIPlusStatusKeeper status;
    if (const Color* color = boost::get<Color>(&stroke.paint)) {
        status.Keep(GdipCreatePen1(ToArgb(*color, opacity), stroke.lineWidth, UnitWorld, &pen));
    } else if (const Gradient* gradient = boost::get<Gradient>(&stroke.paint)) {
        result.brush = CreateGradientBrush(*gradient, opacity, area, target);
        if (!result.brush)
            return result;
        status.Keep(GdipCreatePen2(result.brush.get(), stroke.lineWidth, UnitWorld, &pen));
    }
    result.pen.reset(pen);
    if (!pen)
        return result;

    SetCaps(pen, stroke.lineCap, status);
    SetJoin(pen, stroke.lineJoin, status);
    SetDashes(pen, stroke, status);
    status.Keep(GdipSetPenMiterLimit(pen, stroke.miterLimit));
    return result;
}

} // namespace SVGEngine
