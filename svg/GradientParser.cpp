// Gradients and clip paths: the definitions that other elements refer to by id
// while the document is parsed.
#include "SVGParser.h"
#include "XmlAccess.h"

#include <cmath>
#include <limits>

namespace SVGEngine {
namespace {

using namespace xml;

constexpr float kNotGiven = std::numeric_limits<float>::quiet_NaN();

} // namespace

void SVGParser::ParseGradient(Node& node) {
    GradientImpl gradient;
    Gradient& g = gradient.gradient;
    g.x1 = g.y1 = g.x2 = g.y2 = g.cx = g.cy = g.fx = g.fy = g.r = kNotGiven;

    if (const auto* href = node.first_attribute("xlink:href")) {
        if (href->value_size() == 0)
            throw SVGError("empty gradient reference");
        const auto found =
            gradients_.find(std::string_view(href->value() + 1, href->value_size() - 1));
        if (found != gradients_.end())
            gradient = found->second;
    }

    std::vector<GradientStopImpl> stops;
    float previous = 0.0f;
    for (Node* child = node.first_node(); child != nullptr; child = child->next_sibling()) {
        Charge(1); // content referenced by use is walked once per use
        if (child->type() != rapidxml::node_element || Name(*child) != "stop")
            continue;
        FillStyle fill = fills_.back();
        StrokeStyle stroke = strokes_.back();
        GraphicStyle style;
        ReadPresentation(*child, style, fill, stroke, false);
        float offset = previous;
        if (const auto* a = child->first_attribute("offset")) {
            float read;
            if (ReadNumber(std::string_view(a->value(), a->value_size()), read))
                offset = read;
        }
        offset = std::min(std::max(offset, previous), 1.0f);
        if (!(offset > 0.0f))
            offset = 0.0f;
        GradientStopImpl stop;
        stop.stopOpacity = style.stopOpacity;
        stop.color = boost::get<ColorKeys>(&style.stopColor) ? fill.color : style.stopColor;
        stop.offset = offset;
        stops.push_back(std::move(stop));
        previous = offset;
    }
    if (stops.size() > 1) {
        if (stops.front().offset != 0.0f) {
            GradientStopImpl first = stops.front();
            first.offset = 0.0f;
            stops.insert(stops.begin(), std::move(first));
        }
        if (stops.back().offset != 1.0f) {
            GradientStopImpl last = stops.back();
            last.offset = 1.0f;
            stops.push_back(std::move(last));
        }
    }
    if (!stops.empty())
        gradient.stops = std::make_shared<const std::vector<GradientStopImpl>>(std::move(stops));

    const SVGDocumentImpl::ViewBox& viewBox = document_.viewBox_;
    auto coordinate = [&](const char* name, float reference, float& target) {
        if (const auto* a = node.first_attribute(name)) {
            float length;
            target = ReadLength(std::string_view(a->value(), a->value_size()), reference, length)
                         ? length
                         : 0.0f;
        }
    };
    if (Name(node) == "radialGradient") {
        g.type = GradientType::Radial;
        coordinate("cx", viewBox.width, g.cx);
        coordinate("cy", viewBox.height, g.cy);
        coordinate("fx", viewBox.width, g.fx);
        coordinate("fy", viewBox.height, g.fy);
        coordinate("r", Diagonal(), g.r);
    } else {
        g.type = GradientType::Linear;
        coordinate("x1", viewBox.width, g.x1);
        coordinate("y1", viewBox.height, g.y1);
        coordinate("x2", viewBox.width, g.x2);
        coordinate("y2", viewBox.height, g.y2);
    }

    if (const auto* a = node.first_attribute("spreadMethod")) {
        const std::string_view spread(a->value(), a->value_size());
        if (spread == "pad")
            g.spread = SpreadMethod::Pad;
        if (spread == "reflect")
            g.spread = SpreadMethod::Reflect;
        if (spread == "repeat")
            g.spread = SpreadMethod::Repeat;
    }
    if (const auto* a = node.first_attribute("gradientTransform"))
        g.transform =
            ReadTransformList(std::string_view(a->value(), a->value_size()), document_.Renderer());

    if (const auto* a = node.first_attribute("id")) {
        const std::string_view id(a->value(), a->value_size());
        if (gradients_.find(id) == gradients_.end())
            gradients_.emplace(std::string(id), std::move(gradient));
    }
}

void SVGParser::LookupGradient(std::string_view id, GradientLookup& result) {
    const auto found = gradients_.find(id);
    if (found == gradients_.end()) {
        result.kind = GradientLookup::Kind::NotFound;
        return;
    }
    const GradientImpl& source = found->second;
    if (source.StopCount() == 0) {
        result.kind = GradientLookup::Kind::None;
        return;
    }
    if (source.StopCount() == 1) {
        result.kind = GradientLookup::Kind::Color;
        result.color = source.stops->front().color;
        return;
    }
    // Every draw resolves the stops of every paint that refers to them; a stop
    // costs about a quarter of what building an element does.
    Charge((source.StopCount() + 3) / 4);
    result.kind = GradientLookup::Kind::Gradient;
    result.gradient = source;
    Gradient& g = result.gradient.gradient;
    const SVGDocumentImpl::ViewBox& viewBox = document_.viewBox_;
    auto resolve = [](float& value, float fallback) {
        if (std::isnan(value))
            value = fallback;
    };
    if (g.type == GradientType::Linear) {
        resolve(g.x1, 0.0f);
        resolve(g.y1, 0.0f);
        resolve(g.x2, viewBox.width);
        resolve(g.y2, 0.0f);
    } else {
        resolve(g.cx, viewBox.width * 0.5f);
        resolve(g.cy, viewBox.height * 0.5f);
        resolve(g.fx, g.cx);
        resolve(g.fy, g.cy);
        resolve(g.r, Diagonal() * 0.5f);
    }
    // The other kind's coordinates play no part; keep them plain zeros.
    for (float* unused : {&g.x1, &g.y1, &g.x2, &g.y2, &g.cx, &g.cy, &g.fx, &g.fy, &g.r})
        resolve(*unused, 0.0f);
}

void SVGParser::BuildClipPath(Node& node, const FillStyle& fill, const StrokeStyle& stroke) {
    const auto* idAttribute = node.first_attribute("id");
    if (idAttribute == nullptr)
        return;
    const std::string id(idAttribute->value(), idAttribute->value_size());
    PushStyles(fill, stroke);
    auto clip = std::make_shared<ClippingPath>();
    for (Node* child = node.first_node(); child != nullptr; child = child->next_sibling()) {
        Charge(1);
        if (child->type() != rapidxml::node_element)
            continue;
        std::shared_ptr<Path> path = BuildShape(*child);
        if (!path)
            continue;
        clip->hasClipContent = true;
        // The clip rule is the clipPath element's own, else the inherited one.
        clip->clipRule = fills_.back().clipRule;
        clip->path = std::move(path);
        if (const auto* a = child->first_attribute("transform"))
            clip->transform = ReadTransformList(std::string_view(a->value(), a->value_size()),
                                                document_.Renderer());
        break;
    }
    clipPaths_[id] = std::move(clip);
    PopStyles();
}

} // namespace SVGEngine
