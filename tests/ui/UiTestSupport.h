// Shared set-up of the toolkit tests: GDI+ for the whole run, a real (hidden) dialog
// window that receives posted commands and holds the capture, and pixel reading.
#pragma once

#include "svg/gdiplus/GDIPlusSVGBitmap.h"

#include <windows.h>

#include <cstdint>
#include <vector>

namespace UiTest {

// A top-level popup window of this thread that is never shown.
class OwnerWindow {
  public:
    OwnerWindow();
    ~OwnerWindow();
    OwnerWindow(const OwnerWindow&) = delete;
    OwnerWindow& operator=(const OwnerWindow&) = delete;
    HWND Handle() const { return window_; }
    // The command ids posted to the window since the last call, in order (WM_COMMAND
    // with lParam 0 and high word 0).
    std::vector<int> TakeCommands();

  private:
    HWND window_ = nullptr;
};

// Premultiplied 0xAARRGGBB at (x, y).
std::uint32_t PixelAt(const SVGEngine::GDIPlusSVGBitmap& bitmap, int x, int y);
bool SamePixels(const SVGEngine::GDIPlusSVGBitmap& a, const SVGEngine::GDIPlusSVGBitmap& b);
int CountPixels(const SVGEngine::GDIPlusSVGBitmap& bitmap, std::uint32_t argb);
bool FullyTransparent(const SVGEngine::GDIPlusSVGBitmap& bitmap);
// Channel by channel within tolerance.
bool Near(std::uint32_t actual, std::uint32_t expected, int tolerance);
// A premultiplied pixel of colour 0xRRGGBB at alpha (0..255), truncated as GDI+ does.
std::uint32_t Premultiplied(std::uint32_t rgb, int alpha);

} // namespace UiTest
