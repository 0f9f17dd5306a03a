#pragma once
// Pixels as the tests read them: 0xAARRGGBB, premultiplied unless said otherwise.
#include <cstdint>
#include <string>

namespace TestSupport {

// The byte at that shift (0 blue, 8 green, 16 red, 24 alpha).
int Channel(std::uint32_t pixel, int shift);
int Alpha(std::uint32_t pixel);
int Red(std::uint32_t pixel);
int Green(std::uint32_t pixel);
int Blue(std::uint32_t pixel);

// An opaque colour 0xRRGGBB at the given opacity (0..1), premultiplied as Windows does when a
// colour reaches a premultiplied 8-bit format (Direct2D, DXGI and WIC): each channel times the
// opacity, rounded to the nearest byte, and so is the alpha.
std::uint32_t Premultiplied(std::uint32_t rgb, float opacity);
// Source over destination, both premultiplied, as exact as integers allow.
std::uint32_t Over(std::uint32_t source, std::uint32_t destination);
// 0xRRGGBB at the given opacity over an opaque 0xRRGGBB, rounded (alpha 0 in the result).
std::uint32_t Blend(std::uint32_t rgb, double opacity, std::uint32_t under);

// Every channel, alpha included, within the tolerance.
bool Near(std::uint32_t actual, std::uint32_t expected, int tolerance);
// The largest distance of the colour channels (alpha ignored).
int Distance(std::uint32_t a, std::uint32_t b);
// "AARRGGBB", for messages.
std::string Hex(std::uint32_t pixel);

} // namespace TestSupport
