#include "SVGParser.h"

#include "XmlAccess.h"
#include "XmlNesting.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace SVGEngine {

using namespace xml;

namespace {

// Deeper nesting (of XML, or of groups built through use) is refused: the
// reader and the builder recurse once per level.
constexpr int kMaxDepth = 200;
// Work allowed per document (see Charge): use elements that multiply each other
// must not exhaust memory or time.
constexpr std::size_t kMinWorkBudget = 8u << 20;
constexpr std::size_t kWorkBudgetPerByte = 16;

// The numbers of a viewBox: the first four land in v, count tells how many there were.
bool ReadViewBoxNumbers(std::string_view value, float (&v)[4], std::size_t& count) {
    count = 0;
    return ForEachNumber(value, true, [&](float n) {
        if (count < 4)
            v[count] = n;
        ++count;
    });
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
        const bool whole = ReadViewBoxNumbers(value, v, count);
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
        const bool whole = ReadViewBoxNumbers(value, v, count);
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

void SVGParser::Add(const std::shared_ptr<Element>& element, std::string_view id) {
    Charge(kElementCharge);
    if (groups_.empty())
        return;
    groups_.back()->AddChild(element);
    if (id.empty())
        return;
    // One search: where the id is, or where it goes (the first element keeps it).
    auto& ids = document_.ids_;
    const auto at = ids.lower_bound(id);
    if (at == ids.end() || at->first != id)
        ids.emplace_hint(at, std::string(id), element);
}

float SVGParser::Diagonal() const {
    const SVGDocumentImpl::ViewBox& v = document_.viewBox_;
    return std::sqrt(v.width * v.width + v.height * v.height);
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
