#include "SoftwareSurface.h"

#include "MadeOnce.h"
#include "WicBitmapRows.h"

#include <algorithm>
#include <cstring>
#include <memory>

using Microsoft::WRL::ComPtr;

namespace Composition {

namespace {

// DirectComposition's answer when a surface is drawn while another draw is open.
constexpr HRESULT kSurfaceBeingRendered = static_cast<HRESULT>(0x88980801L);

} // namespace

HRESULT SurfaceDrawing::Wic(IWICImagingFactory** wic) {
    if (!wicFactory_)
        return E_UNEXPECTED;
    const HRESULT hr = MadeOnce(std::addressof(wic_), wicFactory_);
    return FAILED(hr) ? hr : wic_.CopyTo(wic);
}

HRESULT SurfaceDrawing::Factory(ID2D1Factory** factory) {
    if (!d2dFactory_)
        return E_UNEXPECTED;
    const HRESULT hr = MadeOnce(std::addressof(factory_), d2dFactory_);
    return FAILED(hr) ? hr : factory_.CopyTo(factory);
}

SoftwareSurface::SoftwareSurface(std::shared_ptr<SurfaceDrawing> drawing, UINT width, UINT height)
    : drawing_(std::move(drawing)), width_(width), height_(height) {}

HRESULT SoftwareSurface::BeginDraw(ID2D1RenderTarget** target, POINT* offset) {
    if (!target || !offset)
        return E_POINTER;
    *target = nullptr;
    if (drawing_->drawing)
        return kSurfaceBeingRendered;
    if (width_ == 0 || height_ == 0)
        return E_INVALIDARG;
    HRESULT hr = S_OK;
    if (!bitmap_) {
        ComPtr<IWICImagingFactory> wic;
        hr = drawing_->Wic(&wic);
        if (SUCCEEDED(hr))
            hr = wic->CreateBitmap(width_, height_, GUID_WICPixelFormat32bppPBGRA,
                                   WICBitmapCacheOnLoad, &bitmap_);
    }
    if (SUCCEEDED(hr) && !target_) {
        ComPtr<ID2D1Factory> factory;
        hr = drawing_->Factory(&factory);
        // Direct2D 1.0: a render target on the WIC bitmap, one unit a pixel.
        const D2D1_RENDER_TARGET_PROPERTIES properties = D2D1::RenderTargetProperties(
            D2D1_RENDER_TARGET_TYPE_DEFAULT,
            D2D1::PixelFormat(DXGI_FORMAT_B8G8R8A8_UNORM, D2D1_ALPHA_MODE_PREMULTIPLIED), 96.0f,
            96.0f);
        if (SUCCEEDED(hr))
            hr = factory->CreateWicBitmapRenderTarget(bitmap_.Get(), properties, &target_);
    }
    if (FAILED(hr)) {
        bitmap_.Reset();
        target_.Reset();
        return hr;
    }
    target_->SetTransform(D2D1::Matrix3x2F::Identity());
    target_->BeginDraw();
    drawing_->drawing = this;
    target_.CopyTo(target);
    *offset = POINT{0, 0};
    return S_OK;
}

HRESULT SoftwareSurface::EndDraw() {
    if (drawing_->drawing != this)
        return E_UNEXPECTED;
    drawing_->drawing = nullptr;
    const HRESULT hr = target_->EndDraw();
    if (FAILED(hr)) {
        // A target that cannot go on drawing (D2DERR_RECREATE_TARGET) is made again next time.
        target_.Reset();
        return hr;
    }
    return ReadBack();
}

HRESULT SoftwareSurface::ReadBack() {
    WicBitmapRows rows;
    const HRESULT hr = rows.Lock(bitmap_.Get(), width_, height_);
    if (FAILED(hr))
        return hr;
    auto picture = std::make_shared<Pixels>(width_, height_);
    for (UINT y = 0; y < height_; ++y)
        std::memcpy(picture->Row(y), rows.Row(y), static_cast<size_t>(width_) * 4);
    picture_ = std::move(picture);
    return S_OK;
}

HRESULT SoftwareSurface::CopyPixels(const void* pixels, UINT width, UINT height, UINT stride) {
    if (drawing_->drawing == this)
        return kSurfaceBeingRendered;
    if (width_ == 0 || height_ == 0)
        return E_INVALIDARG;
    if (!pixels && width && height)
        return E_POINTER;
    // No Direct2D round trip: the compositor takes the picture from memory anyway.
    auto picture = std::make_shared<Pixels>(width_, height_);
    const UINT w = std::min(width, width_);
    const UINT h = std::min(height, height_);
    for (UINT y = 0; y < h; ++y)
        std::memcpy(picture->Row(y),
                    static_cast<const BYTE*>(pixels) + static_cast<size_t>(y) * stride,
                    static_cast<size_t>(w) * 4);
    picture_ = std::move(picture);
    return S_OK;
}

HRESULT SoftwareSurface::Resize(UINT width, UINT height) {
    if (drawing_->drawing == this)
        return kSurfaceBeingRendered;
    if (width == width_ && height == height_)
        return S_OK;
    // What fits of the old content stays; the rest of the surface is transparent.
    if (picture_) {
        auto resized = std::make_shared<Pixels>(width, height);
        const int w = std::min<int>(width, picture_->width);
        const int h = std::min<int>(height, picture_->height);
        for (int y = 0; y < h; ++y)
            std::memcpy(resized->Row(y), picture_->Row(y), static_cast<size_t>(w) * 4);
        picture_ = std::move(resized);
    }
    width_ = width;
    height_ = height;
    target_.Reset();
    bitmap_.Reset();
    return S_OK;
}

} // namespace Composition
