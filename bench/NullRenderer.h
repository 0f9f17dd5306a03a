// A renderer that draws nothing and whose factory objects hold no data, so a load
// benchmark measures the engine's own parsing and building, not a renderer's storage.
#pragma once

#include "SVGRenderer.h"

namespace bench {

class NullRenderer : public SVGEngine::SVGRenderer {
  public:
    std::unique_ptr<SVGEngine::ImageData> CreateImageData(std::string_view base64,
                                                          SVGEngine::ImageEncoding) override;
    std::unique_ptr<SVGEngine::Path> CreatePath() override;
    std::unique_ptr<SVGEngine::Transform> CreateTransform(float a, float b, float c, float d,
                                                          float e, float f) override;
    void Save(const SVGEngine::GraphicStyle&) override {}
    void Restore() override {}
    void DrawPath(const SVGEngine::Path&, const SVGEngine::GraphicStyle&,
                  const SVGEngine::FillStyle&, const SVGEngine::StrokeStyle&) override {}
    void DrawImage(const SVGEngine::ImageData&, const SVGEngine::GraphicStyle&,
                   const SVGEngine::RectF&, const SVGEngine::RectF&) override {}
};

} // namespace bench
