// The public handle of a parsed SVG document. A document is created once from
// SVG text, is immutable afterwards and can be drawn any number of times.
#pragma once

#include "SVGRenderer.h"

#include <boost/property_tree/detail/rapidxml.hpp>

#include <cstddef>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>

namespace SVGEngine {

// Custom-property name (without "--") to colour, for "var(" colours.
using ColorMap = std::map<std::string, Color>;

// A value fault that ends document creation (for example a "#" colour without
// hexadecimal digits), or a document too deeply nested or too large to build.
class SVGError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Malformed XML. Catchable as the XML reader's own parse error; where() points
// into the caller's text (valid as long as that text is) and offset() is the
// byte position in it.
class XMLParseError : public boost::property_tree::detail::rapidxml::parse_error {
  public:
    XMLParseError(const char* message, const char* where, std::size_t offset)
        : parse_error(message, const_cast<char*>(where)), offset_(offset) {}
    std::size_t offset() const { return offset_; }

  private:
    std::size_t offset_;
};

class SVGDocumentImpl;

class SVGDocument {
  public:
    // text: NUL-terminated UTF-8 SVG. Throws XMLParseError on malformed XML and
    // SVGError on the value faults that end creation.
    static std::unique_ptr<SVGDocument> Create(const char* text,
                                               std::shared_ptr<SVGRenderer> renderer);
    ~SVGDocument();
    SVGDocument(const SVGDocument&) = delete;
    SVGDocument& operator=(const SVGDocument&) = delete;

    // viewBox width and height, truncated to integers.
    int Width() const;
    int Height() const;

    // Fit the viewBox into width x height (uniform scale, top-left anchored).
    void Render() const;
    void Render(float width, float height) const;
    void Render(const ColorMap& colors) const;
    void Render(const ColorMap& colors, float width, float height) const;
    // Map the source rectangle onto the destination rectangle.
    void Render(float destX, float destY, float destWidth, float destHeight, float srcX, float srcY,
                float srcWidth, float srcHeight, float opacity) const;

    // The same, starting at the element with the given id; nothing is drawn
    // when no element has it.
    void RenderElement(const char* id) const;
    void RenderElement(const char* id, float width, float height) const;
    void RenderElement(const char* id, const ColorMap& colors) const;
    void RenderElement(const char* id, const ColorMap& colors, float width, float height) const;
    void RenderElement(const char* id, float destX, float destY, float destWidth, float destHeight,
                       float srcX, float srcY, float srcWidth, float srcHeight,
                       float opacity) const;

    // The implementation, for the engine's own code and tests.
    const SVGDocumentImpl& Impl() const { return *impl_; }

  private:
    explicit SVGDocument(std::unique_ptr<SVGDocumentImpl> impl);
    std::unique_ptr<SVGDocumentImpl> impl_;
};

} // namespace SVGEngine
