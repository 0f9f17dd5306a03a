#pragma once
// The software compositor: the visual tree kept in memory, composed on the CPU and shown on
// layered windows. Commit composes and shows each target's tree at once; a swap chain's
// Present reaches the UI thread through a posted message, and its new page is shown with the
// tree of the last commit.
#include "Composition.h"
#include "Pixels.h"

#include <wincodec.h>
#include <wrl/client.h>

#include <memory>
#include <vector>

namespace Composition {

class PresentChannel;
class SoftwareTarget;
class SurfaceDrawing;

class SoftwareDevice : public Device {
  public:
    // Surfaces are drawn with d2dFactory's factory on WIC bitmaps, and the swap chains' pages
    // are WIC bitmaps; both are asked for when first needed. UI thread: the device's hidden
    // window receives the presents.
    static HRESULT Create(decltype(EntryPoints::wicFactory) wicFactory,
                          decltype(EntryPoints::d2dFactory) d2dFactory,
                          std::unique_ptr<Device>* device);
    ~SoftwareDevice() override;

    bool IsSoftware() const override { return true; }
    HRESULT CreateTargetForHwnd(HWND window, bool topmost,
                                std::shared_ptr<Target>* target) override;
    HRESULT CreateVisual(std::shared_ptr<Visual>* visual) override;
    HRESULT CreateVirtualSurface(UINT width, UINT height,
                                 std::shared_ptr<Surface>* surface) override;
    HRESULT CreateSwapChain(UINT width, UINT height,
                            std::shared_ptr<SwapChain>* swapChain) override;
    HRESULT CreateEffectGroup(std::shared_ptr<EffectGroup>* effect) override;
    HRESULT CreateRectangleClip(std::shared_ptr<RectangleClip>* clip) override;
    HRESULT Commit() override;

    // The frame last shown on the window (premultiplied BGRA, the window's size).
    HRESULT ReadLastFrame(HWND window, Pixels* frame) const;

  private:
    SoftwareDevice() = default;
    static LRESULT CALLBACK MessageProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void ShowPresentedPages();
    std::vector<std::shared_ptr<SoftwareTarget>> LiveTargets();

    std::shared_ptr<SurfaceDrawing> drawing_;
    HWND messageWindow_ = nullptr;
    std::shared_ptr<PresentChannel> channel_;
    std::vector<std::weak_ptr<SoftwareTarget>> targets_;
};

} // namespace Composition
