#include "svg/gdiplus/GDIPlusSVGBitmap.h"

#include <cstring>

namespace SVGEngine {

GDIPlusSVGBitmap::GDIPlusSVGBitmap(int width, int height) : width_(width), height_(height) {
    if (width <= 0 || height <= 0)
        return;
    if (GdipCreateBitmapFromScan0(width, height, 0, PixelFormat32bppPARGB, nullptr, &bitmap_) !=
        Ok) {
        bitmap_ = nullptr;
        return;
    }
    GpGraphics* graphics = nullptr;
    if (GdipGetImageGraphicsContext(bitmap_, &graphics) != Ok)
        return;
    graphics_.reset(graphics);
    GdipSetSmoothingMode(graphics, SmoothingModeHighQuality);
    GdipSetInterpolationMode(graphics, InterpolationModeHighQuality);
}

GDIPlusSVGBitmap::~GDIPlusSVGBitmap() {
    graphics_.reset();
    if (bitmap_)
        GdipDisposeImage(bitmap_);
}

GDIPlusSVGBitmap::LockedPixels::LockedPixels(GpBitmap* bitmap) : bitmap_(bitmap) {
    if (!bitmap_)
        return;
    UINT width = 0, height = 0;
    GdipGetImageWidth(bitmap_, &width);
    GdipGetImageHeight(bitmap_, &height);
    GpRect area(0, 0, static_cast<INT>(width), static_cast<INT>(height));
    locked_ =
        GdipBitmapLockBits(bitmap_, &area, ImageLockModeRead, PixelFormat32bppPARGB, &data_) == Ok;
}

GDIPlusSVGBitmap::LockedPixels::LockedPixels(LockedPixels&& other) noexcept
    : bitmap_(other.bitmap_), data_(other.data_), locked_(other.locked_) {
    other.locked_ = false;
}

GDIPlusSVGBitmap::LockedPixels::~LockedPixels() {
    if (locked_)
        GdipBitmapUnlockBits(bitmap_, &data_);
}

const std::uint8_t* GDIPlusSVGBitmap::LockedPixels::Row(int y) const {
    return static_cast<const std::uint8_t*>(data_.Scan0) +
           static_cast<std::ptrdiff_t>(y) * Stride();
}

std::uint32_t GDIPlusSVGBitmap::LockedPixels::Pixel(int x, int y) const {
    std::uint32_t value = 0;
    std::memcpy(&value, Row(y) + 4 * x, 4);
    return value;
}

} // namespace SVGEngine
