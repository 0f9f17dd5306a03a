// The fuzz target's renderer: the engine tests' recording renderer (counting only, so
// memory stays flat), plus checks that abort the run at once when the engine breaks a
// promise of the renderer interface: unbalanced Save and Restore, an object made by
// another renderer, a style value outside its range.
#pragma once

#include "RecordingRenderer.h"

namespace fuzz {

class CheckingRenderer : public SVGTest::RecordingRenderer {
  public:
    CheckingRenderer() { keepCalls = false; }

    void Save(const SVGEngine::GraphicStyle& style) override;
    void Restore() override;
    void DrawPath(const SVGEngine::Path& path, const SVGEngine::GraphicStyle& style,
                  const SVGEngine::FillStyle& fill, const SVGEngine::StrokeStyle& stroke) override;
    void DrawImage(const SVGEngine::ImageData& image, const SVGEngine::GraphicStyle& style,
                   const SVGEngine::RectF& clipArea, const SVGEngine::RectF& fillArea) override;

    // Called after each render call: every Save must have been matched by a Restore.
    void ExpectBalanced() const;
};

} // namespace fuzz
