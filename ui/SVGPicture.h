#pragma once
// An SVG picture of the program's resources, drawn as the toolkit's objects draw theirs.
#include "svg/gdiplus/GDIPlusApi.h"

#include <string>

class CDPI;

// The text of resource id of type "SVG" in the program, up to its first NUL; empty if none.
std::string SVGResourceText(int id);

// Draws the document at its own size, scaled by dpi (null: one unit a pixel), anchored at the
// top-left. A text the SVG engine rejects draws nothing.
void DrawSVGPicture(Gdiplus::GpGraphics* graphics, const std::string& svgText, const CDPI* dpi);
