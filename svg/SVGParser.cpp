#include "SVGParser.h"

#include "PathData.h"
#include "XmlNesting.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace SVGEngine {
namespace {

namespace rapidxml = boost::property_tree::detail::rapidxml;

// Deeper nesting (of XML, or of groups built through use) is refused: the
// reader and the builder recurse once per level.
constexpr int kMaxDepth = 200;
// Work allowed per document, in attribute bytes read plus a charge per element,
// so that use elements that multiply each other cannot exhaust memory or time.
constexpr std::size_t kElementCharge = 32;
constexpr std::size_t kMinWorkBudget = 16u << 20;
constexpr std::size_t kWorkBudgetPerByte = 16;

std::string_view Name(const rapidxml::xml_base<char>& item) {
    return {item.name(), item.name_size()};
}
std::string_view Value(const rapidxml::xml_base<char>& item) {
    return {item.value(), item.value_size()};
}

bool IsElement(const rapidxml::xml_node<char>& node) {
    return node.type() == rapidxml::node_element;
}

// The value of the first attribute of that name, if present.
bool Attribute(const rapidxml::xml_node<char>& node, const char* name, std::string_view& value) {
    const rapidxml::xml_attribute<char>* a = node.first_attribute(name);
    if (a == nullptr)
        return false;
    value = Value(*a);
    return true;
}

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

bool HasChildElement(const rapidxml::xml_node<char>& node) {
    for (auto* c = node.first_node(); c != nullptr; c = c->next_sibling())
        if (IsElement(*c))
            return true;
    return false;
}

// Counts nesting while a step runs; refuses to go deeper than kMaxDepth.
class DepthGuard {
  public:
    explicit DepthGuard(int& depth) : depth_(depth) {
        if (++depth_ > kMaxDepth) {
            --depth_;
            throw SVGError("document nested too deeply");
        }
    }
    ~DepthGuard() { --depth_; }
    DepthGuard(const DepthGuard&) = delete;
    DepthGuard& operator=(const DepthGuard&) = delete;

  private:
    int& depth_;
};

} // namespace

SVGParser::SVGParser(SVGDocumentImpl& document) : document_(document) {}

SVGParser::~SVGParser() = default;

void SVGParser::Parse(const char* text) {
    const char* start = text;
    if (std::strncmp(start, "\xEF\xBB\xBF", 3) == 0)
        start += 3;
    const std::size_t length = std::strlen(start);
    const char* end = start + length;
    if (NestsDeeperThan(start, end, kMaxDepth))
        throw SVGError("document nested too deeply");
    workBudget_ = std::max(kMinWorkBudget, length * kWorkBudgetPerByte);

    xml_ = std::make_unique<XmlDocument>();
    // The reader parses in place, so the text is copied into the XML pool.
    char* buffer = xml_->allocate_string(start, length + 1);
    try {
        xml_->parse<rapidxml::parse_default>(buffer);
    } catch (const rapidxml::parse_error& e) {
        // Report the position in the caller's text: the pool dies with the parser.
        const char* where = e.where<char>();
        std::size_t offset = length;
        if (where != nullptr && where >= buffer && where <= buffer + length)
            offset = static_cast<std::size_t>(where - buffer);
        throw XMLParseError(e.what(), start + offset,
                            static_cast<std::size_t>(start - text) + offset);
    }

    fills_.emplace_back();
    strokes_.emplace_back();
    groups_.push_back(document_.root_);
    if (Node* first = xml_->first_node())
        RootStep(*first);
    xml_.reset();
}

void SVGParser::RootStep(Node& node) {
    if (!IsElement(node) || Name(node) != "svg")
        return;
    SVGDocumentImpl::ViewBox& viewBox = document_.viewBox_;
    std::string_view value;
    if (Attribute(node, "viewBox", value)) {
        float v[4];
        std::size_t count = 0;
        const bool whole = ForEachNumber(value, true, [&](float n) {
            if (count < 4)
                v[count] = n;
            ++count;
        });
        if (whole && count == 4)
            viewBox = {v[0], v[1], v[2], v[3]};
    } else {
        float* fields[4] = {&viewBox.x, &viewBox.y, &viewBox.width, &viewBox.height};
        const char* names[4] = {"x", "y", "width", "height"};
        for (int i = 0; i < 4; ++i) {
            if (!Attribute(node, names[i], value))
                continue;
            const float reference = (i % 2 == 0) ? viewBox.width : viewBox.height;
            float length;
            *fields[i] = ReadLength(value, reference, length) ? length : 0.0f;
        }
    }
    if (Attribute(node, "fill", value) && value == "none")
        fills_.front().hasFill = false;

    for (Node* child = node.first_node(); child != nullptr; child = child->next_sibling())
        if (IsElement(*child))
            ElementStep(*child);

    gradients_.clear();
    references_.clear();
    clipPaths_.clear();
}

void SVGParser::ChildrenStep(Node& node) {
    for (Node* child = node.first_node(); child != nullptr; child = child->next_sibling())
        if (IsElement(*child))
            ElementStep(*child);
}

void SVGParser::ElementStep(Node& node) {
    DepthGuard guard(depth_);
    FillStyle fill = fills_.back();
    StrokeStyle stroke = strokes_.back();
    GraphicStyle style;
    ReadPresentation(node, style, fill, stroke, true);

    std::string_view id;
    Attribute(node, "id", id);

    if (std::shared_ptr<Path> path = BuildShape(node)) {
        Add(std::make_shared<SVGDocumentImpl::Graphic>(std::move(style), std::move(fill),
                                                       std::move(stroke), std::move(path)),
            id);
        return;
    }
    const std::string_view name = Name(node);
    if (name == "g") {
        BuildGroup(node, std::move(style), fill, stroke, id);
    } else if (name == "defs") {
        PushStyles(fill, stroke);
        for (Node* child = node.first_node(); child != nullptr; child = child->next_sibling())
            if (IsElement(*child))
                DefinitionStep(*child);
        PopStyles();
    } else if (name == "image") {
        BuildImage(node, std::move(style), fill, id);
    } else if (name == "use") {
        BuildUse(node, std::move(style), fill, stroke, id);
    } else if (name == "symbol") {
        BuildSymbol(node, std::move(style), id);
    } else if (name == "style" || name == "linearGradient" || name == "radialGradient" ||
               name == "clipPath") {
        // These copies are what the definition step would read again.
        Definition(node, fill, stroke);
    }
}

void SVGParser::DefinitionStep(Node& node) {
    DepthGuard guard(depth_);
    FillStyle fill = fills_.back();
    StrokeStyle stroke = strokes_.back();
    GraphicStyle style;
    ReadPresentation(node, style, fill, stroke, false);
    Definition(node, fill, stroke);
}

void SVGParser::Definition(Node& node, const FillStyle& fill, const StrokeStyle& stroke) {
    const std::string_view name = Name(node);
    if (name == "linearGradient" || name == "radialGradient") {
        PushStyles(fill, stroke);
        ParseGradient(node);
        PopStyles();
    } else if (name == "style") {
        // Style sheets are not read.
    } else if (name == "clipPath") {
        BuildClipPath(node, fill, stroke);
    } else {
        std::string_view id;
        if (Attribute(node, "id", id))
            references_[std::string(id)] = &node;
    }
}

void SVGParser::BuildGroup(Node& node, GraphicStyle style, const FillStyle& fill,
                           const StrokeStyle& stroke, std::string_view id) {
    PushStyles(fill, stroke);
    auto group = std::make_shared<Group>(std::move(style));
    Add(group, id);
    groups_.push_back(group);
    ChildrenStep(node);
    groups_.pop_back();
    PopStyles();
}

void SVGParser::BuildSymbol(Node& node, GraphicStyle style, std::string_view id) {
    std::string_view value;
    if (Attribute(node, "viewBox", value)) {
        float v[4];
        std::size_t count = 0;
        const bool whole = ForEachNumber(value, true, [&](float n) {
            if (count < 4)
                v[count] = n;
            ++count;
        });
        if (whole && count == 4)
            style.transform = document_.Renderer().CreateTransform(1, 0, 0, 1, -v[0], -v[1]);
        if (count >= 4)
            document_.viewBox_ = {v[0], v[1], v[2], v[3]};
    }
    // The children inherit from the symbol's parent, so the style stacks stay.
    auto group = std::make_shared<Group>(std::move(style));
    Add(group, id);
    groups_.push_back(group);
    ChildrenStep(node);
    groups_.pop_back();
}

void SVGParser::BuildImage(Node& node, GraphicStyle style, const FillStyle& fill,
                           std::string_view id) {
    std::string_view href;
    if (!Attribute(node, "xlink:href", href))
        return;
    static constexpr struct {
        std::string_view prefix;
        ImageEncoding encoding;
    } kPrefixes[] = {{"data:image/png;base64,", ImageEncoding::PNG},
                     {"data:image/jpg;base64,", ImageEncoding::JPEG},
                     {"data:image/jpeg;base64,", ImageEncoding::JPEG}};
    std::shared_ptr<ImageData> data;
    for (const auto& p : kPrefixes) {
        if (href.substr(0, p.prefix.size()) == p.prefix) {
            data = document_.Renderer().CreateImageData(href.substr(p.prefix.size()), p.encoding);
            if (!data)
                return;
            break;
        }
    }
    if (!data)
        return;

    const SVGDocumentImpl::ViewBox& viewBox = document_.viewBox_;
    const float imageWidth = data->Width();
    const float imageHeight = data->Height();
    RectF viewport{LengthAttribute(node, "x", viewBox.width, 0.0f),
                   LengthAttribute(node, "y", viewBox.height, 0.0f),
                   LengthAttribute(node, "width", viewBox.width, imageWidth),
                   LengthAttribute(node, "height", viewBox.height, imageHeight)};

    std::string_view align, meetOrSlice;
    std::string_view value;
    if (Attribute(node, "preserveAspectRatio", value)) {
        const auto tokens = ReadTokenList(value);
        if (tokens.size() == 1 || tokens.size() == 2) {
            align = tokens[0];
            if (tokens.size() == 2)
                meetOrSlice = tokens[1];
        }
    }
    RectF placed = viewport;
    if (align != "none") {
        const float sy = viewport.height / imageHeight;
        const float sx = viewport.width / imageWidth;
        const float scale = meetOrSlice == "slice" ? std::max(sy, sx) : std::min(sy, sx);
        placed.width = scale * imageWidth;
        placed.height = scale * imageHeight;
        // 0 = min, 1 = mid, 2 = max along each axis.
        int ax = 1, ay = 1;
        static constexpr std::string_view kAligns[] = {"xMinYMin", "xMidYMin", "xMaxYMin",
                                                       "xMinYMid", "xMidYMid", "xMaxYMid",
                                                       "xMinYMax", "xMidYMax", "xMaxYMax"};
        for (int i = 0; i < 9; ++i)
            if (align == kAligns[i]) {
                ax = i % 3;
                ay = i / 3;
            }
        placed.x = viewport.x + (viewport.width - placed.width) * static_cast<float>(ax) / 2.0f;
        placed.y = viewport.y + (viewport.height - placed.height) * static_cast<float>(ay) / 2.0f;
    }
    if (imageWidth == 0.0f || imageHeight == 0.0f || viewport.width == 0.0f ||
        viewport.height == 0.0f || placed.width == 0.0f || placed.height == 0.0f)
        return;
    Add(std::make_shared<SVGDocumentImpl::Image>(std::move(style), std::move(data), viewport,
                                                 placed, fill.visibility),
        id);
}

void SVGParser::BuildUse(Node& node, GraphicStyle style, const FillStyle& fill,
                         const StrokeStyle& stroke, std::string_view id) {
    std::string_view href;
    if (!Attribute(node, "xlink:href", href) || href.empty() || href[0] != '#')
        return;
    const auto found = references_.find(href.substr(1));
    if (found == references_.end())
        return;
    Node& referenced = *found->second;
    // A use inside the content it refers to would expand for ever.
    if (std::find(expanding_.begin(), expanding_.end(), &referenced) != expanding_.end())
        return;

    PushStyles(fill, stroke);
    SVGRenderer& renderer = document_.Renderer();
    const float x = LengthAttribute(node, "x", document_.viewBox_.width, 0.0f);
    const float y = LengthAttribute(node, "y", document_.viewBox_.height, 0.0f);
    if (style.transform) {
        // The element's own transform applies after the x, y offset.
        std::shared_ptr<Transform> t = renderer.CreateTransform(1, 0, 0, 1, 0, 0);
        if (!t)
            throw SVGError("the renderer made no transform");
        t->Concat(*style.transform);
        t->Translate(x, y);
        style.transform = std::move(t);
    } else {
        style.transform = renderer.CreateTransform(1, 0, 0, 1, x, y);
    }
    auto group = std::make_shared<Group>(std::move(style));
    Add(group, id);
    groups_.push_back(group);
    expanding_.push_back(&referenced);
    if (HasChildElement(referenced))
        ChildrenStep(referenced);
    else
        ElementStep(referenced);
    expanding_.pop_back();
    groups_.pop_back();
    PopStyles();
}

std::shared_ptr<Path> SVGParser::BuildShape(Node& node) {
    const std::string_view name = Name(node);
    const SVGDocumentImpl::ViewBox& viewBox = document_.viewBox_;
    std::string_view value;
    if (name == "rect") {
        const float x = LengthAttribute(node, "x", viewBox.width, 0.0f);
        const float y = LengthAttribute(node, "y", viewBox.height, 0.0f);
        const float w = LengthAttribute(node, "width", viewBox.width, 0.0f);
        const float h = LengthAttribute(node, "height", viewBox.height, 0.0f);
        const bool hasRx = node.first_attribute("rx") != nullptr;
        const bool hasRy = node.first_attribute("ry") != nullptr;
        float rx = 0.0f, ry = 0.0f;
        if (hasRx && hasRy) {
            rx = LengthAttribute(node, "rx", viewBox.width, 0.0f);
            ry = LengthAttribute(node, "ry", viewBox.height, 0.0f);
        } else if (hasRx) {
            rx = ry = LengthAttribute(node, "rx", viewBox.width, 0.0f);
        } else if (hasRy) {
            rx = ry = LengthAttribute(node, "ry", viewBox.height, 0.0f);
        }
        // Negative radii (an error in SVG) count as square corners.
        rx = std::max(0.0f, std::min(rx, w / 2.0f));
        ry = std::max(0.0f, std::min(ry, h / 2.0f));
        std::shared_ptr<Path> path = NewPath();
        if (rx == 0.0f && ry == 0.0f)
            path->AddRect(x, y, w, h);
        else
            path->AddRoundedRect(x, y, w, h, std::max(rx, ry));
        return path;
    }
    if (name == "circle") {
        const float r = LengthAttribute(node, "r", Diagonal(), 0.0f);
        const float cx = LengthAttribute(node, "cx", viewBox.width, 0.0f);
        const float cy = LengthAttribute(node, "cy", viewBox.height, 0.0f);
        std::shared_ptr<Path> path = NewPath();
        path->AddEllipse(cx, cy, r, r);
        return path;
    }
    if (name == "ellipse") {
        const float rx = LengthAttribute(node, "rx", viewBox.width, 0.0f);
        const float ry = LengthAttribute(node, "ry", viewBox.height, 0.0f);
        const float cx = LengthAttribute(node, "cx", viewBox.width, 0.0f);
        const float cy = LengthAttribute(node, "cy", viewBox.height, 0.0f);
        std::shared_ptr<Path> path = NewPath();
        path->AddEllipse(cx, cy, rx, ry);
        return path;
    }
    if (name == "line") {
        std::shared_ptr<Path> path = NewPath();
        path->MoveTo(LengthAttribute(node, "x1", viewBox.width, 0.0f),
                     LengthAttribute(node, "y1", viewBox.height, 0.0f));
        path->LineTo(LengthAttribute(node, "x2", viewBox.width, 0.0f),
                     LengthAttribute(node, "y2", viewBox.height, 0.0f));
        return path;
    }
    if (name == "polyline" || name == "polygon") {
        if (!Attribute(node, "points", value))
            return nullptr;
        std::shared_ptr<Path> path = NewPath();
        std::size_t count = 0;
        float pendingX = 0.0f;
        ForEachNumber(value, true, [&](float n) {
            if (count % 2 == 0) {
                pendingX = n;
            } else if (count == 1) {
                path->MoveTo(pendingX, n);
            } else {
                path->LineTo(pendingX, n);
            }
            ++count;
        });
        if (count >= 2 && name == "polygon")
            path->ClosePath();
        return path;
    }
    if (name == "path") {
        if (!Attribute(node, "d", value))
            return nullptr;
        std::shared_ptr<Path> path = NewPath();
        PlayPathData(value, *path);
        return path;
    }
    return nullptr;
}

void SVGParser::Add(const std::shared_ptr<Element>& element, std::string_view id) {
    Charge(kElementCharge);
    if (groups_.empty())
        return;
    groups_.back()->AddChild(element);
    if (!id.empty() && document_.ids_.find(id) == document_.ids_.end())
        document_.ids_.emplace(std::string(id), element);
}

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

float SVGParser::Diagonal() const {
    const SVGDocumentImpl::ViewBox& v = document_.viewBox_;
    return std::sqrt(v.width * v.width + v.height * v.height);
}

float SVGParser::LengthAttribute(Node& node, const char* name, float reference,
                                 float absent) const {
    std::string_view value;
    if (!Attribute(node, name, value))
        return absent;
    float length;
    return ReadLength(value, reference, length) ? length : absent;
}

std::shared_ptr<Path> SVGParser::NewPath() {
    std::shared_ptr<Path> path = document_.Renderer().CreatePath();
    if (!path)
        throw SVGError("the renderer made no path");
    return path;
}

void SVGParser::Charge(std::size_t work) {
    work_ += work;
    if (work_ > workBudget_)
        throw SVGError("document too large to build");
}

void SVGParser::PushStyles(const FillStyle& fill, const StrokeStyle& stroke) {
    fills_.push_back(fill);
    strokes_.push_back(stroke);
}

void SVGParser::PopStyles() {
    fills_.pop_back();
    strokes_.pop_back();
}

} // namespace SVGEngine
