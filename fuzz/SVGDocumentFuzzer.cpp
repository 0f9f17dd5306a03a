// libFuzzer target: builds a document from arbitrary bytes and draws it through every
// render entry point. Creation may refuse the text with an exception; anything else (a
// crash, a sanitizer report, a leak, a hang, an exception from drawing, a broken renderer
// contract) is a finding. It draws through the engine tests' recording renderer.
#include "FuzzDrawing.h"

#include <cstddef>
#include <cstdint>
#include <exception>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The engine takes NUL-terminated text; an embedded NUL simply ends it early.
    const std::string text(reinterpret_cast<const char*>(data), size);
    auto renderer = std::make_shared<fuzz::CheckingRenderer>();

    std::unique_ptr<SVGEngine::SVGDocument> document;
    try {
        document = SVGEngine::SVGDocument::Create(text.c_str(), renderer);
    } catch (const std::exception&) {
        return 0; // refused: malformed XML or a value fault, reported as an exception
    }
    fuzz::DrawEveryWay(*document, *renderer, text);
    return 0;
}
