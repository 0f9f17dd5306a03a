#include "Screenshot.h"

#include "RealInput.h"

#include "svg/gdiplus/GDIPlusApi.h"

#include <cstring>

namespace UiTest {

Screenshot::Screenshot(const std::wstring& name) {
    const std::wstring path = RealInput::CaptureScreen(name);
    if (path.empty())
        return;
    Gdiplus::GpBitmap* bitmap = nullptr;
    if (Gdiplus::DllExports::GdipCreateBitmapFromFile(path.c_str(), &bitmap) != Gdiplus::Ok)
        return;
    const SVGEngine::UniqueImage owner(bitmap);
    UINT width = 0, height = 0;
    Gdiplus::DllExports::GdipGetImageWidth(bitmap, &width);
    Gdiplus::DllExports::GdipGetImageHeight(bitmap, &height);
    Gdiplus::GpRect area(0, 0, static_cast<INT>(width), static_cast<INT>(height));
    Gdiplus::BitmapData data{};
    if (Gdiplus::DllExports::GdipBitmapLockBits(bitmap, &area, Gdiplus::ImageLockModeRead,
                                                PixelFormat32bppARGB, &data) != Gdiplus::Ok)
        return;
    pixels_.resize(static_cast<std::size_t>(width) * height);
    for (UINT y = 0; y < height; ++y) {
        std::memcpy(pixels_.data() + static_cast<std::size_t>(y) * width,
                    static_cast<const std::uint8_t*>(data.Scan0) +
                        static_cast<std::ptrdiff_t>(y) * data.Stride,
                    width * 4);
    }
    Gdiplus::DllExports::GdipBitmapUnlockBits(bitmap, &data);
    width_ = static_cast<int>(width);
    height_ = static_cast<int>(height);
    DeleteFileW(path.c_str());
}

std::uint32_t Screenshot::At(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_)
        return 0;
    return pixels_[static_cast<std::size_t>(y) * width_ + x];
}

} // namespace UiTest
