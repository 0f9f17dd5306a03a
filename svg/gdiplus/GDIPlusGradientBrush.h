// GDI+ brushes for the engine's linear and radial gradients.
#pragma once

#include "svg/SVGRenderer.h"
#include "svg/gdiplus/GDIPlusApi.h"

namespace SVGEngine {

// A gradient brush whose stop alphas are multiplied by `opacity`. `area` is the user-space
// region the brush will cover and `world` the target's transform: a padded linear gradient is
// stretched over the area so its end colours continue beyond the vector instead of repeating,
// and a radial gradient is computed for the area's device pixels.
// Returns null when the gradient paints nothing (no stops).
UniqueBrush CreateGradientBrush(const Gradient& gradient, float opacity, const RectF& area,
                                GpMatrix* world);

// GDI+ wrap mode for an SVG spread method.
WrapMode WrapModeFor(SpreadMethod spread);

} // namespace SVGEngine
