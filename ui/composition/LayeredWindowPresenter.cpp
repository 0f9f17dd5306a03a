#include "LayeredWindowPresenter.h"

#include <cstring>

namespace Composition {

LayeredWindowPresenter::LayeredWindowPresenter(HWND window) : window_(window) {
    const LONG_PTR style = GetWindowLongPtrW(window_, GWL_EXSTYLE);
    if (!(style & WS_EX_LAYERED))
        SetWindowLongPtrW(window_, GWL_EXSTYLE, style | WS_EX_LAYERED);
    dc_ = CreateCompatibleDC(nullptr);
}

LayeredWindowPresenter::~LayeredWindowPresenter() {
    ReleaseBitmap();
    if (dc_)
        DeleteDC(dc_);
}

void LayeredWindowPresenter::ReleaseBitmap() {
    if (bitmap_) {
        SelectObject(dc_, oldBitmap_);
        DeleteObject(bitmap_);
    }
    bitmap_ = nullptr;
    oldBitmap_ = nullptr;
    bits_ = nullptr;
    width_ = height_ = 0;
}

std::uint32_t* LayeredWindowPresenter::BeginFrame(int* width, int* height, int* clientX,
                                                  int* clientY) {
    RECT window{};
    if (!dc_ || !GetWindowRect(window_, &window))
        return nullptr;
    POINT client{0, 0};
    ClientToScreen(window_, &client);
    *clientX = client.x - window.left;
    *clientY = client.y - window.top;
    const int w = window.right - window.left;
    const int h = window.bottom - window.top;
    if (w <= 0 || h <= 0)
        return nullptr;
    if (w != width_ || h != height_) {
        ReleaseBitmap();
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = w;
        info.bmiHeader.biHeight = -h; // top-down, so rows are packed as the compositor's
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        if (!bitmap_)
            return nullptr;
        oldBitmap_ = SelectObject(dc_, bitmap_);
        bits_ = static_cast<std::uint32_t*>(bits);
        width_ = w;
        height_ = h;
    }
    std::memset(bits_, 0, static_cast<size_t>(width_) * height_ * 4);
    *width = width_;
    *height = height_;
    return bits_;
}

HRESULT LayeredWindowPresenter::Show() {
    if (!bits_)
        return E_UNEXPECTED;
    POINT source{0, 0};
    SIZE size{width_, height_};
    BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    if (!UpdateLayeredWindow(window_, nullptr, nullptr, &size, dc_, &source, 0, &blend, ULW_ALPHA))
        return HRESULT_FROM_WIN32(GetLastError());
    return S_OK;
}

bool LayeredWindowPresenter::CopyLastFrame(Pixels* frame) const {
    if (!bits_)
        return false;
    *frame = Pixels(width_, height_);
    std::memcpy(frame->data.data(), bits_, frame->data.size() * 4);
    return true;
}

} // namespace Composition
