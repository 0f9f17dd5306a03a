#pragma once
// Copies a rasterised picture onto a composition surface, one bitmap pixel on one
// surface pixel.
#include "ui/composition/Composition.h"

#include "svg/gdiplus/GDIPlusSVGBitmap.h"

// The surface is cleared and gets the bitmap at its top-left corner. Returns the result
// of the surface's BeginDraw (nothing is changed when it fails) or EndDraw.
HRESULT CopyBitmapToSurface(const SVGEngine::GDIPlusSVGBitmap& bitmap,
                            Composition::Surface* surface);
