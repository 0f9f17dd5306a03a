// An affine transform of the SVG engine held as a GDI+ matrix.
#pragma once

#include "svg/SVGRenderer.h"
#include "svg/gdiplus/GDIPlusApi.h"

namespace SVGEngine {

// Every operation post-multiplies (GDI+'s MatrixOrderPrepend): the new step applies to
// coordinates first, as an SVG transform list composes left to right.
class GDIPlusSVGTransform : public Transform {
  public:
    GDIPlusSVGTransform(float a, float b, float c, float d, float e, float f);

    void Set(float a, float b, float c, float d, float e, float f) override;
    void Rotate(float degrees) override;
    void Translate(float tx, float ty) override;
    void Scale(float sx, float sy) override;
    void Concat(const Transform& other) override;

    GpMatrix* Handle() const { return matrix_.get(); }
    Status LastStatus() const { return status_.LastStatus(); }

  private:
    UniqueMatrix matrix_;
    GDIPlusStatusKeeper status_;
};

} // namespace SVGEngine
