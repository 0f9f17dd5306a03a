// Reading what a dialog shows: text ink on its page, the page itself. (Pixels, colours and the
// ink finder are the support library's.)
#pragma once

#include "Colours.h"
#include "Ink.h"

#include "DPI.h"

#include "ui/composition/Pixels.h"

#include <windows.h>

#include <cstdint>
#include <string>

namespace AppTest {

constexpr std::uint32_t kPageColour = 0x2F3131;
constexpr std::uint32_t kWhite = 0xFFFFFF;

using TestSupport::Alpha;
using TestSupport::Blend;
using TestSupport::Distance;
using TestSupport::Hex;
using TestSupport::Ink;

// The pixels of an area that differ from the page: where text is inked.
Ink InkIn(const Composition::Pixels& frame, const RECT& area, std::uint32_t textColour);
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
