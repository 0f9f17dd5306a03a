#pragma once
// A picture held in memory by the software compositor: premultiplied 32-bit pixels, rows
// top-down and packed (one row is width pixels). A pixel is 0xAARRGGBB, which in memory is
// blue, green, red, alpha, as Direct2D, WIC and layered windows lay it out.
#include <cstdint>
#include <vector>

namespace Composition {

struct Pixels {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> data;

    Pixels() = default;
    Pixels(int w, int h) : width(w), height(h), data(static_cast<size_t>(w) * h, 0) {}

    std::uint32_t At(int x, int y) const { return data[static_cast<size_t>(y) * width + x]; }
    std::uint32_t* Row(int y) { return data.data() + static_cast<size_t>(y) * width; }
    const std::uint32_t* Row(int y) const { return data.data() + static_cast<size_t>(y) * width; }
};

} // namespace Composition
