#include "SoftwareVisual.h"

#include "SoftwareSurface.h"
#include "SoftwareSwapChain.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace Composition {

HRESULT SoftwareRectangleClip::SetEdges(float left, float top, float right, float bottom) {
    rect_.left = left;
    rect_.top = top;
    rect_.right = right;
    rect_.bottom = bottom;
    mask_.reset();
    return S_OK;
}

HRESULT SoftwareRectangleClip::SetRadii(const float radii[8]) {
    std::memcpy(rect_.radii, radii, sizeof(rect_.radii));
    mask_.reset();
    return S_OK;
}

std::shared_ptr<const ClipMask> SoftwareRectangleClip::MaskAt(int x, int y) const {
    if (!mask_ || maskX_ != x || maskY_ != y) {
        RoundedRect placed = rect_;
        placed.left += x;
        placed.right += x;
        placed.top += y;
        placed.bottom += y;
        mask_ = std::make_shared<ClipMask>(placed);
        maskX_ = x;
        maskY_ = y;
    }
    return mask_;
}

SoftwareVisual::~SoftwareVisual() {
    for (const auto& child : children_)
        child->parent_ = nullptr;
}

HRESULT SoftwareVisual::SetOffsetX(float x) {
    x_ = x;
    return S_OK;
}

HRESULT SoftwareVisual::SetOffsetY(float y) {
    y_ = y;
    return S_OK;
}

bool SoftwareVisual::IsAncestorOrSelf(const SoftwareVisual* visual) const {
    for (const SoftwareVisual* v = this; v; v = v->parent_) {
        if (v == visual)
            return true;
    }
    return false;
}

HRESULT SoftwareVisual::AddVisual(const std::shared_ptr<Visual>& child) {
    auto visual = std::dynamic_pointer_cast<SoftwareVisual>(child);
    // A visual has one parent, and a tree has no loops.
    if (!visual || visual->parent_ || IsAncestorOrSelf(visual.get()))
        return E_INVALIDARG;
    visual->parent_ = this;
    children_.push_back(std::move(visual));
    return S_OK;
}

HRESULT SoftwareVisual::RemoveVisual(const std::shared_ptr<Visual>& child) {
    const auto found = std::find(children_.begin(), children_.end(), child);
    if (found == children_.end())
        return E_INVALIDARG;
    (*found)->parent_ = nullptr;
    children_.erase(found);
    return S_OK;
}

HRESULT SoftwareVisual::SetContent(const std::shared_ptr<Surface>& surface) {
    auto own = std::dynamic_pointer_cast<SoftwareSurface>(surface);
    if (surface && !own)
        return E_INVALIDARG;
    surface_ = std::move(own);
    swapChain_.reset();
    return S_OK;
}

HRESULT SoftwareVisual::SetContent(const std::shared_ptr<SwapChain>& swapChain) {
    auto own = std::dynamic_pointer_cast<SoftwareSwapChain>(swapChain);
    if (swapChain && !own)
        return E_INVALIDARG;
    swapChain_ = std::move(own);
    surface_.reset();
    return S_OK;
}

HRESULT SoftwareVisual::SetEffect(const std::shared_ptr<EffectGroup>& effect) {
    auto own = std::dynamic_pointer_cast<SoftwareEffectGroup>(effect);
    if (effect && !own)
        return E_INVALIDARG;
    effect_ = std::move(own);
    return S_OK;
}

HRESULT SoftwareVisual::SetClip(const std::shared_ptr<RectangleClip>& clip) {
    auto own = std::dynamic_pointer_cast<SoftwareRectangleClip>(clip);
    if (clip && !own)
        return E_INVALIDARG;
    clip_ = std::move(own);
    return S_OK;
}

SceneLayer SoftwareVisual::Snapshot(float originX, float originY) const {
    const float x = originX + x_;
    const float y = originY + y_;
    SceneLayer layer;
    // The compositor places pictures on whole pixels.
    layer.x = static_cast<int>(std::lround(x));
    layer.y = static_cast<int>(std::lround(y));
    if (surface_)
        layer.picture = surface_->Picture();
    if (swapChain_)
        layer.page = swapChain_->Shown();
    if (effect_)
        layer.opacity = effect_->Opacity();
    if (clip_)
        layer.clip = clip_->MaskAt(layer.x, layer.y);
    layer.children.reserve(children_.size());
    for (const auto& child : children_)
        layer.children.push_back(child->Snapshot(x, y));
    return layer;
}

} // namespace Composition
