#include "SVGDocument.h"

#include "SVGDocumentImpl.h"
#include "SVGParser.h"

#include <climits>
#include <cmath>

namespace SVGEngine {
namespace {

// Truncates toward zero; sizes that are negative, not a number or beyond the
// range of int are reported as 0 or INT_MAX instead of overflowing.
int TruncatedSize(float size) {
    if (!(size > 0.0f))
        return 0;
    if (size >= static_cast<float>(INT_MAX))
        return INT_MAX;
    return static_cast<int>(size);
}

const ColorMap& NoColors() {
    static const ColorMap empty;
    return empty;
}

} // namespace

std::unique_ptr<SVGDocument> SVGDocument::Create(const char* text,
                                                 std::shared_ptr<SVGRenderer> renderer) {
    if (text == nullptr)
        throw SVGError("no SVG text");
    if (!renderer)
        throw SVGError("no renderer");
    auto impl = std::make_unique<SVGDocumentImpl>(std::move(renderer));
    {
        SVGParser parser(*impl);
        parser.Parse(text);
    }
    return std::unique_ptr<SVGDocument>(new SVGDocument(std::move(impl)));
}

SVGDocument::SVGDocument(std::unique_ptr<SVGDocumentImpl> impl) : impl_(std::move(impl)) {}

SVGDocument::~SVGDocument() = default;

int SVGDocument::Width() const {
    return TruncatedSize(impl_->GetViewBox().width);
}
int SVGDocument::Height() const {
    return TruncatedSize(impl_->GetViewBox().height);
}

void SVGDocument::Render() const {
    Render(NoColors());
}

void SVGDocument::Render(float width, float height) const {
    Render(NoColors(), width, height);
}

void SVGDocument::Render(const ColorMap& colors) const {
    Render(colors, impl_->GetViewBox().width, impl_->GetViewBox().height);
}

void SVGDocument::Render(const ColorMap& colors, float width, float height) const {
    impl_->RenderFit(impl_->Root().get(), colors, width, height);
}

void SVGDocument::Render(float destX, float destY, float destWidth, float destHeight, float srcX,
                         float srcY, float srcWidth, float srcHeight, float opacity) const {
    impl_->RenderMapped(impl_->Root().get(), destX, destY, destWidth, destHeight, srcX, srcY,
                        srcWidth, srcHeight, opacity);
}

void SVGDocument::RenderElement(const char* id) const {
    RenderElement(id, NoColors());
}

void SVGDocument::RenderElement(const char* id, float width, float height) const {
    RenderElement(id, NoColors(), width, height);
}

void SVGDocument::RenderElement(const char* id, const ColorMap& colors) const {
    RenderElement(id, colors, impl_->GetViewBox().width, impl_->GetViewBox().height);
}

void SVGDocument::RenderElement(const char* id, const ColorMap& colors, float width,
                                float height) const {
    if (id == nullptr)
        return;
    impl_->RenderFit(impl_->FindElement(id), colors, width, height);
}

void SVGDocument::RenderElement(const char* id, float destX, float destY, float destWidth,
                                float destHeight, float srcX, float srcY, float srcWidth,
                                float srcHeight, float opacity) const {
    if (id == nullptr)
        return;
    impl_->RenderMapped(impl_->FindElement(id), destX, destY, destWidth, destHeight, srcX, srcY,
                        srcWidth, srcHeight, opacity);
}

} // namespace SVGEngine
