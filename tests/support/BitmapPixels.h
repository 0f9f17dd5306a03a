#pragma once
// Reading the pixels of a GDI+ bitmap the engine drew into.
#include "svg/gdiplus/GDIPlusSVGBitmap.h"

#include <cstdint>

namespace TestSupport {

// Premultiplied 0xAARRGGBB at (x, y); 0xDEADBEEF when the bitmap cannot be read.
std::uint32_t PixelAt(const SVGEngine::GDIPlusSVGBitmap& bitmap, int x, int y);
bool SamePixels(const SVGEngine::GDIPlusSVGBitmap& a, const SVGEngine::GDIPlusSVGBitmap& b);
int CountPixels(const SVGEngine::GDIPlusSVGBitmap& bitmap, std::uint32_t argb);
bool FullyTransparent(const SVGEngine::GDIPlusSVGBitmap& bitmap);

} // namespace TestSupport
