#include "FillRecolour.h"

#include <cstring>

std::string RecolourFirstFill(std::string svgText, const char* colour) {
    static const char kFillColour[] = "fill=\"#";
    const std::size_t at = svgText.find(kFillColour);
    if (at == std::string::npos)
        return svgText;
    // The seven characters from "#" on; a text cut short inside them still gets the
    // whole colour rather than a write past its end.
    const std::size_t hash = at + std::strlen(kFillColour) - 1;
    svgText.replace(hash, 7, colour, std::strlen(colour));
    return svgText;
}
