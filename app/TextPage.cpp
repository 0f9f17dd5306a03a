#include "TextPage.h"

#include "DCompUtil.h"
#include "TextFormat.h"

#include <cwchar>

CTextPage::CTextPage(const RECT& titleRect, const RECT& bodyRect)
    : m_titleRect(titleRect), m_bodyRect(bodyRect) {}

void CTextPage::CreateResources(const RECT&) {
    IDWriteFactory* factory = m_host ? m_host->DWriteFactory() : nullptr;
    m_titleFormat.Reset();
    m_bodyFormat.Reset();
    CreateTextFormat(factory, m_dpi, kTitleWeight, m_titleSize, &m_titleFormat);
    CreateTextFormat(factory, m_dpi, kBodyWeight, m_bodySize, &m_bodyFormat);

    const int r = Scale(kCornerRadius);
    const int radii[8] = {r, r, r, r, r, r, r, r};
    SetClip({0, 0, PixelWidth(), PixelHeight()}, radii);
    Draw();
}

void CTextPage::Draw() {
    if (ID2D1RenderTarget* target = BeginFrame()) {
        target->Clear(ColorFromRGB(kPageColour));
        Microsoft::WRL::ComPtr<ID2D1SolidColorBrush> white;
        if (SUCCEEDED(
                target->CreateSolidColorBrush(D2D1::ColorF(1.0f, 1.0f, 1.0f, 1.0f), &white))) {
            if (m_titleFormat) {
                target->DrawText(m_caption, static_cast<UINT32>(std::wcslen(m_caption)),
                                 m_titleFormat.Get(), TextLayoutRect(m_dpi, m_titleRect),
                                 white.Get(), D2D1_DRAW_TEXT_OPTIONS_NONE,
                                 DWRITE_MEASURING_MODE_NATURAL);
            }
            white->SetOpacity(0.7f);
            if (m_bodyFormat) {
                target->DrawText(m_bodyText.c_str(),
                                 static_cast<UINT32>(std::wcslen(m_bodyText.c_str())),
                                 m_bodyFormat.Get(), TextLayoutRect(m_dpi, m_bodyRect), white.Get(),
                                 D2D1_DRAW_TEXT_OPTIONS_NONE, DWRITE_MEASURING_MODE_NATURAL);
            }
        }
        DrawContent(target);
    }
    EndFrame();
}

void CTextPage::DrawContent(ID2D1RenderTarget*) {}
