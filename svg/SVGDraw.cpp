// The drawing traversal: maps the document onto the target and walks the
// element tree, resolving colours and gradients against the call's ColorMap.
#include "SVGDocumentImpl.h"

#include <cmath>

namespace SVGEngine {
namespace {

Color Lookup(const VariableRef& ref, const ColorMap& colors) {
    const auto found = colors.find(ref.name);
    return found != colors.end() ? found->second : ref.fallback;
}

// The current-colour key resolves to opaque black here.
Color ResolveColor(const ColorImpl& color, const ColorMap& colors) {
    if (const Color* c = boost::get<Color>(&color))
        return *c;
    if (const VariableRef* v = boost::get<VariableRef>(&color))
        return Lookup(*v, colors);
    return Color{};
}

Paint ResolvePaint(const PaintImpl& paint, const Color& currentColor, const ColorMap& colors) {
    if (const Color* c = boost::get<Color>(&paint))
        return *c;
    if (const VariableRef* v = boost::get<VariableRef>(&paint))
        return Lookup(*v, colors);
    if (const GradientImpl* g = boost::get<GradientImpl>(&paint)) {
        Gradient gradient = g->gradient;
        gradient.stops.clear();
        if (!g->stops)
            return gradient;
        gradient.stops.reserve(g->stops->size());
        for (const GradientStopImpl& stop : *g->stops) {
            Color color = ResolveColor(stop.color, colors);
            color.a *= stop.stopOpacity;
            gradient.stops.push_back({stop.offset, color});
        }
        return gradient;
    }
    return currentColor;
}

// A size the mapping can divide by: zero, negative or not finite draws nothing.
bool Drawable(float size) {
    return std::isfinite(size) && size > 0.0f;
}

} // namespace

const SVGDocumentImpl::Element* SVGDocumentImpl::FindElement(const std::string& id) const {
    const auto found = ids_.find(id);
    return found != ids_.end() ? found->second.get() : nullptr;
}

void SVGDocumentImpl::RenderFit(const Element* start, const ColorMap& colors, float width,
                                float height) const {
    if (start == nullptr)
        return;
    if (!Drawable(viewBox_.width) || !Drawable(viewBox_.height))
        return;
    const float s = std::min(width / viewBox_.width, height / viewBox_.height);
    if (!std::isfinite(s))
        return;
    GraphicStyle style;
    style.opacity = 1.0f;
    std::shared_ptr<Transform> t = renderer_->CreateTransform(1, 0, 0, 1, 0, 0);
    if (!t)
        return;
    t->Translate(-viewBox_.x * s, -viewBox_.y * s);
    t->Scale(s, s);
    style.transform = std::move(t);
    renderer_->Save(style);
    DrawElement(*start, colors);
    renderer_->Restore();
}

void SVGDocumentImpl::RenderMapped(const Element* start, float destX, float destY, float destWidth,
                                   float destHeight, float srcX, float srcY, float srcWidth,
                                   float srcHeight, float opacity) const {
    if (start == nullptr)
        return;
    if (!Drawable(srcWidth) || !Drawable(srcHeight))
        return;
    const float s = std::min(destHeight / srcHeight, destWidth / srcWidth);
    if (!std::isfinite(s))
        return;
    GraphicStyle style;
    style.opacity = opacity;
    std::shared_ptr<Transform> t = renderer_->CreateTransform(1, 0, 0, 1, 0, 0);
    if (!t)
        return;
    t->Translate(destX - srcX * s, destY - srcY * s);
    t->Scale(s, s);
    style.transform = std::move(t);
    renderer_->Save(style);
    DrawElement(*start, ColorMap());
    renderer_->Restore();
}

void SVGDocumentImpl::DrawElement(const Element& element, const ColorMap& colors) const {
    const GraphicStyle& style = element.Style();
    if (style.clippingPath && !style.clippingPath->hasClipContent)
        return;
    if (!style.display)
        return;
    switch (element.GetKind()) {
    case Kind::Image: {
        const auto& image = static_cast<const Image&>(element);
        if (image.Visible())
            renderer_->DrawImage(image.Data(), style, image.ClipArea(), image.FillArea());
        break;
    }
    case Kind::Graphic: {
        const auto& graphic = static_cast<const Graphic&>(element);
        if (!graphic.Fill().visibility)
            break;
        FillStyle fill = graphic.Fill();
        StrokeStyle stroke = graphic.Stroke();
        const Color current = ResolveColor(fill.color, colors);
        fill.paint = ResolvePaint(fill.paintImpl, current, colors);
        stroke.paint = ResolvePaint(stroke.paintImpl, current, colors);
        renderer_->DrawPath(graphic.GetPath(), style, fill, stroke);
        break;
    }
    case Kind::Group: {
        const auto& group = static_cast<const Group&>(element);
        renderer_->Save(style);
        for (const auto& child : group.Children())
            DrawElement(*child, colors);
        renderer_->Restore();
        break;
    }
    }
}

} // namespace SVGEngine
