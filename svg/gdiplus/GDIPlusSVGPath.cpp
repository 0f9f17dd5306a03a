#include "svg/gdiplus/GDIPlusSVGPath.h"

#include <algorithm>

namespace SVGEngine {

GDIPlusSVGPath::GDIPlusSVGPath() {
    GpPath* path = nullptr;
    status_.Keep(GdipCreatePath(FillModeAlternate, &path));
    path_.reset(path);
}

void GDIPlusSVGPath::AddRect(float x, float y, float width, float height) {
    status_.Keep(GdipAddPathRectangle(path_.get(), x, y, width, height));
}

// Clockwise from the end of the top-left corner, as SVG draws a rect: each side ends r from
// its corner, where the quarter circle of that corner begins. The radius is at most half the
// shorter side, so the outline never leaves its box or runs back over itself.
void GDIPlusSVGPath::AddRoundedRect(float x, float y, float w, float h, float r) {
    r = std::min(r, std::min(w, h) / 2);
    if (!(r > 0)) {
        AddRect(x, y, w, h);
        return;
    }
    GpPath* p = path_.get();
    const float d = 2 * r;
    status_.Keep(GdipStartPathFigure(p));
    status_.Keep(GdipAddPathLine(p, x + r, y, x + w - r, y));
    status_.Keep(GdipAddPathArc(p, x + w - d, y, d, d, 270, 90));
    status_.Keep(GdipAddPathLine(p, x + w, y + r, x + w, y + h - r));
    status_.Keep(GdipAddPathArc(p, x + w - d, y + h - d, d, d, 0, 90));
    status_.Keep(GdipAddPathLine(p, x + w - r, y + h, x + r, y + h));
    status_.Keep(GdipAddPathArc(p, x, y + h - d, d, d, 90, 90));
    status_.Keep(GdipAddPathLine(p, x, y + h - r, x, y + r));
    status_.Keep(GdipAddPathArc(p, x, y, d, d, 180, 90));
    status_.Keep(GdipClosePathFigure(p));
}

void GDIPlusSVGPath::AddEllipse(float cx, float cy, float rx, float ry) {
    status_.Keep(GdipAddPathEllipse(path_.get(), cx - rx, cy - ry, 2 * rx, 2 * ry));
}

// A move starts a new figure, so an open subpath is never joined to the next one.
void GDIPlusSVGPath::MoveTo(float x, float y) {
    status_.Keep(GdipStartPathFigure(path_.get()));
    current_ = PointF(x, y);
    figureStart_ = current_;
}

void GDIPlusSVGPath::LineTo(float x, float y) {
    status_.Keep(GdipAddPathLine(path_.get(), current_.X, current_.Y, x, y));
    current_ = PointF(x, y);
}

void GDIPlusSVGPath::CurveTo(float x1, float y1, float x2, float y2, float x, float y) {
    status_.Keep(GdipAddPathBezier(path_.get(), current_.X, current_.Y, x1, y1, x2, y2, x, y));
    current_ = PointF(x, y);
}

void GDIPlusSVGPath::QuadTo(float qx, float qy, float x, float y) {
    const double factor = 0.6666666666666666;
    const float c1x = static_cast<float>(current_.X + factor * (qx - current_.X));
    const float c1y = static_cast<float>(current_.Y + factor * (qy - current_.Y));
    const float c2x = static_cast<float>(x + factor * (qx - x));
    const float c2y = static_cast<float>(y + factor * (qy - y));
    CurveTo(c1x, c1y, c2x, c2y, x, y);
}

// After a close the pen is back at the figure's start, where a following line begins.
void GDIPlusSVGPath::ClosePath() {
    status_.Keep(GdipClosePathFigure(path_.get()));
    current_ = figureStart_;
}

} // namespace SVGEngine
