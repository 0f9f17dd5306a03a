#include "FuzzDrawing.h"

#include <string>
#include <vector>

namespace fuzz {
namespace {

// Collects up to `limit` distinct values that follow `marker` up to the next quote or
// `stop` character: the ids and custom-property names the text may mention.
std::vector<std::string> ValuesAfter(std::string_view text, std::string_view marker,
                                     std::string_view stops, std::size_t limit) {
    std::vector<std::string> values;
    for (std::size_t at = text.find(marker); at != std::string_view::npos && values.size() < limit;
         at = text.find(marker, at + 1)) {
        std::size_t begin = at + marker.size();
        std::size_t end = text.find_first_of(stops, begin);
        std::string value(
            text.substr(begin, end == std::string_view::npos ? text.npos : end - begin));
        bool known = false;
        for (const std::string& seen : values)
            known = known || seen == value;
        if (!known)
            values.push_back(std::move(value));
    }
    return values;
}

void DrawAll(const SVGEngine::SVGDocument& document, CheckingRenderer& renderer,
             const std::vector<std::string>& ids, const SVGEngine::ColorMap& colors) {
    const float width = static_cast<float>(document.Width());
    const float height = static_cast<float>(document.Height());
    auto check = [&renderer] { renderer.ExpectBalanced(); };

    document.Render();
    check();
    document.Render(144.0f, 24.0f);
    check();
    document.Render(0.0f, 0.0f);
    check();
    document.Render(colors);
    check();
    document.Render(colors, width * 1.5f, height);
    check();
    document.Render(0.0f, 0.0f, 24.0f, 24.0f, 24.0f, 0.0f, 24.0f, 24.0f, 0.3f);
    check();
    document.Render(10.0f, 5.0f, width, height, 0.0f, 0.0f, 0.0f, 0.0f, 1.0f);
    check();

    for (const std::string& id : ids) {
        const char* name = id.c_str();
        document.RenderElement(name);
        check();
        document.RenderElement(name, 48.0f, 48.0f);
        check();
        document.RenderElement(name, colors);
        check();
        document.RenderElement(name, colors, width, height * 2.0f);
        check();
        document.RenderElement(name, 0.0f, 0.0f, 24.0f, 24.0f, 48.0f, 0.0f, 24.0f, 24.0f, 0.8f);
        check();
    }
}

} // namespace

void DrawEveryWay(const SVGEngine::SVGDocument& document, CheckingRenderer& renderer,
                  std::string_view text) {
    // Ids the text names, plus two that no element can have; colour-map entries for the
    // custom properties the text names, plus one it does not use.
    std::vector<std::string> ids = ValuesAfter(text, "id=\"", "\"", 6);
    for (std::string& id : ValuesAfter(text, "id='", "'", 2))
        ids.push_back(std::move(id));
    ids.push_back("");
    ids.push_back("no such id");
    SVGEngine::ColorMap colors{{"unused", {0.5f, 0.5f, 0.5f, 1.0f}}};
    for (const std::string& name : ValuesAfter(text, "var(--", ",) \t\r\n\"'", 4))
        colors[name] = SVGEngine::Color{0.25f, 0.5f, 1.0f, 0.75f};

    DrawAll(document, renderer, ids, colors);
    // A document is immutable: drawing it again must work the same.
    document.Render();
    renderer.ExpectBalanced();
}

} // namespace fuzz
