#pragma once
// What a rounded-rectangle clip lets through, pixel by pixel: a coverage mask with
// antialiased straight edges and elliptical corners.
#include <cstdint>
#include <vector>

namespace Composition {

struct RoundedRect {
    float left = 0, top = 0, right = 0, bottom = 0;
    // Top-left x, y; top-right x, y; bottom-left x, y; bottom-right x, y.
    float radii[8] = {};
};

class ClipMask {
  public:
    // The mask of the rectangle, in the same pixel coordinates as its edges.
    explicit ClipMask(const RoundedRect& rect);

    // Pixels outside [Left, Left + Width) x [Top, Top + Height) are clipped away entirely.
    int Left() const { return left_; }
    int Top() const { return top_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    // Coverage 0 (clipped) to 255 (shown) of the pixel at (x, y).
    std::uint8_t At(int x, int y) const;
    const std::uint8_t* Row(int y) const { return coverage_.data() + (y - top_) * width_; }

  private:
    int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
    std::vector<std::uint8_t> coverage_;
};

} // namespace Composition
