#pragma once
// Shows composed frames on a window made layered: a premultiplied 32-bit DIB section the size
// of the window, handed to UpdateLayeredWindow with per-pixel alpha. UI thread only: the
// window's own thread is the one that updates it.
#include "Pixels.h"

#include <windows.h>

#include <cstdint>

namespace Composition {

class LayeredWindowPresenter {
  public:
    // Adds WS_EX_LAYERED to the window. It shows nothing until the first Show.
    explicit LayeredWindowPresenter(HWND window);
    ~LayeredWindowPresenter();
    LayeredWindowPresenter(const LayeredWindowPresenter&) = delete;
    LayeredWindowPresenter& operator=(const LayeredWindowPresenter&) = delete;

    // A frame of the window's size, fully transparent, with the window's top-left corner at
    // (0, 0); null when the window has no area. (*clientX, *clientY) is where its client area
    // begins in the frame.
    std::uint32_t* BeginFrame(int* width, int* height, int* clientX, int* clientY);
    // Puts the frame on the screen.
    HRESULT Show();
    // The frame last composed (premultiplied BGRA, window-sized).
    bool CopyLastFrame(Pixels* frame) const;

  private:
    void ReleaseBitmap();

    HWND window_;
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ oldBitmap_ = nullptr;
    std::uint32_t* bits_ = nullptr;
    int width_ = 0;
    int height_ = 0;
};

} // namespace Composition
