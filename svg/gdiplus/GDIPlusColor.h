// Conversion of the engine's float colours to GDI+ ARGB values.
#pragma once

#include "svg/SVGRenderer.h"

#include <cstdint>

namespace SVGEngine {

// One channel in 0..1 to a byte by truncation (0.5 becomes 127), as the pictures were tuned.
std::uint32_t ChannelToByte(double channel);

// The colour with its own alpha multiplied by `opacity` (the product taken in float first).
std::uint32_t ToArgb(const Color& color, float opacity = 1.0f);

} // namespace SVGEngine
