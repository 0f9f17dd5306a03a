#include "svg/gdiplus/GDIPlusColor.h"

#include <cmath>

namespace SVGEngine {

std::uint32_t ChannelToByte(double channel) {
    const double scaled = std::trunc(channel * 255.0);
    // Out-of-range or NaN input saturates instead of wrapping into an unrelated value.
    if (!(scaled > 0.0))
        return 0;
    if (scaled >= 255.0)
        return 255;
    return static_cast<std::uint32_t>(scaled);
}

std::uint32_t ToArgb(const Color& color, float opacity) {
    const float alpha = opacity * color.a;
    return ChannelToByte(alpha) << 24 | ChannelToByte(color.r) << 16 | ChannelToByte(color.g) << 8 |
           ChannelToByte(color.b);
}

} // namespace SVGEngine
