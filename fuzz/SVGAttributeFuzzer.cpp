// libFuzzer target for the attribute value readers: the first input byte picks one of a
// few small documents, the rest becomes the value of every attribute marked in it
// (escaped, so the XML stays well-formed and the engine sees the bytes unchanged). This
// reaches numbers, lengths, lists, colours, paints, transforms, path data, points, stops,
// image placement and references far more often than whole random documents do.
#include "FuzzDrawing.h"

#include <cstddef>
#include <cstdint>
#include <exception>
#include <string>

namespace {

// '\1' marks where the value goes.
const char* const kTemplates[] = {
    // viewBox and size of the root, and of a symbol
    "<svg viewBox=\"\1\" width=\"\1\" height=\"\1\"><rect x=\"10%\" width=\"50%\" height=\"50%\""
    " stroke=\"red\" stroke-width=\"5%\"/><symbol id=\"s\" viewBox=\"\1\"><rect width=\"2\""
    " height=\"2\"/></symbol><circle r=\"10%\"/></svg>",
    // path data
    "<svg viewBox=\"0 0 100 100\"><path id=\"p\" d=\"\1\" stroke=\"red\"/></svg>",
    // transform lists
    "<svg viewBox=\"0 0 100 100\"><g id=\"g\" transform=\"\1\"><rect width=\"10\" height=\"10\""
    " transform=\"\1\"/></g></svg>",
    // paints and colours
    "<svg viewBox=\"0 0 100 100\"><linearGradient id=\"a\"><stop offset=\"0\" stop-color=\"red\"/>"
    "<stop offset=\"1\" stop-color=\"blue\"/></linearGradient><radialGradient id=\"b\"><stop"
    " stop-color=\"lime\"/></radialGradient><linearGradient id=\"c\"/><rect id=\"r\" width=\"10\""
    " height=\"10\" fill=\"\1\" stroke=\"\1\" color=\"\1\"/></svg>",
    // gradient geometry and stops
    "<svg xmlns:xlink=\"http://www.w3.org/1999/xlink\"><linearGradient id=\"a\" x1=\"\1\""
    " y1=\"\1\" x2=\"\1\" y2=\"\1\" spreadMethod=\"\1\" gradientTransform=\"\1\"><stop"
    " offset=\"\1\" stop-color=\"\1\" stop-opacity=\"\1\" color=\"\1\"/><stop offset=\"\1\""
    " stop-color=\"\1\"/></linearGradient><radialGradient id=\"b\" xlink:href=\"#a\" cx=\"\1\""
    " cy=\"\1\" r=\"\1\" fx=\"\1\" fy=\"\1\"/><rect id=\"r\" width=\"10\" height=\"10\""
    " fill=\"url(#a)\" stroke=\"url(#b)\"/></svg>",
    // stroke and fill properties
    "<svg viewBox=\"0 0 100 100\"><rect id=\"r\" width=\"10\" height=\"10\" stroke=\"red\""
    " stroke-width=\"\1\" stroke-dasharray=\"\1\" stroke-dashoffset=\"\1\" stroke-linecap=\"\1\""
    " stroke-linejoin=\"\1\" stroke-miterlimit=\"\1\" stroke-opacity=\"\1\" opacity=\"\1\""
    " fill-opacity=\"\1\" fill-rule=\"\1\" display=\"\1\" visibility=\"\1\"/></svg>",
    // shapes
    "<svg viewBox=\"0 0 100 100\"><rect x=\"\1\" y=\"\1\" width=\"\1\" height=\"\1\" rx=\"\1\""
    " ry=\"\1\"/><rect width=\"9\" height=\"9\" ry=\"\1\"/><circle cx=\"\1\" cy=\"\1\" r=\"\1\"/>"
    "<ellipse rx=\"\1\" ry=\"\1\"/><line x1=\"\1\" y2=\"\1\"/><polyline points=\"\1\"/>"
    "<polygon id=\"q\" points=\"\1\"/></svg>",
    // images
    "<svg xmlns:xlink=\"http://www.w3.org/1999/xlink\"><image id=\"i\" x=\"\1\" width=\"\1\""
    " height=\"\1\" preserveAspectRatio=\"\1\" xlink:href=\"data:image/png;base64,\1\"/><image"
    " xlink:href=\"\1\"/><image preserveAspectRatio=\"\1\" xlink:href=\"data:image/jpeg;base64,"
    "\1\"/></svg>",
    // use and clip-path references
    "<svg xmlns:xlink=\"http://www.w3.org/1999/xlink\"><defs><rect id=\"a\" width=\"1\""
    " height=\"1\"/></defs><clipPath id=\"c\" clip-rule=\"\1\"><rect width=\"5\" height=\"5\""
    " transform=\"\1\"/></clipPath><use id=\"u\" xlink:href=\"\1\" x=\"\1\" y=\"\1\""
    " clip-path=\"\1\"/><g id=\"g\" clip-path=\"url(#c)\"><use xlink:href=\"#a\"/></g></svg>",
};
constexpr std::size_t kTemplateCount = sizeof kTemplates / sizeof kTemplates[0];

void AppendEscaped(std::string& out, const std::uint8_t* data, std::size_t size) {
    for (std::size_t i = 0; i < size; ++i) {
        switch (data[i]) {
        case '\0':
            break; // would end the text
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '"':
            out += "&quot;";
            break;
        default:
            out += static_cast<char>(data[i]);
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    std::string value;
    AppendEscaped(value, data + 1, size - 1);
    std::string text;
    for (const char* p = kTemplates[data[0] % kTemplateCount]; *p; ++p) {
        if (*p == '\1')
            text += value;
        else
            text += *p;
    }

    auto renderer = std::make_shared<fuzz::CheckingRenderer>();
    std::unique_ptr<SVGEngine::SVGDocument> document;
    try {
        document = SVGEngine::SVGDocument::Create(text.c_str(), renderer);
    } catch (const std::exception&) {
        return 0; // a value fault that ends creation, reported as an exception
    }
    fuzz::DrawEveryWay(*document, *renderer, text);
    return 0;
}
