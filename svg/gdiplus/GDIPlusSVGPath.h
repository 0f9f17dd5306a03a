// A path of the SVG engine held as a GDI+ path.
#pragma once

#include "svg/SVGRenderer.h"
#include "svg/gdiplus/GDIPlusApi.h"

namespace SVGEngine {

class GDIPlusSVGPath : public Path {
  public:
    GDIPlusSVGPath();

    void AddRect(float x, float y, float width, float height) override;
    void AddRoundedRect(float x, float y, float width, float height, float r) override;
    void AddEllipse(float cx, float cy, float rx, float ry) override;
    void MoveTo(float x, float y) override;
    void LineTo(float x, float y) override;
    void CurveTo(float x1, float y1, float x2, float y2, float x, float y) override;
    void QuadTo(float qx, float qy, float x, float y) override;
    void ClosePath() override;

    // The GDI+ path; drawing clones it so the document's geometry never changes.
    GpPath* Handle() const { return path_.get(); }
    Status LastStatus() const { return status_.LastStatus(); }
    PointF CurrentPoint() const { return current_; }

  private:
    UniquePath path_;
    GDIPlusStatusKeeper status_;
    PointF current_{0.0f, 0.0f};
    PointF figureStart_{0.0f, 0.0f};
};

} // namespace SVGEngine
