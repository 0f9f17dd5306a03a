#include "SceneComposer.h"

#include <algorithm>
#include <cmath>

namespace Composition {

namespace {

// c * k / 255 on all four channels at once, rounded.
inline std::uint32_t ScalePixel(std::uint32_t c, std::uint32_t k) {
    std::uint32_t rb = (c & 0x00FF00FFu) * k + 0x00800080u;
    rb = ((rb + ((rb >> 8) & 0x00FF00FFu)) >> 8) & 0x00FF00FFu;
    std::uint32_t ag = ((c >> 8) & 0x00FF00FFu) * k + 0x00800080u;
    ag = (ag + ((ag >> 8) & 0x00FF00FFu)) & 0xFF00FF00u;
    return rb | ag;
}

// Premultiplied source over destination.
inline std::uint32_t Over(std::uint32_t s, std::uint32_t d) {
    const std::uint32_t sa = s >> 24;
    if (sa == 255)
        return s;
    return s + ScalePixel(d, 255 - sa);
}

struct Span {
    int left, top, right, bottom;
    bool Empty() const { return right <= left || bottom <= top; }
};

Span Intersect(Span a, Span b) {
    return {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
            std::min(a.bottom, b.bottom)};
}

Span CanvasSpan(const Canvas& c) {
    return {c.originX, c.originY, c.originX + c.width, c.originY + c.height};
}

Span ClipSpan(const ClipMask& clip) {
    return {clip.Left(), clip.Top(), clip.Left() + clip.Width(), clip.Top() + clip.Height()};
}

// Draws a picture with its top-left corner at (x, y), faded by alpha (0..255) and the clip.
void Blend(const Canvas& canvas, const Pixels& picture, int x, int y, std::uint32_t alpha,
           const ClipMask* clip) {
    Span area = Intersect(CanvasSpan(canvas), {x, y, x + picture.width, y + picture.height});
    if (clip)
        area = Intersect(area, ClipSpan(*clip));
    if (area.Empty() || alpha == 0)
        return;
    const int count = area.right - area.left;
    for (int row = area.top; row < area.bottom; ++row) {
        const std::uint32_t* src = picture.Row(row - y) + (area.left - x);
        std::uint32_t* dst = canvas.pixels +
                             static_cast<size_t>(row - canvas.originY) * canvas.width +
                             (area.left - canvas.originX);
        if (!clip && alpha == 255) {
            for (int i = 0; i < count; ++i) {
                const std::uint32_t s = src[i];
                if (s >= 0xFF000000u)
                    dst[i] = s;
                else if (s != 0)
                    dst[i] = Over(s, dst[i]);
            }
            continue;
        }
        const std::uint8_t* coverage = clip ? clip->Row(row) + (area.left - clip->Left()) : nullptr;
        for (int i = 0; i < count; ++i) {
            std::uint32_t k = alpha;
            if (coverage)
                k = (k * coverage[i] + 127) / 255;
            if (k == 0 || src[i] == 0)
                continue;
            dst[i] = Over(k == 255 ? src[i] : ScalePixel(src[i], k), dst[i]);
        }
    }
}

} // namespace

void ComposeLayer(const Canvas& canvas, const SceneLayer& layer, std::vector<PageUse>* pagesUsed) {
    const std::uint32_t alpha =
        static_cast<std::uint32_t>(std::lround(std::clamp(layer.opacity, 0.0f, 1.0f) * 255.0f));
    if (alpha == 0)
        return;
    std::shared_ptr<const Pixels> content = layer.picture;
    if (layer.page) {
        std::uint64_t version = 0;
        content = layer.page->Current(&version);
        if (pagesUsed)
            pagesUsed->push_back({layer.page.get(), version});
    }
    const ClipMask* clip = layer.clip.get();

    // A plain layer, or a faded or clipped one without children, draws straight onto the canvas.
    if ((alpha == 255 && !clip) || layer.children.empty()) {
        if (content)
            Blend(canvas, *content, layer.x, layer.y, alpha, clip);
        if (alpha == 255 && !clip) {
            for (const SceneLayer& child : layer.children)
                ComposeLayer(canvas, child, pagesUsed);
        }
        return;
    }

    // Opacity and clip apply to the layer and its children as one picture.
    Span area = CanvasSpan(canvas);
    if (clip)
        area = Intersect(area, ClipSpan(*clip));
    if (area.Empty())
        return;
    Pixels group(area.right - area.left, area.bottom - area.top);
    const Canvas groupCanvas{group.data.data(), group.width, group.height, area.left, area.top};
    if (content)
        Blend(groupCanvas, *content, layer.x, layer.y, 255, nullptr);
    for (const SceneLayer& child : layer.children)
        ComposeLayer(groupCanvas, child, pagesUsed);
    Blend(canvas, group, area.left, area.top, alpha, clip);
}

} // namespace Composition
