// Radial gradients painted from a texture computed per device pixel. GDI+ path gradients
// cannot place stops at their offsets from a moved focal point, and Wine ignores their blends.
#pragma once

#include "svg/SVGRenderer.h"
#include "svg/gdiplus/GDIPlusApi.h"

namespace SVGEngine {

// Where t runs from the focal point (0) to the circle (1), after the spread method.
float RadialGradientPosition(const Gradient& gradient, float x, float y);

// Colour of the gradient at position t (0..1), stops interpolated without premultiplication.
Color GradientColorAt(const Gradient& gradient, float t);

// A texture brush for drawing on `target`, computed for the device pixels of `userArea` (user
// space, mapped by the target's world transform) that the target shows. Null when none of them
// is visible or the transforms cannot be inverted.
UniqueBrush CreateRadialTextureBrush(const Gradient& gradient, float opacity, const RectF& userArea,
                                     GpGraphics* target);

} // namespace SVGEngine
