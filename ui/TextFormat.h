#pragma once
// Text of the composited dialogs: DirectWrite formats in the system's Chinese UI font,
// colours given as 0xRRGGBB, and layout rectangles given in design units. Formats keep
// DirectWrite's defaults otherwise: text starts at the top-left of its rectangle and wraps
// at word boundaries inside it.
#include <windows.h>
#include <d2d1.h>
#include <dwrite.h>

class CDPI;

// Weights of the texts: button captions, page titles, page messages and status lines.
constexpr DWRITE_FONT_WEIGHT kCaptionWeight = DWRITE_FONT_WEIGHT_SEMI_BOLD;
constexpr DWRITE_FONT_WEIGHT kTitleWeight = DWRITE_FONT_WEIGHT_MEDIUM;
constexpr DWRITE_FONT_WEIGHT kBodyWeight = DWRITE_FONT_WEIGHT_NORMAL;

// "微软雅黑" (DirectWrite's fallback where it is missing), normal style and stretch,
// locale "zh-cn", at the scaled design size. Leaves *format null on failure.
HRESULT CreateTextFormat(IDWriteFactory* factory, const CDPI* dpi, DWRITE_FONT_WEIGHT weight,
                         int designSize, IDWriteTextFormat** format);

// 0xRRGGBB, each channel divided by 255.
D2D1_COLOR_F ColorFromRGB(DWORD rgb, float alpha = 1.0f);

// A text's layout rectangle in pixels from its design rectangle: left, top, width and
// height are scaled one by one, and right and bottom follow from them.
D2D1_RECT_F TextLayoutRect(const CDPI* dpi, const RECT& designRect);
