#include "Ink.h"

#include "Colours.h"

#include <algorithm>

namespace TestSupport {

Ink InkIn(const Composition::Pixels& frame, const RECT& area, std::uint32_t background,
          std::uint32_t textColour) {
    Ink ink;
    for (int y = std::max<LONG>(area.top, 0); y < std::min<LONG>(area.bottom, frame.height); ++y) {
        for (int x = std::max<LONG>(area.left, 0); x < std::min<LONG>(area.right, frame.width);
             ++x) {
            const std::uint32_t pixel = frame.At(x, y);
            if (Distance(pixel, background) <= 12)
                continue;
            ++ink.count;
            ink.box = {std::min<LONG>(ink.box.left, x), std::min<LONG>(ink.box.top, y),
                       std::max<LONG>(ink.box.right, x + 1), std::max<LONG>(ink.box.bottom, y + 1)};
            ink.closest = std::min(ink.closest, Distance(pixel, textColour));
        }
    }
    return ink;
}

} // namespace TestSupport
