#pragma once
// How a button draws the keyboard focus ring into its own pictures. The keyboard's side of the
// toolkit gives each button it moves the focus over a painter (ui/access/FocusRing.h); a
// button without one draws no ring.
#include "svg/gdiplus/GDIPlusApi.h"

#include <d2d1.h>

class CDPI;

class IFocusRingPainter {
  public:
    // The ring of a picture of pixelWidth x pixelHeight whose shape has corners of designRadius
    // (design units; 0 for square corners), drawn over what graphics or target holds.
    virtual void Paint(Gdiplus::GpGraphics* graphics, int pixelWidth, int pixelHeight,
                       const CDPI* dpi, int designRadius) const = 0;
    virtual void Paint(ID2D1RenderTarget* target, int pixelWidth, int pixelHeight, const CDPI* dpi,
                       int designRadius) const = 0;

  protected:
    ~IFocusRingPainter() = default;
};
