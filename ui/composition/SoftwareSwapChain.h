#pragma once
// A swap chain of the software compositor: the page drawn next is a WIC bitmap that the
// caller's own Direct2D factory draws into (so a second thread needs nothing of the UI
// thread's devices); Present copies it into a new shown page, paced at 60 a second, and tells
// the UI thread, which recomposes the committed tree with it, without a commit.
#include "Composition.h"
#include "FramePacer.h"
#include "PresentChannel.h"
#include "PresentedPage.h"

#include <wincodec.h>
#include <wrl/client.h>

#include <memory>

namespace Composition {

class SoftwareSwapChain : public SwapChain {
  public:
    static HRESULT Create(IWICImagingFactory* wic, UINT width, UINT height,
                          std::shared_ptr<PresentChannel> channel,
                          std::shared_ptr<SoftwareSwapChain>* swapChain);

    HRESULT CreateFrameTarget(ID2D1Factory* factory, ID2D1RenderTarget** target) override;
    HRESULT Present() override;

    std::shared_ptr<const PresentedPage> Shown() const { return shown_; }

  private:
    SoftwareSwapChain(Microsoft::WRL::ComPtr<IWICBitmap> page, UINT width, UINT height,
                      std::shared_ptr<PresentChannel> channel);

    Microsoft::WRL::ComPtr<IWICBitmap> page_;
    // Used by the presenting thread only.
    Microsoft::WRL::ComPtr<ID2D1Factory> frameFactory_;
    Microsoft::WRL::ComPtr<ID2D1RenderTarget> frameTarget_;
    UINT width_;
    UINT height_;
    std::shared_ptr<PresentChannel> channel_;
    std::shared_ptr<PresentedPage> shown_;
    FramePacer pacer_;
};

} // namespace Composition
