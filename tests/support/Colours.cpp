#include "Colours.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace TestSupport {

int Channel(std::uint32_t pixel, int shift) {
    return static_cast<int>((pixel >> shift) & 0xFF);
}

int Alpha(std::uint32_t pixel) {
    return Channel(pixel, 24);
}

int Red(std::uint32_t pixel) {
    return Channel(pixel, 16);
}

int Green(std::uint32_t pixel) {
    return Channel(pixel, 8);
}

int Blue(std::uint32_t pixel) {
    return Channel(pixel, 0);
}

std::uint32_t Premultiplied(std::uint32_t rgb, float opacity) {
    std::uint32_t pixel = static_cast<std::uint32_t>(std::lround(opacity * 255)) << 24;
    for (int shift : {0, 8, 16})
        pixel |= static_cast<std::uint32_t>(std::lround(Channel(rgb, shift) * opacity)) << shift;
    return pixel;
}

std::uint32_t Over(std::uint32_t source, std::uint32_t destination) {
    const double inverse = 1.0 - Alpha(source) / 255.0;
    std::uint32_t result = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        const double value = Channel(source, shift) + Channel(destination, shift) * inverse;
        result |= static_cast<std::uint32_t>(std::lround(std::min(255.0, value))) << shift;
    }
    return result;
}

std::uint32_t Blend(std::uint32_t rgb, double opacity, std::uint32_t under) {
    std::uint32_t result = 0;
    for (int shift : {0, 8, 16}) {
        const double value =
            Channel(rgb, shift) * opacity + Channel(under, shift) * (1.0 - opacity);
        result |= static_cast<std::uint32_t>(std::lround(value)) << shift;
    }
    return result;
}

bool Near(std::uint32_t actual, std::uint32_t expected, int tolerance) {
    for (int shift = 0; shift < 32; shift += 8) {
        if (std::abs(Channel(actual, shift) - Channel(expected, shift)) > tolerance)
            return false;
    }
    return true;
}

int Distance(std::uint32_t a, std::uint32_t b) {
    int distance = 0;
    for (int shift : {0, 8, 16})
        distance = std::max(distance, std::abs(Channel(a, shift) - Channel(b, shift)));
    return distance;
}

std::string Hex(std::uint32_t pixel) {
    char text[16];
    std::snprintf(text, sizeof text, "%08X", static_cast<unsigned>(pixel));
    return text;
}

} // namespace TestSupport
