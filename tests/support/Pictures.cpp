#include "Pictures.h"

#include "svg/gdiplus/GDIPlusApi.h"

#include <cstdlib>

namespace TestSupport {

bool SavePng(const Composition::Pixels& pixels, const std::wstring& path) {
    using namespace SVGEngine;
    GpBitmap* bitmap = nullptr;
    if (GdipCreateBitmapFromScan0(
            pixels.width, pixels.height, pixels.width * 4, PixelFormat32bppPARGB,
            reinterpret_cast<BYTE*>(const_cast<std::uint32_t*>(pixels.data.data())), &bitmap) != Ok)
        return false;
    const UniqueImage owned(bitmap);
    // The PNG encoder's class id.
    const CLSID png{0x557cf406, 0x1a04, 0x11d3, {0x9a, 0x73, 0x00, 0x00, 0xf8, 0x1e, 0xf3, 0x2e}};
    return GdipSaveImageToFile(bitmap, path.c_str(), &png, nullptr) == Ok;
}

Composition::Pixels LoadPicture(const std::wstring& path) {
    using namespace SVGEngine;
    GpBitmap* bitmap = nullptr;
    if (GdipCreateBitmapFromFile(path.c_str(), &bitmap) != Ok)
        return {};
    const UniqueImage owned(bitmap);
    UINT width = 0, height = 0;
    GdipGetImageWidth(bitmap, &width);
    GdipGetImageHeight(bitmap, &height);
    Composition::Pixels pixels(static_cast<int>(width), static_cast<int>(height));
    BitmapData data{};
    data.Width = width;
    data.Height = height;
    data.Stride = static_cast<INT>(width * 4);
    data.PixelFormat = PixelFormat32bppPARGB;
    data.Scan0 = pixels.data.data();
    const GpRect all{0, 0, static_cast<INT>(width), static_cast<INT>(height)};
    if (GdipBitmapLockBits(bitmap, &all, ImageLockModeRead | ImageLockModeUserInputBuf,
                           PixelFormat32bppPARGB, &data) != Ok)
        return {};
    GdipBitmapUnlockBits(bitmap, &data);
    return pixels;
}

bool KeepForPeople(const Composition::Pixels& frame, const std::wstring& name, int percent) {
    const wchar_t* folder = _wgetenv(L"CORVANE_UI_FRAMES");
    if (!folder)
        return true;
    const std::wstring path =
        std::wstring(folder) + L"\\" + name + L"@" + std::to_wstring(percent) + L".png";
    return SavePng(frame, path);
}

} // namespace TestSupport
