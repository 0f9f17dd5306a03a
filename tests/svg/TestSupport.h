// Helpers shared by the SVG engine tests.
#pragma once

#include "RecordingRenderer.h"
#include "SVGDocument.h"
#include "SVGDocumentImpl.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace SVGTest {

struct Loaded {
    std::shared_ptr<RecordingRenderer> renderer;
    std::unique_ptr<SVGDocument> document;

    const SVGDocumentImpl& Impl() const { return document->Impl(); }
    const SVGDocumentImpl::Group& Root() const { return *Impl().Root(); }
    // Drawing calls recorded since the last Clear.
    std::vector<const Call*> Draws(Call::Kind kind = Call::DrawPath) const {
        std::vector<const Call*> found;
        for (const Call& c : renderer->calls)
            if (c.kind == kind)
                found.push_back(&c);
        return found;
    }
    void Clear() { renderer->calls.clear(); }
};

inline Loaded Load(const char* svg) {
    Loaded loaded;
    loaded.renderer = std::make_shared<RecordingRenderer>();
    loaded.document = SVGDocument::Create(svg, loaded.renderer);
    return loaded;
}

// Draws the whole document at its own size and returns what was recorded.
inline Loaded Draw(const char* svg, const ColorMap& colors = {}) {
    Loaded loaded = Load(svg);
    loaded.document->Render(colors);
    return loaded;
}

template <class T> const T& As(const SVGDocumentImpl::Element& element) {
    const T* typed = dynamic_cast<const T*>(&element);
    if (typed == nullptr)
        throw std::runtime_error("unexpected element kind");
    return *typed;
}

inline const SVGDocumentImpl::Element& Child(const SVGDocumentImpl::Group& group,
                                             std::size_t index) {
    if (index >= group.Children().size())
        throw std::runtime_error("no such child");
    return *group.Children()[index];
}

inline const std::vector<PathOp>& Ops(const SVGDocumentImpl::Element& element) {
    return dynamic_cast<const RecordingPath&>(As<SVGDocumentImpl::Graphic>(element).GetPath()).ops;
}

inline Color ColorOf(const Paint& paint) {
    const Color* c = boost::get<Color>(&paint);
    if (c == nullptr)
        throw std::runtime_error("paint is not a colour");
    return *c;
}

inline Color Rgb(int r, int g, int b, float a = 1.0f) {
    return {r / 255.0f, g / 255.0f, b / 255.0f, a};
}

} // namespace SVGTest

// Readable failures for colours and path operations.
namespace SVGEngine {
inline std::ostream& operator<<(std::ostream& os, const Color& c) {
    return os << "(" << c.r << ", " << c.g << ", " << c.b << ", " << c.a << ")";
}
} // namespace SVGEngine
