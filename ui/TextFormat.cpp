#include "TextFormat.h"

#include "DPI.h"

namespace {

int Scaled(const CDPI* dpi, int value) {
    return dpi ? dpi->Scale(value) : value;
}

} // namespace

HRESULT CreateTextFormat(IDWriteFactory* factory, const CDPI* dpi, DWRITE_FONT_WEIGHT weight,
                         int designSize, IDWriteTextFormat** format) {
    *format = nullptr;
    if (!factory)
        return E_POINTER;
    return factory->CreateTextFormat(L"微软雅黑", nullptr, weight, DWRITE_FONT_STYLE_NORMAL,
                                     DWRITE_FONT_STRETCH_NORMAL,
                                     static_cast<float>(Scaled(dpi, designSize)), L"zh-cn", format);
}

D2D1_COLOR_F ColorFromRGB(DWORD rgb, float alpha) {
    return D2D1::ColorF(static_cast<float>((rgb >> 16) & 0xFF) / 255.0f,
                        static_cast<float>((rgb >> 8) & 0xFF) / 255.0f,
                        static_cast<float>(rgb & 0xFF) / 255.0f, alpha);
}

D2D1_RECT_F TextLayoutRect(const CDPI* dpi, const RECT& designRect) {
    const int left = Scaled(dpi, designRect.left);
    const int top = Scaled(dpi, designRect.top);
    const int width = Scaled(dpi, designRect.right - designRect.left);
    const int height = Scaled(dpi, designRect.bottom - designRect.top);
    return D2D1::RectF(static_cast<float>(left), static_cast<float>(top),
                       static_cast<float>(left + width), static_cast<float>(top + height));
}
