#include "RoundedClipMask.h"

#include <algorithm>
#include <cmath>

namespace Composition {

namespace {

// How much of the pixel span [p, p + 1] lies inside [low, high].
float SpanCoverage(int p, float low, float high) {
    return std::max(0.0f, std::min(p + 1.0f, high) - std::max(static_cast<float>(p), low));
}

// Coverage of the pixel centred at (x, y) by an ellipse of radii (rx, ry) about (cx, cy),
// from its distance to the outline (one pixel of smoothing across the outline).
float EllipseCoverage(float x, float y, float cx, float cy, float rx, float ry) {
    const float dx = x - cx;
    const float dy = y - cy;
    const float f = dx * dx / (rx * rx) + dy * dy / (ry * ry) - 1.0f;
    const float gx = 2.0f * dx / (rx * rx);
    const float gy = 2.0f * dy / (ry * ry);
    const float gradient = std::sqrt(gx * gx + gy * gy);
    if (gradient <= 0.0f)
        return f < 0.0f ? 1.0f : 0.0f;
    return std::clamp(0.5f - f / gradient, 0.0f, 1.0f);
}

struct Corner {
    float rx, ry;
    bool left, top;
};

} // namespace

ClipMask::ClipMask(const RoundedRect& r) {
    if (!(r.right > r.left) || !(r.bottom > r.top))
        return;
    left_ = static_cast<int>(std::floor(r.left));
    top_ = static_cast<int>(std::floor(r.top));
    width_ = static_cast<int>(std::ceil(r.right)) - left_;
    height_ = static_cast<int>(std::ceil(r.bottom)) - top_;
    coverage_.assign(static_cast<size_t>(width_) * height_, 0);

    // Radii larger than half the rectangle are cut to half of it.
    const float halfWidth = (r.right - r.left) / 2;
    const float halfHeight = (r.bottom - r.top) / 2;
    auto radius = [&](int i, float half) { return std::clamp(r.radii[i], 0.0f, half); };
    const Corner corners[4] = {
        {radius(0, halfWidth), radius(1, halfHeight), true, true},
        {radius(2, halfWidth), radius(3, halfHeight), false, true},
        {radius(4, halfWidth), radius(5, halfHeight), true, false},
        {radius(6, halfWidth), radius(7, halfHeight), false, false},
    };

    for (int y = top_; y < top_ + height_; ++y) {
        const float cy = SpanCoverage(y, r.top, r.bottom);
        std::uint8_t* row = coverage_.data() + static_cast<size_t>(y - top_) * width_;
        for (int x = left_; x < left_ + width_; ++x) {
            float c = cy * SpanCoverage(x, r.left, r.right);
            const float px = x + 0.5f;
            const float py = y + 0.5f;
            for (const Corner& corner : corners) {
                if (corner.rx <= 0 || corner.ry <= 0)
                    continue;
                const float centreX = corner.left ? r.left + corner.rx : r.right - corner.rx;
                const float centreY = corner.top ? r.top + corner.ry : r.bottom - corner.ry;
                const bool inCornerX = corner.left ? px < centreX : px > centreX;
                const bool inCornerY = corner.top ? py < centreY : py > centreY;
                if (inCornerX && inCornerY)
                    c = std::min(c,
                                 EllipseCoverage(px, py, centreX, centreY, corner.rx, corner.ry));
            }
            row[x - left_] = static_cast<std::uint8_t>(std::lround(c * 255.0f));
        }
    }
}

std::uint8_t ClipMask::At(int x, int y) const {
    if (x < left_ || y < top_ || x >= left_ + width_ || y >= top_ + height_)
        return 0;
    return coverage_[static_cast<size_t>(y - top_) * width_ + (x - left_)];
}

} // namespace Composition
