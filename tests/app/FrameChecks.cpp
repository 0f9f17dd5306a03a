#include "FrameChecks.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace AppTest {
namespace {

int Channel(std::uint32_t pixel, int shift) {
    return static_cast<int>((pixel >> shift) & 0xFF);
}

} // namespace

int Distance(std::uint32_t a, std::uint32_t b) {
    int distance = 0;
    for (int shift : {0, 8, 16})
        distance = std::max(distance, std::abs(Channel(a, shift) - Channel(b, shift)));
    return distance;
}

int Alpha(std::uint32_t pixel) {
    return Channel(pixel, 24);
}

std::uint32_t Blend(std::uint32_t rgb, double alpha, std::uint32_t under) {
    std::uint32_t out = 0;
    for (int shift : {0, 8, 16}) {
        const double value = Channel(rgb, shift) * alpha + Channel(under, shift) * (1.0 - alpha);
        out |= static_cast<std::uint32_t>(std::lround(value)) << shift;
    }
    return out;
}

std::string Hex(std::uint32_t pixel) {
    char text[16];
    std::snprintf(text, sizeof text, "%08X", static_cast<unsigned>(pixel));
    return text;
}

RECT Scaled(const CDPI& dpi, const RECT& design) {
    RECT pixels;
    dpi.ScaleRect(&design, &pixels);
    return pixels;
}

Ink InkIn(const Composition::Pixels& frame, const RECT& area, std::uint32_t textColour) {
    Ink ink;
    for (int y = std::max<LONG>(area.top, 0); y < std::min<LONG>(area.bottom, frame.height); ++y) {
        for (int x = std::max<LONG>(area.left, 0); x < std::min<LONG>(area.right, frame.width);
             ++x) {
            const std::uint32_t pixel = frame.At(x, y);
            if (Distance(pixel, kPageColour) <= 12)
                continue;
            ++ink.count;
            ink.box = {std::min<LONG>(ink.box.left, x), std::min<LONG>(ink.box.top, y),
                       std::max<LONG>(ink.box.right, x + 1), std::max<LONG>(ink.box.bottom, y + 1)};
            ink.closest = std::min(ink.closest, Distance(pixel, textColour));
        }
    }
    return ink;
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
