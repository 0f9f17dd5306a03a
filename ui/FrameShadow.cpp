#include "FrameShadow.h"

#include <d2d1effects.h>
#include <wrl/client.h>

#include <algorithm>
#include <cmath>
#include <cstring>

using Microsoft::WRL::ComPtr;

namespace {

D2D1_BITMAP_PROPERTIES BitmapProperties() {
    return D2D1::BitmapProperties(
        D2D1::PixelFormat(DXGI_FORMAT_B8G8R8A8_UNORM, D2D1_ALPHA_MODE_PREMULTIPLIED), 96.0f, 96.0f);
}

// A colour matrix that keeps only alpha, times the factor, on black.
D2D1_MATRIX_5X4_F AlphaOnly(float factor) {
    D2D1_MATRIX_5X4_F matrix{};
    matrix._44 = factor;
    return matrix;
}

HRESULT DrawWithEffects(ID2D1DeviceContext* context, ID2D1Bitmap* silhouette, ShadowStyle style,
                        D2D1_POINT_2F offset) {
    ComPtr<ID2D1Effect> solid, blur, fade;
    HRESULT hr = context->CreateEffect(CLSID_D2D1ColorMatrix, &solid);
    if (SUCCEEDED(hr))
        hr = context->CreateEffect(CLSID_D2D1GaussianBlur, &blur);
    if (SUCCEEDED(hr))
        hr = context->CreateEffect(CLSID_D2D1ColorMatrix, &fade);
    if (FAILED(hr))
        return hr;
    // Any alpha at all becomes opaque: 127 times the smallest alpha still exceeds 1.
    solid->SetInput(0, silhouette, TRUE);
    solid->SetValue(D2D1_COLORMATRIX_PROP_COLOR_MATRIX, AlphaOnly(127.0f));
    blur->SetInputEffect(0, solid.Get(), TRUE);
    blur->SetValue(D2D1_GAUSSIANBLUR_PROP_STANDARD_DEVIATION, style.sigma);
    fade->SetInputEffect(0, blur.Get(), TRUE);
    fade->SetValue(D2D1_COLORMATRIX_PROP_COLOR_MATRIX, AlphaOnly(style.opacity));
    ComPtr<ID2D1Image> output;
    fade->GetOutput(&output);
    // The blur's soft border grows its output by 3 sigma past the silhouette's bitmap, which
    // is as large as the surface; IDCompositionSurface::BeginDraw allows no drawing outside
    // the update rectangle (the whole surface here). So only the bitmap's own rectangle of the
    // output is drawn: the same pixels inside, nothing beyond.
    const D2D1_SIZE_U size = silhouette->GetPixelSize();
    const D2D1_RECT_F inside =
        D2D1::RectF(0.0f, 0.0f, static_cast<float>(size.width), static_cast<float>(size.height));
    context->DrawImage(output.Get(), &offset, &inside, D2D1_INTERPOLATION_MODE_LINEAR,
                       D2D1_COMPOSITE_MODE_SOURCE_OVER);
    return S_OK;
}

HRESULT DrawComputed(ID2D1RenderTarget* target, const Silhouette& silhouette, ShadowStyle style,
                     D2D1_POINT_2F offset) {
    const Composition::Pixels shadow = BlurShadow(silhouette, style);
    ComPtr<ID2D1Bitmap> bitmap;
    const HRESULT hr =
        target->CreateBitmap(D2D1::SizeU(shadow.width, shadow.height), shadow.data.data(),
                             shadow.width * 4, BitmapProperties(), &bitmap);
    if (FAILED(hr))
        return hr;
    const D2D1_RECT_F place =
        D2D1::RectF(offset.x, offset.y, offset.x + shadow.width, offset.y + shadow.height);
    target->DrawBitmap(bitmap.Get(), &place, 1.0f, D2D1_BITMAP_INTERPOLATION_MODE_NEAREST_NEIGHBOR,
                       nullptr);
    return S_OK;
}

// Weights of the Gaussian at whole-pixel distances 0..3 sigma, summing to one over both sides.
std::vector<float> GaussianWeights(float sigma) {
    const int radius = static_cast<int>(std::ceil(3.0f * sigma));
    std::vector<float> weights(radius + 1);
    float sum = 0;
    for (int k = 0; k <= radius; ++k) {
        weights[k] = std::exp(-static_cast<float>(k * k) / (2.0f * sigma * sigma));
        sum += k == 0 ? weights[k] : 2 * weights[k];
    }
    for (float& w : weights)
        w /= sum;
    return weights;
}

} // namespace

ShadowStyle FrameShadowStyle(bool active) {
    return active ? ShadowStyle{6.0f, 0.2f} : ShadowStyle{1.83f, 0.25f};
}

Silhouette FilledSilhouette(int width, int height, const RECT& rect) {
    Silhouette silhouette;
    silhouette.width = std::max(width, 0);
    silhouette.height = std::max(height, 0);
    silhouette.stride = silhouette.width * 4;
    silhouette.pixels.assign(static_cast<size_t>(silhouette.stride) * silhouette.height, 0);
    const int left = std::clamp<int>(rect.left, 0, silhouette.width);
    const int right = std::clamp<int>(rect.right, left, silhouette.width);
    const int top = std::clamp<int>(rect.top, 0, silhouette.height);
    const int bottom = std::clamp<int>(rect.bottom, top, silhouette.height);
    const std::uint32_t black = 0xFF000000u;
    for (int y = top; y < bottom; ++y) {
        BYTE* row = silhouette.pixels.data() + static_cast<size_t>(y) * silhouette.stride;
        for (int x = left; x < right; ++x)
            std::memcpy(row + static_cast<size_t>(x) * 4, &black, 4);
    }
    return silhouette;
}

Composition::Pixels BlurShadow(const Silhouette& silhouette, ShadowStyle style) {
    const int w = silhouette.width;
    const int h = silhouette.height;
    const std::vector<float> weights = GaussianWeights(style.sigma);
    const int radius = static_cast<int>(weights.size()) - 1;

    // A silhouette is mostly rows alike (the whole of a rectangle's): alike rows blur alike, and
    // an output row whose every input row is alike the one above's comes out alike too. Such
    // rows are copied, not summed again; the sums made are those of the plain two passes, term
    // by term, so the picture is the same to the bit.

    // Across: each row of solid-or-not, blurred. sameAsAbove[y]: row y's result is row y - 1's.
    std::vector<float> across(static_cast<size_t>(w) * h, 0.0f);
    std::vector<char> empty(h, 1), sameAsAbove(h, 0);
    std::vector<float> solid(w), solidAbove;
    for (int y = 0; y < h; ++y) {
        const BYTE* row = silhouette.pixels.data() + static_cast<size_t>(y) * silhouette.stride;
        bool any = false;
        for (int x = 0; x < w; ++x) {
            solid[x] = row[x * 4 + 3] ? 1.0f : 0.0f;
            any = any || row[x * 4 + 3];
        }
        empty[y] = !any;
        sameAsAbove[y] = y > 0 && solid == solidAbove;
        solidAbove.swap(solid);
        solid.resize(w);
        if (!any)
            continue;
        float* out = across.data() + static_cast<size_t>(y) * w;
        if (sameAsAbove[y]) {
            std::copy(out - w, out, out);
            continue;
        }
        const float* in = solidAbove.data();
        for (int x = 0; x < w; ++x) {
            float sum = 0;
            for (int k = std::max(-radius, -x); k <= std::min(radius, w - 1 - x); ++k)
                sum += weights[std::abs(k)] * in[x + k];
            out[x] = sum;
        }
    }
    // changes[y]: how many of rows 0..y - 1 differ from the row above them.
    std::vector<int> changes(h + 1, 0);
    for (int y = 0; y < h; ++y)
        changes[y + 1] = changes[y] + (y > 0 && !sameAsAbove[y]);

    // Down: the columns, then the opacity. Adding an empty row's zeros changes no sum.
    Composition::Pixels shadow(w, h);
    for (int y = 0; y < h; ++y) {
        std::uint32_t* out = shadow.Row(y);
        const int first = std::max(-radius, -y);
        const int last = std::min(radius, h - 1 - y);
        // Row y - 1 summed the same number of rows, each alike the one now summed in its place.
        const bool wholeReach = first == -radius && last == radius && y - 1 - radius >= 0;
        if (wholeReach && changes[y + radius + 1] - changes[y - radius] == 0) {
            std::copy(out - w, out, out);
            continue;
        }
        for (int x = 0; x < w; ++x) {
            float sum = 0;
            for (int k = first; k <= last; ++k) {
                if (!empty[y + k])
                    sum += weights[std::abs(k)] * across[static_cast<size_t>(y + k) * w + x];
            }
            const long alpha = std::lround(std::min(1.0f, sum) * style.opacity * 255.0f);
            out[x] = static_cast<std::uint32_t>(alpha) << 24;
        }
    }
    return shadow;
}

HRESULT DrawFrameShadow(ID2D1RenderTarget* target, const Silhouette& silhouette, ShadowStyle style,
                        D2D1_POINT_2F offset) {
    // Effects need Direct2D 1.1's device context; a Direct2D 1.0 target takes the CPU's shadow.
    ComPtr<ID2D1DeviceContext> context;
    if (SUCCEEDED(target->QueryInterface(IID_PPV_ARGS(&context)))) {
        ComPtr<ID2D1Bitmap> bitmap;
        HRESULT hr = context->CreateBitmap(D2D1::SizeU(silhouette.width, silhouette.height),
                                           silhouette.pixels.data(), silhouette.stride,
                                           BitmapProperties(), &bitmap);
        if (FAILED(hr))
            return hr;
        hr = DrawWithEffects(context.Get(), bitmap.Get(), style, offset);
        if (SUCCEEDED(hr))
            return hr;
    }
    return DrawComputed(target, silhouette, style, offset);
}
