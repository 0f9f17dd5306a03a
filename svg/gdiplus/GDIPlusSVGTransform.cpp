#include "svg/gdiplus/GDIPlusSVGTransform.h"

namespace SVGEngine {

GDIPlusSVGTransform::GDIPlusSVGTransform(float a, float b, float c, float d, float e, float f) {
    GpMatrix* matrix = nullptr;
    status_.Keep(GdipCreateMatrix(&matrix));
    matrix_.reset(matrix);
    Set(a, b, c, d, e, f);
}

void GDIPlusSVGTransform::Set(float a, float b, float c, float d, float e, float f) {
    status_.Keep(GdipSetMatrixElements(matrix_.get(), a, b, c, d, e, f));
}

void GDIPlusSVGTransform::Rotate(float degrees) {
    status_.Keep(GdipRotateMatrix(matrix_.get(), degrees, MatrixOrderPrepend));
}

void GDIPlusSVGTransform::Translate(float tx, float ty) {
    status_.Keep(GdipTranslateMatrix(matrix_.get(), tx, ty, MatrixOrderPrepend));
}

void GDIPlusSVGTransform::Scale(float sx, float sy) {
    status_.Keep(GdipScaleMatrix(matrix_.get(), sx, sy, MatrixOrderPrepend));
}

// Only matrices made by this renderer can be combined; anything else is a programming error.
void GDIPlusSVGTransform::Concat(const Transform& other) {
    const auto& gdiplusOther = dynamic_cast<const GDIPlusSVGTransform&>(other);
    status_.Keep(GdipMultiplyMatrix(matrix_.get(), gdiplusOther.Handle(), MatrixOrderPrepend));
}

} // namespace SVGEngine
