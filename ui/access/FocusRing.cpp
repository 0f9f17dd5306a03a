#include "FocusRing.h"

#include "ui/DPI.h"

#include <wrl/client.h>

#include <algorithm>

namespace {

// A rounded rectangle as one closed figure of the path.
void AddRoundedRect(Gdiplus::GpPath* path, const D2D1_RECT_F& r, float radius) {
    using namespace SVGEngine;
    const float d = radius * 2.0f;
    if (d <= 0.0f) {
        GdipAddPathRectangle(path, r.left, r.top, r.right - r.left, r.bottom - r.top);
        return;
    }
    GdipStartPathFigure(path);
    GdipAddPathArc(path, r.left, r.top, d, d, 180.0f, 90.0f);
    GdipAddPathArc(path, r.right - d, r.top, d, d, 270.0f, 90.0f);
    GdipAddPathArc(path, r.right - d, r.bottom - d, d, d, 0.0f, 90.0f);
    GdipAddPathArc(path, r.left, r.bottom - d, d, d, 90.0f, 90.0f);
    GdipClosePathFigure(path);
}

D2D1_RECT_F Inset(const D2D1_RECT_F& r, float by) {
    return D2D1::RectF(r.left + by, r.top + by, r.right - by, r.bottom - by);
}

} // namespace

FocusRingShape FocusRingIn(int pixelWidth, int pixelHeight, const CDPI* dpi, int designRadius) {
    const auto scale = [dpi](int value) { return dpi ? dpi->Scale(value) : value; };
    const float inset = static_cast<float>(scale(1));
    FocusRingShape ring{};
    ring.lineWidth = static_cast<float>(std::max(1, scale(1)));
    ring.outerEdge.rect = D2D1::RectF(inset, inset, static_cast<float>(pixelWidth) - inset,
                                      static_cast<float>(pixelHeight) - inset);
    // Concentric with the shape's corners, and never more than half the shorter side.
    const float halfShorterSide = std::min(ring.outerEdge.rect.right - ring.outerEdge.rect.left,
                                           ring.outerEdge.rect.bottom - ring.outerEdge.rect.top) /
                                  2.0f;
    const float radius = std::clamp(static_cast<float>(scale(designRadius)) - inset, 0.0f,
                                    std::max(halfShorterSide, 0.0f));
    ring.outerEdge.radiusX = ring.outerEdge.radiusY = radius;
    return ring;
}

void DrawFocusRing(Gdiplus::GpGraphics* graphics, const FocusRingShape& ring) {
    using namespace SVGEngine;
    const D2D1_RECT_F inner = Inset(ring.outerEdge.rect, ring.lineWidth);
    if (inner.right <= inner.left || inner.bottom <= inner.top)
        return;
    GpPath* rawPath = nullptr;
    if (GdipCreatePath(FillModeAlternate, &rawPath) != Ok)
        return;
    const UniquePath path(rawPath);
    GpSolidFill* rawBrush = nullptr;
    if (GdipCreateSolidFill(0xFF000000 | kFocusRingColour, &rawBrush) != Ok)
        return;
    const UniqueBrush brush(rawBrush);
    AddRoundedRect(rawPath, ring.outerEdge.rect, ring.outerEdge.radiusX);
    AddRoundedRect(rawPath, inner, std::max(ring.outerEdge.radiusX - ring.lineWidth, 0.0f));
    GdipFillPath(graphics, rawBrush, rawPath);
}

void DrawFocusRing(ID2D1RenderTarget* target, const FocusRingShape& ring) {
    Microsoft::WRL::ComPtr<ID2D1SolidColorBrush> brush;
    if (FAILED(target->CreateSolidColorBrush(D2D1::ColorF(kFocusRingColour), &brush)))
        return;
    const float half = ring.lineWidth / 2.0f;
    const D2D1_ROUNDED_RECT middle = D2D1::RoundedRect(
        Inset(ring.outerEdge.rect, half), std::max(ring.outerEdge.radiusX - half, 0.0f),
        std::max(ring.outerEdge.radiusY - half, 0.0f));
    target->DrawRoundedRectangle(middle, brush.Get(), ring.lineWidth);
}

namespace {

class CFocusRingPainter : public IFocusRingPainter {
  public:
    void Paint(Gdiplus::GpGraphics* graphics, int pixelWidth, int pixelHeight, const CDPI* dpi,
               int designRadius) const override {
        DrawFocusRing(graphics, FocusRingIn(pixelWidth, pixelHeight, dpi, designRadius));
    }
    void Paint(ID2D1RenderTarget* target, int pixelWidth, int pixelHeight, const CDPI* dpi,
               int designRadius) const override {
        DrawFocusRing(target, FocusRingIn(pixelWidth, pixelHeight, dpi, designRadius));
    }
};

} // namespace

const IFocusRingPainter& FocusRingPainter() {
    static const CFocusRingPainter painter;
    return painter;
}
