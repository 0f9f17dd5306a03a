#include "WicBitmapRows.h"

namespace Composition {

HRESULT WicBitmapRows::Lock(IWICBitmap* bitmap, UINT width, UINT height) {
    const WICRect whole{0, 0, static_cast<INT>(width), static_cast<INT>(height)};
    HRESULT hr = bitmap->Lock(&whole, WICBitmapLockRead, &lock_);
    UINT size = 0;
    if (SUCCEEDED(hr))
        hr = lock_->GetStride(&stride_);
    if (SUCCEEDED(hr))
        hr = lock_->GetDataPointer(&size, &bits_);
    return hr;
}

} // namespace Composition
