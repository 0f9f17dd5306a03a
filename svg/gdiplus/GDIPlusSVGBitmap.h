// The raster output of a drawing: a premultiplied 32-bit GDI+ bitmap, its drawing context set
// up for SVG, and read access to its rows.
#pragma once

#include "svg/gdiplus/GDIPlusApi.h"

#include <cstdint>

namespace SVGEngine {

class GDIPlusSVGBitmap {
  public:
    // Rows locked for reading; unlocked when this goes away.
    class LockedPixels {
      public:
        LockedPixels(LockedPixels&& other) noexcept;
        ~LockedPixels();
        LockedPixels(const LockedPixels&) = delete;
        LockedPixels& operator=(const LockedPixels&) = delete;
        LockedPixels& operator=(LockedPixels&&) = delete;

        bool Valid() const { return locked_; }
        int Width() const { return static_cast<int>(data_.Width); }
        int Height() const { return static_cast<int>(data_.Height); }
        int Stride() const { return data_.Stride; }
        // Pixels top-down; each is blue, green, red, alpha with colours premultiplied.
        const std::uint8_t* Row(int y) const;
        // The pixel at (x, y) as 0xAARRGGBB, premultiplied.
        std::uint32_t Pixel(int x, int y) const;

      private:
        friend class GDIPlusSVGBitmap;
        explicit LockedPixels(GpBitmap* bitmap);
        GpBitmap* bitmap_;
        BitmapData data_{};
        bool locked_ = false;
    };

    // A new bitmap is fully transparent; drawing relies on that.
    GDIPlusSVGBitmap(int width, int height);
    ~GDIPlusSVGBitmap();
    GDIPlusSVGBitmap(const GDIPlusSVGBitmap&) = delete;
    GDIPlusSVGBitmap& operator=(const GDIPlusSVGBitmap&) = delete;

    bool Valid() const { return bitmap_ && graphics_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    // High-quality smoothing and interpolation are set, as the pictures expect.
    GpGraphics* Graphics() const { return graphics_.get(); }
    GpBitmap* Bitmap() const { return bitmap_; }
    LockedPixels Lock() const { return LockedPixels(bitmap_); }

  private:
    int width_;
    int height_;
    GpBitmap* bitmap_ = nullptr;
    UniqueGraphics graphics_;
};

} // namespace SVGEngine
