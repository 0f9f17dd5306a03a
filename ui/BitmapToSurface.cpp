#include "BitmapToSurface.h"

#include <wrl/client.h>

using Microsoft::WRL::ComPtr;

HRESULT CopyBitmapToSurface(const SVGEngine::GDIPlusSVGBitmap& bitmap,
                            Composition::Surface* surface) {
    const SVGEngine::GDIPlusSVGBitmap::LockedPixels pixels = bitmap.Lock();
    if (!pixels.Valid())
        return E_FAIL;
    const HRESULT copied =
        surface->CopyPixels(pixels.Row(0), pixels.Width(), pixels.Height(), pixels.Stride());
    if (copied != E_NOTIMPL)
        return copied;
    ComPtr<ID2D1RenderTarget> context;
    POINT offset{};
    const HRESULT began = surface->BeginDraw(&context, &offset);
    if (FAILED(began))
        return began;
    // At 96 DPI a Direct2D unit is a pixel, so the bitmap is copied, not resampled.
    context->SetDpi(96.0f, 96.0f);
    context->Clear(D2D1::ColorF(0, 0.0f));
    const D2D1_SIZE_U size = D2D1::SizeU(pixels.Width(), pixels.Height());
    const D2D1_BITMAP_PROPERTIES properties = D2D1::BitmapProperties(
        D2D1::PixelFormat(DXGI_FORMAT_B8G8R8A8_UNORM, D2D1_ALPHA_MODE_PREMULTIPLIED), 96.0f, 96.0f);
    ComPtr<ID2D1Bitmap> picture;
    if (SUCCEEDED(context->CreateBitmap(size, properties, &picture)) &&
        SUCCEEDED(picture->CopyFromMemory(nullptr, pixels.Row(0), pixels.Stride()))) {
        const float left = static_cast<float>(offset.x);
        const float top = static_cast<float>(offset.y);
        context->DrawBitmap(picture.Get(),
                            D2D1::RectF(left, top, left + pixels.Width(), top + pixels.Height()),
                            1.0f, D2D1_BITMAP_INTERPOLATION_MODE_LINEAR, nullptr);
    }
    picture.Reset();
    return surface->EndDraw();
}
