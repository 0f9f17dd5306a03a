#include "DXGIButton.h"

#include "DCompUtil.h"
#include "FocusRingPainter.h"
#include "TextFormat.h"

#include <cwchar>

CDXGIButton::CDXGIButton(int value) : m_value(value) {
    m_passThrough = FALSE;
    m_colours[1] = 0x2F3131;
}

void CDXGIButton::CreateResources(const RECT&) {
    m_textFormat.Reset();
    CreateTextFormat(m_host ? m_host->DWriteFactory() : nullptr, m_dpi, kCaptionWeight, m_fontSize,
                     &m_textFormat);
    Draw();
}

void CDXGIButton::UpdateState() {
    Draw();
}

D2D1_COLOR_F CDXGIButton::CaptionColour() const {
    if (m_state & kDisabled)
        return D2D1::ColorF(0, 0.5f);
    if (m_state & kPushedBits)
        return ColorFromRGB(m_pushedColour);
    if (m_state & kHover)
        return ColorFromRGB(m_hoverColour);
    return ColorFromRGB(m_normalColour);
}

void CDXGIButton::Draw() {
    if (ID2D1RenderTarget* target = BeginFrame()) {
        target->Clear(ColorFromRGB(m_colours[1]));
        Microsoft::WRL::ComPtr<ID2D1SolidColorBrush> brush;
        if (m_textFormat && SUCCEEDED(target->CreateSolidColorBrush(CaptionColour(), &brush))) {
            const D2D1_RECT_F layout = D2D1::RectF(0.0f, 0.0f, static_cast<float>(PixelWidth()),
                                                   static_cast<float>(PixelHeight()));
            target->DrawText(m_caption, static_cast<UINT32>(std::wcslen(m_caption)),
                             m_textFormat.Get(), layout, brush.Get(), D2D1_DRAW_TEXT_OPTIONS_NONE,
                             DWRITE_MEASURING_MODE_NATURAL);
        }
        if (m_focusRing && m_focusRingPainter)
            m_focusRingPainter->Paint(target, PixelWidth(), PixelHeight(), m_dpi,
                                      m_focusRingRadius);
    }
    EndFrame();
}
