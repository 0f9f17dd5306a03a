// GDI+ brushes for the engine's linear and radial gradients.
#pragma once

#include "svg/SVGRenderer.h"
#include "svg/gdiplus/GDIPlusApi.h"

namespace SVGEngine {

// A gradient brush whose stop alphas are multiplied by `opacity`. `area` is the region the
// brush will cover, in the same user space as the gradient: a padded linear gradient is
// stretched over it so that its end colours continue beyond the vector instead of repeating.
// Returns null when the gradient paints nothing (no stops).
UniqueBrush CreateGradientBrush(const Gradient& gradient, float opacity, const RectF& area);

// GDI+ wrap mode for an SVG spread method.
WrapMode WrapModeFor(SpreadMethod spread);

// For a padded radial gradient: the circle outside which its last stop colour continues, in
// user space (with the gradient transform applied). Null for other gradients.
UniquePath RadialGradientOutline(const Gradient& gradient);

} // namespace SVGEngine
