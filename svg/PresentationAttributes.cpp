// Presentation attributes: reading an element's style properties onto copies of
// the inherited fill and stroke records and a fresh graphic style.
#include "SVGParser.h"
#include "XmlAccess.h"

#include <algorithm>
#include <cmath>

namespace SVGEngine {
namespace {

using namespace xml;

float Clamp01(float v) {
    return v < 0.0f ? 0.0f : (v > 1.0f ? 1.0f : v);
}

// Presentation attributes, in the order their values are applied.
enum Property {
    kOpacity,
    kClipPath,
    kDisplay,
    kStopOpacity,
    kStopColor,
    kFill,
    kFillOpacity,
    kFillRule,
    kColor,
    kVisibility,
    kClipRule,
    kStroke,
    kStrokeWidth,
    kStrokeLinecap,
    kStrokeLinejoin,
    kStrokeMiterlimit,
    kStrokeDashoffset,
    kStrokeDasharray,
    kStrokeOpacity,
    kTransform,
    kPropertyCount
};

constexpr std::string_view kPropertyNames[kPropertyCount] = {
    "opacity",           "clip-path",         "display",
    "stop-opacity",      "stop-color",        "fill",
    "fill-opacity",      "fill-rule",         "color",
    "visibility",        "clip-rule",         "stroke",
    "stroke-width",      "stroke-linecap",    "stroke-linejoin",
    "stroke-miterlimit", "stroke-dashoffset", "stroke-dasharray",
    "stroke-opacity",    "transform"};

int PropertyOf(std::string_view name) {
    for (int i = 0; i < kPropertyCount; ++i)
        if (kPropertyNames[i] == name)
            return i;
    return -1;
}

// One attribute pass; the first attribute of a name wins.
struct PropertyValues {
    const rapidxml::xml_attribute<char>* values[kPropertyCount] = {};
    std::size_t bytes = 0;

    explicit PropertyValues(const rapidxml::xml_node<char>& node) {
        for (auto* a = node.first_attribute(); a != nullptr; a = a->next_attribute()) {
            bytes += a->value_size() + a->name_size();
            const int p = PropertyOf(Name(*a));
            if (p >= 0 && values[p] == nullptr)
                values[p] = a;
        }
    }
    bool Get(Property p, std::string_view& value) const {
        if (values[p] == nullptr)
            return false;
        value = Value(*values[p]);
        return true;
    }
};

bool ReadWindingRule(std::string_view value, WindingRule& rule) {
    if (value == "evenodd") {
        rule = WindingRule::EvenOdd;
        return true;
    }
    if (value == "nonzero") {
        rule = WindingRule::NonZero;
        return true;
    }
    return false;
}

} // namespace

void SVGParser::ReadPresentation(Node& node, GraphicStyle& style, FillStyle& fill,
                                 StrokeStyle& stroke, bool readTransform) {
    const PropertyValues values(node);
    Charge(values.bytes + kElementCharge);
    std::string_view v;
    float number;

    // Graphic properties.
    if (values.Get(kOpacity, v) && ReadNumber(v, number))
        style.opacity = Clamp01(number);
    if (values.Get(kClipPath, v)) {
        if (v.size() < 5)
            throw SVGError("clip-path value too short");
        const std::string_view id = v.size() > 6 ? v.substr(5, v.size() - 6) : std::string_view();
        const auto found = clipPaths_.find(id);
        if (found != clipPaths_.end())
            style.clippingPath = found->second;
    }
    if (values.Get(kDisplay, v) && v == "none")
        style.display = false;
    if (values.Get(kStopOpacity, v) && ReadNumber(v, number))
        style.stopOpacity = Clamp01(number);
    if (values.Get(kStopColor, v)) {
        ColorImpl color;
        if (ReadColor(v, true, color))
            style.stopColor = std::move(color);
    }

    const GradientResolver gradients = [this](std::string_view id, GradientLookup& result) {
        LookupGradient(id, result);
    };

    // Fill properties.
    if (values.Get(kFill, v)) {
        PaintImpl paint;
        switch (ReadPaint(v, gradients, paint)) {
        case PaintResult::None:
            fill.hasFill = false;
            break;
        case PaintResult::Set:
            fill.hasFill = true;
            fill.paintImpl = std::move(paint);
            break;
        case PaintResult::Unreadable:
            break;
        }
    }
    if (values.Get(kFillOpacity, v) && ReadNumber(v, number))
        fill.fillOpacity = Clamp01(number);
    if (values.Get(kFillRule, v))
        ReadWindingRule(v, fill.fillRule);
    if (values.Get(kColor, v)) {
        ColorImpl color;
        if (ReadColor(v, false, color))
            fill.color = std::move(color);
    }
    if (values.Get(kVisibility, v)) {
        if (v == "hidden")
            fill.visibility = false;
        else if (v == "visible" || v == "collapse")
            fill.visibility = true;
    }
    if (values.Get(kClipRule, v))
        ReadWindingRule(v, fill.clipRule);

    // Stroke properties.
    if (values.Get(kStroke, v)) {
        PaintImpl paint;
        switch (ReadPaint(v, gradients, paint)) {
        case PaintResult::None:
            stroke.hasStroke = false;
            break;
        case PaintResult::Set:
            stroke.hasStroke = true;
            stroke.paintImpl = std::move(paint);
            break;
        case PaintResult::Unreadable:
            break;
        }
    }
    if (values.Get(kStrokeWidth, v)) {
        float width = 0.0f;
        const bool read = ReadLength(v, Diagonal(), width);
        if (read && width >= 0.0f)
            stroke.lineWidth = width;
        if (!read || width == 0.0f)
            stroke.hasStroke = false;
    }
    if (values.Get(kStrokeLinecap, v)) {
        if (v == "round")
            stroke.lineCap = LineCap::Round;
        if (v == "square")
            stroke.lineCap = LineCap::Square;
    }
    if (values.Get(kStrokeLinejoin, v)) {
        if (v == "round")
            stroke.lineJoin = LineJoin::Round;
        if (v == "bevel")
            stroke.lineJoin = LineJoin::Bevel;
    }
    if (values.Get(kStrokeMiterlimit, v) && ReadNumber(v, number) && number >= 1.0f)
        stroke.miterLimit = number;
    if (values.Get(kStrokeDashoffset, v) && ReadLength(v, Diagonal(), number))
        stroke.dashOffset = number;
    if (values.Get(kStrokeDasharray, v)) {
        std::vector<float>& dashes = stroke.dashArray;
        if (!ReadLengthList(v, Diagonal(), true, dashes) ||
            std::any_of(dashes.begin(), dashes.end(), [](float d) { return d < 0.0f; })) {
            dashes.clear();
        } else if (dashes.size() % 2 == 1) {
            const std::size_t n = dashes.size();
            for (std::size_t i = 0; i < n; ++i)
                dashes.push_back(dashes[i]);
        }
    }
    if (values.Get(kStrokeOpacity, v) && ReadNumber(v, number))
        stroke.strokeOpacity = Clamp01(number);

    if (readTransform && values.Get(kTransform, v))
        style.transform = ReadTransformList(v, document_.Renderer());
}

} // namespace SVGEngine
