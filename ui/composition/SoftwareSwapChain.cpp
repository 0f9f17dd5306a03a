#include "SoftwareSwapChain.h"

#include "WicBitmapRows.h"

#include <cstring>

using Microsoft::WRL::ComPtr;

namespace Composition {

HRESULT SoftwareSwapChain::Create(IWICImagingFactory* wic, UINT width, UINT height,
                                  std::shared_ptr<PresentChannel> channel,
                                  std::shared_ptr<SoftwareSwapChain>* swapChain) {
    if (!wic || width == 0 || height == 0)
        return E_INVALIDARG;
    ComPtr<IWICBitmap> page;
    const HRESULT hr = wic->CreateBitmap(width, height, GUID_WICPixelFormat32bppPBGRA,
                                         WICBitmapCacheOnLoad, &page);
    if (FAILED(hr))
        return hr;
    swapChain->reset(new SoftwareSwapChain(std::move(page), width, height, std::move(channel)));
    return S_OK;
}

SoftwareSwapChain::SoftwareSwapChain(ComPtr<IWICBitmap> page, UINT width, UINT height,
                                     std::shared_ptr<PresentChannel> channel)
    : page_(std::move(page)), width_(width), height_(height), channel_(std::move(channel)),
      shown_(std::make_shared<PresentedPage>()) {}

HRESULT SoftwareSwapChain::CreateFrameTarget(ID2D1Factory* factory, ID2D1RenderTarget** target) {
    if (!factory || !target)
        return E_POINTER;
    // The page keeps its target for the next frames drawn by the same factory: making one
    // costs as much as drawing a frame.
    if (!frameTarget_ || frameFactory_.Get() != factory) {
        frameTarget_.Reset();
        frameFactory_ = factory;
        const D2D1_RENDER_TARGET_PROPERTIES properties = D2D1::RenderTargetProperties(
            D2D1_RENDER_TARGET_TYPE_DEFAULT,
            D2D1::PixelFormat(DXGI_FORMAT_UNKNOWN, D2D1_ALPHA_MODE_PREMULTIPLIED), 96.0f, 96.0f);
        const HRESULT hr =
            factory->CreateWicBitmapRenderTarget(page_.Get(), properties, &frameTarget_);
        if (FAILED(hr)) {
            frameFactory_.Reset();
            return hr;
        }
    }
    frameTarget_->SetTransform(D2D1::Matrix3x2F::Identity());
    frameTarget_.CopyTo(target);
    return S_OK;
}

HRESULT SoftwareSwapChain::Present() {
    pacer_.WaitForSlot();
    // The page is opaque: what it holds in its alpha channel is not shown.
    auto page = std::make_shared<Pixels>(width_, height_);
    {
        // Unlocked before the page is shown.
        WicBitmapRows rows;
        const HRESULT hr = rows.Lock(page_.Get(), width_, height_);
        if (FAILED(hr))
            return hr;
        for (UINT y = 0; y < height_; ++y) {
            const auto* source = reinterpret_cast<const std::uint32_t*>(rows.Row(y));
            std::uint32_t* row = page->Row(y);
            for (UINT x = 0; x < width_; ++x)
                row[x] = source[x] | 0xFF000000u;
        }
    }
    shown_->Publish(std::move(page));
    channel_->Notify();
    return S_OK;
}

} // namespace Composition
