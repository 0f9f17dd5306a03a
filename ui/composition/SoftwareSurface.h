#pragma once
// A surface of the software compositor: drawn by a Direct2D 1.0 render target on a WIC bitmap
// (no Direct3D device, nothing of Direct2D 1.1), then read into memory, where the compositor
// takes it from at the next commit. Pictures copied in as pixels skip Direct2D altogether.
#include "Composition.h"
#include "Pixels.h"

#include <wincodec.h>
#include <wrl/client.h>

#include <memory>

namespace Composition {

// What all surfaces and swap chains of a device draw with, made when first needed, and which
// surface draws now.
class SurfaceDrawing {
  public:
    SurfaceDrawing(decltype(EntryPoints::wicFactory) wicFactory,
                   decltype(EntryPoints::d2dFactory) d2dFactory)
        : wicFactory_(std::move(wicFactory)), d2dFactory_(std::move(d2dFactory)) {}

    // The WIC factory, made on the first call.
    HRESULT Wic(IWICImagingFactory** wic);
    // The Direct2D factory the surfaces draw with, asked for on the first call.
    HRESULT Factory(ID2D1Factory** factory);

    const void* drawing = nullptr;

  private:
    decltype(EntryPoints::wicFactory) wicFactory_;
    decltype(EntryPoints::d2dFactory) d2dFactory_;
    Microsoft::WRL::ComPtr<IWICImagingFactory> wic_;
    Microsoft::WRL::ComPtr<ID2D1Factory> factory_;
};

class SoftwareSurface : public Surface {
  public:
    SoftwareSurface(std::shared_ptr<SurfaceDrawing> drawing, UINT width, UINT height);

    HRESULT BeginDraw(ID2D1RenderTarget** target, POINT* offset) override;
    HRESULT EndDraw() override;
    HRESULT Resize(UINT width, UINT height) override;
    HRESULT CopyPixels(const void* pixels, UINT width, UINT height, UINT stride) override;

    // The content of the last completed draw (null before the first one).
    std::shared_ptr<const Pixels> Picture() const { return picture_; }

  private:
    HRESULT ReadBack();

    std::shared_ptr<SurfaceDrawing> drawing_;
    UINT width_;
    UINT height_;
    Microsoft::WRL::ComPtr<IWICBitmap> bitmap_;
    Microsoft::WRL::ComPtr<ID2D1RenderTarget> target_;
    std::shared_ptr<const Pixels> picture_;
};

} // namespace Composition
