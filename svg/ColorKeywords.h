// The colour keyword table: keyword, its length and its colour.
#pragma once

#include "SVGRenderer.h"

#include <cstddef>

namespace SVGEngine {

struct ColorKeyword {
    const char* name;
    std::size_t length;
    Color color;
};

// 148 rows sorted alphabetically.
const ColorKeyword* ColorKeywordsBegin();
const ColorKeyword* ColorKeywordsEnd();

} // namespace SVGEngine
