#pragma once
// The soft drop shadow of a window's frame: an opaque black silhouette of the content
// rectangle (drawn with GDI+), made black and opaque, blurred by a Gaussian and faded. Direct2D's
// effects do it where DirectComposition draws the frame and they exist; the software compositor
// (and Direct2D without the effects, as on Wine) takes the same picture computed on the CPU: the
// same silhouette, the same Gaussian, the same opacity.
#include "ui/composition/Pixels.h"

#include <windows.h>
#include <d2d1_1.h>

#include <vector>

struct ShadowStyle {
    float sigma;   // standard deviation of the blur in pixels (not scaled with the DPI)
    float opacity; // of the shadow where the silhouette is solid
};

// Active window: sigma 6 at opacity 0.2; inactive: sigma 1.83 at opacity 0.25.
ShadowStyle FrameShadowStyle(bool active);

// A premultiplied 32-bit picture (GDI+ PARGB rows, each `stride` bytes), transparent, with the
// silhouette rectangle opaque black.
struct Silhouette {
    int width = 0;
    int height = 0;
    int stride = 0;
    std::vector<BYTE> pixels;
};

// Filled in memory: the pixels GDI+ gives for an integer rectangle (opaque black inside,
// transparent outside), without GDI+.
Silhouette FilledSilhouette(int width, int height, const RECT& rect);

// The shadow as the effect chain gives it: every pixel of the silhouette with any alpha counts
// as solid, the Gaussian of the given sigma (weights at whole-pixel distances out to 3 sigma,
// transparent beyond the picture's edges), then the opacity. Premultiplied black. Rows alike
// are summed once, so a rectangle costs little more than its edges.
Composition::Pixels BlurShadow(const Silhouette& silhouette, ShadowStyle style);

// Draws the shadow into the target with its top-left corner at `offset` (pixels, one Direct2D
// unit each): through ColorMatrix, GaussianBlur and ColorMatrix where the target is a Direct2D
// device context that has them, from BlurShadow otherwise.
HRESULT DrawFrameShadow(ID2D1RenderTarget* target, const Silhouette& silhouette, ShadowStyle style,
                        D2D1_POINT_2F offset);
