// Shared set-up of the composition tests: a real popup window on the sandbox's display with a
// composition host, reading back what the compositor showed, and visuals filled for a test.
// Waiting, pixels and pictures are the support library's (tests/support).
#pragma once

#include "DCompUtil.h"
#include "ui/composition/Pixels.h"

#include <windows.h>

#include <cstdint>
#include <memory>

namespace CompositionTest {

// The host as a dialog keeps it, counting how often it paints its frame.
class CountingHost : public CDCompUtil {
  public:
    HRESULT DrawFrame() override {
        ++frameDraws;
        return CDCompUtil::DrawFrame();
    }
    int frameDraws = 0;
};

// A borderless popup of the given client size at (x, y), shown without activation once the
// host has committed. WM_SIZE goes to the host as a dialog passes it on.
class HostWindow {
  public:
    HostWindow(int x, int y, int width, int height, bool active = true);
    ~HostWindow();
    HostWindow(const HostWindow&) = delete;
    HostWindow& operator=(const HostWindow&) = delete;

    HWND Handle() const { return window_; }
    CountingHost& Host() { return *host_; }
    Composition::Device& Device() { return *host_->CompositionDevice(); }
    // Commits and returns the frame the compositor showed.
    Composition::Pixels CommitAndRead();
    Composition::Pixels Read();

  private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    HWND window_ = nullptr;
    CDPI dpi_;
    std::unique_ptr<CountingHost> host_;
};

// A new visual under the parent at (x, y), showing a surface of the given size cleared to the
// colour (straight alpha) by Direct2D; its effect group carries `opacity`.
struct TestVisual {
    std::shared_ptr<Composition::Visual> visual;
    std::shared_ptr<Composition::Surface> surface;
    std::shared_ptr<Composition::EffectGroup> effect;
};
TestVisual AddFilledVisual(Composition::Device& device, Composition::Visual& parent, int x, int y,
                           int width, int height, std::uint32_t rgb, float alpha = 1.0f,
                           float opacity = 1.0f);
HRESULT FillSurface(Composition::Surface& surface, std::uint32_t rgb, float alpha = 1.0f);

} // namespace CompositionTest
