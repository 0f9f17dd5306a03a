#include "FocusRing.h"

#include "DPI.h"

#include <wrl/client.h>

#include <algorithm>

FocusRingShape FocusRingIn(int pixelWidth, int pixelHeight, const CDPI* dpi, int designRadius) {
    const auto scale = [dpi](int value) { return dpi ? dpi->Scale(value) : value; };
    const float width = static_cast<float>(std::max(1, scale(1)));
    const float inset = static_cast<float>(scale(1)) + width / 2.0f;
    FocusRingShape ring{};
    ring.lineWidth = width;
    ring.centreLine.rect = D2D1::RectF(inset, inset, static_cast<float>(pixelWidth) - inset,
                                       static_cast<float>(pixelHeight) - inset);
    // Concentric with the shape's corners, and never more than half the ring's shorter side.
    const float halfShorterSide = std::min(ring.centreLine.rect.right - ring.centreLine.rect.left,
                                           ring.centreLine.rect.bottom - ring.centreLine.rect.top) /
                                  2.0f;
    const float radius = std::clamp(static_cast<float>(scale(designRadius)) - inset, 0.0f,
                                    std::max(halfShorterSide, 0.0f));
    ring.centreLine.radiusX = ring.centreLine.radiusY = radius;
    return ring;
}

void DrawFocusRing(Gdiplus::GpGraphics* graphics, const FocusRingShape& ring) {
    using namespace SVGEngine;
    const D2D1_RECT_F& r = ring.centreLine.rect;
    if (r.right <= r.left || r.bottom <= r.top)
        return;
    GpPath* rawPath = nullptr;
    GpPen* rawPen = nullptr;
    if (GdipCreatePath(FillModeAlternate, &rawPath) != Ok)
        return;
    const UniquePath path(rawPath);
    if (GdipCreatePen1(0xFF000000 | kFocusRingColour, ring.lineWidth, UnitPixel, &rawPen) != Ok)
        return;
    const UniquePen pen(rawPen);
    const float d = ring.centreLine.radiusX * 2.0f;
    if (d <= 0.0f) {
        GdipAddPathRectangle(rawPath, r.left, r.top, r.right - r.left, r.bottom - r.top);
    } else {
        GdipAddPathArc(rawPath, r.left, r.top, d, d, 180.0f, 90.0f);
        GdipAddPathArc(rawPath, r.right - d, r.top, d, d, 270.0f, 90.0f);
        GdipAddPathArc(rawPath, r.right - d, r.bottom - d, d, d, 0.0f, 90.0f);
        GdipAddPathArc(rawPath, r.left, r.bottom - d, d, d, 90.0f, 90.0f);
        GdipClosePathFigure(rawPath);
    }
    GdipDrawPath(graphics, rawPen, rawPath);
}

void DrawFocusRing(ID2D1RenderTarget* target, const FocusRingShape& ring) {
    Microsoft::WRL::ComPtr<ID2D1SolidColorBrush> brush;
    if (FAILED(target->CreateSolidColorBrush(D2D1::ColorF(kFocusRingColour), &brush)))
        return;
    target->DrawRoundedRectangle(ring.centreLine, brush.Get(), ring.lineWidth);
}
