#pragma once
// The keyboard focus ring of a button, drawn into the button's own picture: a white line one
// design unit wide whose outer edge lies one design unit inside the button's rectangle, its
// corners following the rounded corners of the button's shape.
#include "svg/gdiplus/GDIPlusApi.h"
#include "ui/FocusRingPainter.h"

#include <d2d1.h>
#include <windows.h>

class CDPI;

struct FocusRingShape {
    // The ring's outer edge, in pixels of the button's picture; the line lies inside it.
    D2D1_ROUNDED_RECT outerEdge;
    float lineWidth;
};

constexpr DWORD kFocusRingColour = 0xFFFFFF;

// The ring of a picture of pixelWidth x pixelHeight whose shape has corners of designRadius
// (design units; 0 for square corners).
FocusRingShape FocusRingIn(int pixelWidth, int pixelHeight, const CDPI* dpi, int designRadius);

// GDI+ fills the band between the outer and the inner edge, so the ring covers the band's
// pixels and no more; Direct2D draws the line along the band's middle.
void DrawFocusRing(Gdiplus::GpGraphics* graphics, const FocusRingShape& ring);
void DrawFocusRing(ID2D1RenderTarget* target, const FocusRingShape& ring);

// This ring, for the buttons' pictures (one painter shared by every button).
const IFocusRingPainter& FocusRingPainter();
