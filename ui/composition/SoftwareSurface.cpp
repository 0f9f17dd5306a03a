#include "SoftwareSurface.h"

#include <algorithm>
#include <cstring>

using Microsoft::WRL::ComPtr;

namespace Composition {

namespace {

// DirectComposition's answer when a surface is drawn while another draw is open.
constexpr HRESULT kSurfaceBeingRendered = static_cast<HRESULT>(0x88980801L);

D2D1_BITMAP_PROPERTIES1 BitmapProperties(D2D1_BITMAP_OPTIONS options) {
    return D2D1::BitmapProperties1(
        options, D2D1::PixelFormat(DXGI_FORMAT_B8G8R8A8_UNORM, D2D1_ALPHA_MODE_PREMULTIPLIED),
        96.0f, 96.0f);
}

} // namespace

SoftwareSurface::SoftwareSurface(std::shared_ptr<SurfaceDrawing> drawing, UINT width, UINT height)
    : drawing_(std::move(drawing)), width_(width), height_(height) {}

HRESULT SoftwareSurface::BeginDraw(ID2D1DeviceContext** context, POINT* offset) {
    if (!context || !offset)
        return E_POINTER;
    *context = nullptr;
    if (drawing_->drawing)
        return kSurfaceBeingRendered;
    if (width_ == 0 || height_ == 0)
        return E_INVALIDARG;
    HRESULT hr = S_OK;
    if (!drawing_->context)
        hr = drawing_->device->CreateDeviceContext(D2D1_DEVICE_CONTEXT_OPTIONS_NONE,
                                                   &drawing_->context);
    if (SUCCEEDED(hr) && !target_)
        hr =
            drawing_->context->CreateBitmap(D2D1::SizeU(width_, height_), nullptr, 0,
                                            BitmapProperties(D2D1_BITMAP_OPTIONS_TARGET), &target_);
    if (FAILED(hr))
        return hr;
    ID2D1DeviceContext* dc = drawing_->context.Get();
    dc->SetTarget(target_.Get());
    dc->SetDpi(96.0f, 96.0f);
    dc->SetTransform(D2D1::Matrix3x2F::Identity());
    dc->BeginDraw();
    drawing_->drawing = this;
    dc->AddRef();
    *context = dc;
    *offset = POINT{0, 0};
    return S_OK;
}

HRESULT SoftwareSurface::EndDraw() {
    if (drawing_->drawing != this)
        return E_UNEXPECTED;
    drawing_->drawing = nullptr;
    ID2D1DeviceContext* dc = drawing_->context.Get();
    const HRESULT hr = dc->EndDraw();
    dc->SetTarget(nullptr);
    return FAILED(hr) ? hr : ReadBack();
}

HRESULT SoftwareSurface::ReadBack() {
    HRESULT hr = S_OK;
    if (!readable_)
        hr = drawing_->context->CreateBitmap(
            D2D1::SizeU(width_, height_), nullptr, 0,
            BitmapProperties(D2D1_BITMAP_OPTIONS_CPU_READ | D2D1_BITMAP_OPTIONS_CANNOT_DRAW),
            &readable_);
    if (SUCCEEDED(hr))
        hr = readable_->CopyFromBitmap(nullptr, target_.Get(), nullptr);
    D2D1_MAPPED_RECT mapped{};
    if (SUCCEEDED(hr))
        hr = readable_->Map(D2D1_MAP_OPTIONS_READ, &mapped);
    if (FAILED(hr))
        return hr;
    auto picture = std::make_shared<Pixels>(width_, height_);
    for (UINT y = 0; y < height_; ++y)
        std::memcpy(picture->Row(y), mapped.bits + static_cast<size_t>(y) * mapped.pitch,
                    static_cast<size_t>(width_) * 4);
    readable_->Unmap();
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
    readable_.Reset();
    return S_OK;
}

} // namespace Composition
