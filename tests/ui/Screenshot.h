// A screenshot of the X display taken through run_with_input.sh, read with GDI+.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace UiTest {

class Screenshot {
  public:
    // Takes the screenshot now; Valid() is false if that failed.
    explicit Screenshot(const std::wstring& name);

    bool Valid() const { return width_ > 0; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    // Opaque 0xFFRRGGBB at screen (x, y); 0 outside the screen.
    std::uint32_t At(int x, int y) const;

  private:
    int width_ = 0;
    int height_ = 0;
    std::vector<std::uint32_t> pixels_;
};

} // namespace UiTest
