// GDI+ brushes for the engine's linear and radial gradients.
#pragma once

#include "svg/SVGRenderer.h"
#include "svg/gdiplus/GDIPlusApi.h"

namespace SVGEngine {

// A gradient brush whose stop alphas are multiplied by `opacity`. `area` is the user-space
// region the brush will cover on `target`: a padded linear gradient is stretched over the area
// so its end colours continue beyond the vector instead of repeating, and a radial gradient is
// computed for the area's device pixels that the target shows.
// Returns null when the gradient paints nothing (no stops, or nothing of it visible).
UniqueBrush CreateGradientBrush(const Gradient& gradient, float opacity, const RectF& area,
                                GpGraphics* target);

// GDI+ wrap mode for an SVG spread method.
WrapMode WrapModeFor(SpreadMethod spread);

} // namespace SVGEngine
