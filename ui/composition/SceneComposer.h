#pragma once
// The software compositor's picture of a committed visual tree, and the code that composes it
// into a frame: premultiplied source-over, layer by layer, with offsets, group opacity and
// rounded clips.
#include "Pixels.h"
#include "PresentedPage.h"
#include "RoundedClipMask.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace Composition {

// One visual as it was at the commit, in frame coordinates.
struct SceneLayer {
    int x = 0;
    int y = 0;
    std::shared_ptr<const Pixels> picture;     // a surface's content, or null
    std::shared_ptr<const PresentedPage> page; // a swap chain's content, or null
    float opacity = 1.0f;                      // of the layer and its children together
    std::shared_ptr<const ClipMask> clip;      // of the layer and its children, or null
    std::vector<SceneLayer> children;
};

// A frame in memory: packed premultiplied rows; (originX, originY) is the frame coordinate of
// its top-left pixel.
struct Canvas {
    std::uint32_t* pixels = nullptr;
    int width = 0;
    int height = 0;
    int originX = 0;
    int originY = 0;
};

// The swap-chain pages a composition showed, to tell later whether a newer one was presented.
struct PageUse {
    const PresentedPage* page;
    std::uint64_t version;
};

// Composes the layer and its children over what the canvas holds.
void ComposeLayer(const Canvas& canvas, const SceneLayer& layer, std::vector<PageUse>* pagesUsed);

} // namespace Composition
