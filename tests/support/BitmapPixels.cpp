#include "BitmapPixels.h"

namespace TestSupport {

std::uint32_t PixelAt(const SVGEngine::GDIPlusSVGBitmap& bitmap, int x, int y) {
    const auto pixels = bitmap.Lock();
    return pixels.Valid() ? pixels.Pixel(x, y) : 0xDEADBEEF;
}

bool SamePixels(const SVGEngine::GDIPlusSVGBitmap& a, const SVGEngine::GDIPlusSVGBitmap& b) {
    if (a.Width() != b.Width() || a.Height() != b.Height())
        return false;
    const auto pa = a.Lock();
    const auto pb = b.Lock();
    for (int y = 0; y < a.Height(); ++y) {
        for (int x = 0; x < a.Width(); ++x) {
            if (pa.Pixel(x, y) != pb.Pixel(x, y))
                return false;
        }
    }
    return true;
}

int CountPixels(const SVGEngine::GDIPlusSVGBitmap& bitmap, std::uint32_t argb) {
    const auto pixels = bitmap.Lock();
    int count = 0;
    for (int y = 0; y < bitmap.Height(); ++y) {
        for (int x = 0; x < bitmap.Width(); ++x)
            count += pixels.Pixel(x, y) == argb;
    }
    return count;
}

bool FullyTransparent(const SVGEngine::GDIPlusSVGBitmap& bitmap) {
    return CountPixels(bitmap, 0) == bitmap.Width() * bitmap.Height();
}

} // namespace TestSupport
