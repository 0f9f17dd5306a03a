#pragma once
// The visual tree of the software compositor: visuals with offsets, content, an opacity group
// and a rounded clip, as DirectComposition keeps them. Changes are seen at the next commit,
// which takes a snapshot of the tree (SceneLayer) for the compositor. UI thread only.
#include "Composition.h"
#include "SceneComposer.h"

#include <memory>
#include <vector>

namespace Composition {

class SoftwareSurface;
class SoftwareSwapChain;

class SoftwareEffectGroup : public EffectGroup {
  public:
    HRESULT SetOpacity(float opacity) override {
        opacity_ = opacity;
        return S_OK;
    }
    float Opacity() const { return opacity_; }

  private:
    float opacity_ = 1.0f;
};

class SoftwareRectangleClip : public RectangleClip {
  public:
    HRESULT SetEdges(float left, float top, float right, float bottom) override;
    HRESULT SetRadii(const float radii[8]) override;
    // The clip's mask for a visual whose origin lies at (x, y) of the frame; kept while
    // neither the clip nor the place changes.
    std::shared_ptr<const ClipMask> MaskAt(int x, int y) const;

  private:
    RoundedRect rect_;
    mutable std::shared_ptr<const ClipMask> mask_;
    mutable int maskX_ = 0;
    mutable int maskY_ = 0;
};

class SoftwareVisual : public Visual {
  public:
    ~SoftwareVisual() override;

    HRESULT SetOffsetX(float x) override;
    HRESULT SetOffsetY(float y) override;
    HRESULT AddVisual(const std::shared_ptr<Visual>& child) override;
    HRESULT RemoveVisual(const std::shared_ptr<Visual>& child) override;
    HRESULT SetContent(const std::shared_ptr<Surface>& surface) override;
    HRESULT SetContent(const std::shared_ptr<SwapChain>& swapChain) override;
    HRESULT SetEffect(const std::shared_ptr<EffectGroup>& effect) override;
    HRESULT SetClip(const std::shared_ptr<RectangleClip>& clip) override;

    // The visual and its children as they are now, the parent's origin at (originX, originY).
    SceneLayer Snapshot(float originX, float originY) const;

  private:
    bool IsAncestorOrSelf(const SoftwareVisual* visual) const;

    float x_ = 0;
    float y_ = 0;
    SoftwareVisual* parent_ = nullptr;
    std::vector<std::shared_ptr<SoftwareVisual>> children_;
    std::shared_ptr<SoftwareSurface> surface_;
    std::shared_ptr<SoftwareSwapChain> swapChain_;
    std::shared_ptr<SoftwareEffectGroup> effect_;
    std::shared_ptr<SoftwareRectangleClip> clip_;
};

} // namespace Composition
