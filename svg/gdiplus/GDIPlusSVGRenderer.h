// The SVG engine's renderer on GDI+: draws documents onto a GDI+ drawing context.
#pragma once

#include "svg/SVGRenderer.h"
#include "svg/gdiplus/GDIPlusApi.h"

#include <vector>

namespace SVGEngine {

class GDIPlusSVGRenderer : public SVGRenderer {
  public:
    GDIPlusSVGRenderer();

    // The caller's drawing context; not owned, and kept alive by the caller while drawing.
    void SetTarget(GpGraphics* target) { target_ = target; }
    GpGraphics* Target() const { return target_; }

    std::unique_ptr<ImageData> CreateImageData(std::string_view base64,
                                               ImageEncoding encoding) override;
    std::unique_ptr<Path> CreatePath() override;
    std::unique_ptr<Transform> CreateTransform(float a, float b, float c, float d, float e,
                                               float f) override;

    // Nesting levels compose: the style's transform applies inside the one in effect, its
    // clip path narrows the clip, its opacity multiplies the current opacity.
    void Save(const GraphicStyle& style) override;
    void Restore() override;
    void DrawPath(const Path& path, const GraphicStyle& style, const FillStyle& fill,
                  const StrokeStyle& stroke) override;
    void DrawImage(const ImageData& image, const GraphicStyle& style, const RectF& clipArea,
                   const RectF& fillArea) override;

    float CurrentOpacity() const { return currentOpacity_; }
    std::size_t OpenLevels() const { return savedStates_.size(); }
    Status LastStatus() const { return status_.LastStatus(); }

  private:
    struct Level {
        GraphicsState state;
        bool hidden;
    };

    void PushLevel(const GraphicStyle& style);
    void PopLevel();
    // Puts an element's own transform and clip path in effect on the target.
    void ApplyStyle(const GraphicStyle& style);
    bool InsideHiddenLevel() const { return hiddenLevels_ > 0; }
    void Fill(GpPath* shape, const GraphicStyle& style, const FillStyle& fill,
              const StrokeStyle& stroke);
    void Stroke(GpPath* shape, const GraphicStyle& style, const StrokeStyle& stroke);

    GpGraphics* target_ = nullptr;
    std::vector<Level> savedStates_;
    std::vector<float> opacityStack_{1.0f};
    float currentOpacity_ = 1.0f;
    int hiddenLevels_ = 0;
    GDIPlusStatusKeeper status_;
};

} // namespace SVGEngine
