// Reading what a dialog shows: text ink in a rectangle, colours over the page, the page itself.
#pragma once

#include "DPI.h"

#include "ui/composition/Pixels.h"

#include <windows.h>

#include <cstdint>
#include <string>

namespace AppTest {

constexpr std::uint32_t kPageColour = 0x2F3131;
constexpr std::uint32_t kWhite = 0xFFFFFF;

// The pixels of an area that differ from the page: where text is inked.
struct Ink {
    int count = 0;
    RECT box{LONG_MAX, LONG_MAX, LONG_MIN, LONG_MIN};
    int closest = 255; // channel distance of the pixel closest to the text colour
};
Ink InkIn(const Composition::Pixels& frame, const RECT& area, std::uint32_t textColour);

// 0xRRGGBB at the given opacity over an opaque 0xRRGGBB.
std::uint32_t Blend(std::uint32_t rgb, double alpha, std::uint32_t under);
// Largest channel distance of the colours (alpha ignored).
int Distance(std::uint32_t a, std::uint32_t b);
int Alpha(std::uint32_t pixel);
std::string Hex(std::uint32_t pixel);
RECT Scaled(const CDPI& dpi, const RECT& design);

// The frame is the page of the design size: its colour inside the rounded corners and at the
// given design points, nothing in the corners (radius 16 units) but at most a trace of the
// window's shadow.
void ExpectPage(const Composition::Pixels& frame, const CDPI& dpi, SIZE design,
                std::initializer_list<POINT> designPoints);

} // namespace AppTest

inline bool operator==(const RECT& a, const RECT& b) {
    return EqualRect(&a, &b) != FALSE;
}
