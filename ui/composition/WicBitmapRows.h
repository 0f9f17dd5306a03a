#pragma once
// The rows of a whole WIC bitmap, locked for reading while this lives.
#include <wincodec.h>
#include <wrl/client.h>

namespace Composition {

class WicBitmapRows {
  public:
    // Fails as IWICBitmap::Lock, GetStride or GetDataPointer fails.
    HRESULT Lock(IWICBitmap* bitmap, UINT width, UINT height);
    const BYTE* Row(UINT y) const { return bits_ + static_cast<size_t>(y) * stride_; }

  private:
    Microsoft::WRL::ComPtr<IWICBitmapLock> lock_;
    UINT stride_ = 0;
    BYTE* bits_ = nullptr;
};

} // namespace Composition
