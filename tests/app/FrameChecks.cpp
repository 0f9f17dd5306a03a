#include "FrameChecks.h"

#include <gtest/gtest.h>

namespace AppTest {

RECT Scaled(const CDPI& dpi, const RECT& design) {
    RECT pixels;
    dpi.ScaleRect(&design, &pixels);
    return pixels;
}

Ink InkIn(const Composition::Pixels& frame, const RECT& area, std::uint32_t textColour) {
    return TestSupport::InkIn(frame, area, kPageColour, textColour);
}

void ExpectPage(const Composition::Pixels& frame, const CDPI& dpi, SIZE design,
                std::initializer_list<POINT> designPoints) {
    ASSERT_EQ(frame.width, dpi.Scale(design.cx));
    ASSERT_EQ(frame.height, dpi.Scale(design.cy));
    // Inside a corner's arc, and outside it.
    const int w = frame.width - 1, h = frame.height - 1, in = dpi.Scale(7), out = dpi.Scale(2);
    const auto at = [&](POINT p) { return frame.At(p.x, p.y); };
    for (const POINT& p :
         {POINT{in, in}, POINT{w - in, in}, POINT{in, h - in}, POINT{w - in, h - in}})
        EXPECT_EQ(at(p), 0xFF000000 | kPageColour) << p.x << "," << p.y << ": " << Hex(at(p));
    for (const POINT& d : designPoints) {
        const POINT p{dpi.Scale(d.x), dpi.Scale(d.y)};
        EXPECT_EQ(at(p), 0xFF000000 | kPageColour) << p.x << "," << p.y << ": " << Hex(at(p));
    }
    for (const POINT& p : {POINT{0, 0}, POINT{w, 0}, POINT{0, h}, POINT{w, h}, POINT{out, out},
                           POINT{w - out, out}, POINT{out, h - out}, POINT{w - out, h - out}})
        EXPECT_LE(Alpha(at(p)), 3) << "corner " << p.x << "," << p.y << ": " << Hex(at(p));
}

} // namespace AppTest
