// What every fuzz target does with a document it managed to create: draw it through each
// render entry point, checking the renderer's contract after every call.
#pragma once

#include "CheckingRenderer.h"
#include "SVGDocument.h"

#include <string_view>

namespace fuzz {

// Draws `document` every way the engine offers: whole and by id (the ids and custom
// properties `text` names, plus some it does not), fitted to sizes including zero, mapped
// between rectangles, with and without a colour map.
void DrawEveryWay(const SVGEngine::SVGDocument& document, CheckingRenderer& renderer,
                  std::string_view text);

} // namespace fuzz
