#pragma once
// Where text is inked in a frame: the pixels of an area that differ from its background.
#include "ui/composition/Pixels.h"

#include <windows.h>

#include <climits>
#include <cstdint>

namespace TestSupport {

struct Ink {
    int count = 0;
    RECT box{LONG_MAX, LONG_MAX, LONG_MIN, LONG_MIN};
    int closest = 255; // channel distance of the pixel closest to the text colour
};

// Pixels of the area (clipped to the frame) more than a trace away from the background colour.
Ink InkIn(const Composition::Pixels& frame, const RECT& area, std::uint32_t background,
          std::uint32_t textColour);

} // namespace TestSupport
