// A GDI+ pen set up from a stroke style.
#pragma once

#include "svg/SVGRenderer.h"
#include "svg/gdiplus/GDIPlusApi.h"

#include <vector>

namespace SVGEngine {

// The dash pattern handed to GDI+: an odd list repeated once, as SVG repeats it. Values stay
// in user units here.
std::vector<float> EvenDashPattern(const std::vector<float>& dashArray);

// A pen and the gradient brush it may paint with (the brush outlives the pen's use).
struct StrokePen {
    UniqueBrush brush;
    UniquePen pen;
};

// Null pen when the stroke paints nothing (no width, or a gradient without stops).
// `area` is the stroked outline's extent and `target` the context it is drawn on, for gradients.
StrokePen CreateStrokePen(const StrokeStyle& stroke, float opacity, const RectF& area,
                          GpGraphics* target);

} // namespace SVGEngine
