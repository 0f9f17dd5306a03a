// An embedded raster image decoded by GDI+.
#pragma once

#include "svg/SVGRenderer.h"
#include "svg/gdiplus/GDIPlusApi.h"

#include <string_view>

namespace SVGEngine {

class GDIPlusSVGImageData : public ImageData {
  public:
    // Decodes base64 text (PNG or JPEG, told apart by the bytes). On failure the object holds
    // no image and reports a size of 0 x 0.
    explicit GDIPlusSVGImageData(std::string_view base64Text);
    ~GDIPlusSVGImageData() override;

    float Width() const override;
    float Height() const override;

    GpImage* Handle() const { return image_.get(); }
    Status LastStatus() const { return status_.LastStatus(); }

  private:
    // GDI+ may read its source stream after loading, so the encoded bytes live as long as the
    // image. Declared first so it is released after the image.
    UniqueGlobal bytes_;
    UniqueImage image_;
    mutable GDIPlusStatusKeeper status_;
};

} // namespace SVGEngine
