// Shared set-up of the composition tests: a real popup window on the sandbox's display with a
// composition host, pumping its messages, and reading back what the compositor showed.
#pragma once

#include "DCompUtil.h"
#include "ui/composition/Pixels.h"

#include <windows.h>

#include <cstdint>
#include <functional>
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

// Handles the thread's messages for about the given time.
void PumpMessages(DWORD milliseconds);
// Handles messages until the condition holds or the time is up; the condition's last value.
bool PumpUntil(const std::function<bool()>& condition, DWORD milliseconds);
// Waits for a thread while handling messages (as a modal loop does), bounded.
bool WaitPumping(HANDLE thread, DWORD milliseconds);

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

// Premultiplied 0xAARRGGBB of an opaque colour 0xRRGGBB at the given opacity.
std::uint32_t Premultiplied(std::uint32_t rgb, float alpha);
// Source over destination, both premultiplied, as exact as integers allow.
std::uint32_t Over(std::uint32_t source, std::uint32_t destination);
int Channel(std::uint32_t pixel, int shift);
// Every channel within tolerance.
bool Near(std::uint32_t actual, std::uint32_t expected, int tolerance);
std::string Hex(std::uint32_t pixel);

// Saves a premultiplied picture as PNG (for people to look at), through GDI+.
bool SavePng(const Composition::Pixels& pixels, const wchar_t* path);
// A picture file read through GDI+; empty (width 0) if it cannot be read.
Composition::Pixels LoadPicture(const wchar_t* path);

} // namespace CompositionTest
