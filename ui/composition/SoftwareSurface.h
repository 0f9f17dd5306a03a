#pragma once
// A surface of the software compositor: drawn with the host's Direct2D device into a bitmap,
// then read back into memory, where the compositor takes it from at the next commit.
#include "Composition.h"
#include "Pixels.h"

#include <wrl/client.h>

#include <memory>

namespace Composition {

// The one Direct2D context all surfaces of a device draw with, and which surface draws now.
struct SurfaceDrawing {
    Microsoft::WRL::ComPtr<ID2D1Device> device;
    Microsoft::WRL::ComPtr<ID2D1DeviceContext> context;
    const void* drawing = nullptr;
};

class SoftwareSurface : public Surface {
  public:
    SoftwareSurface(std::shared_ptr<SurfaceDrawing> drawing, UINT width, UINT height);

    HRESULT BeginDraw(ID2D1DeviceContext** context, POINT* offset) override;
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
    Microsoft::WRL::ComPtr<ID2D1Bitmap1> target_;
    Microsoft::WRL::ComPtr<ID2D1Bitmap1> readable_;
    std::shared_ptr<const Pixels> picture_;
};

} // namespace Composition
