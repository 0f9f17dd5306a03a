#pragma once
// Recolouring of a single-picture button: the first fill colour written in the SVG text
// as fill="#RRGGBB" is replaced by another "#RRGGBB". Only that first occurrence changes;
// a text without one is returned unchanged.
#include <string>

std::string RecolourFirstFill(std::string svgText, const char* colour);
