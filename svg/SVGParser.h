// Builds an SVGDocumentImpl from SVG text. The XML tree, the style stacks and
// the definition tables live only while the document is being built.
#pragma once

#include "SVGDocumentImpl.h"
#include "ValueReaders.h"

#include "XmlReader.h"

#include <cstddef>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace SVGEngine {

class SVGParser {
  public:
    explicit SVGParser(SVGDocumentImpl& document);
    ~SVGParser();
    // Throws XMLParseError for malformed XML, SVGError for the value faults
    // that end creation and for documents nested too deeply or too large.
    void Parse(const char* text);

  private:
    using XmlDocument = boost::property_tree::detail::rapidxml::xml_document<char>;
    using Node = boost::property_tree::detail::rapidxml::xml_node<char>;
    using Group = SVGDocumentImpl::Group;
    using Element = SVGDocumentImpl::Element;

    // Parsing steps.
    void RootStep(Node& node);
    void ElementStep(Node& node);
    void ChildrenStep(Node& node);
    void DefinitionStep(Node& node);
    void Definition(Node& node, const FillStyle& fill, const StrokeStyle& stroke);
    void BuildGroup(Node& node, GraphicStyle style, const FillStyle& fill,
                    const StrokeStyle& stroke, std::string_view id);
    void BuildSymbol(Node& node, GraphicStyle style, std::string_view id);
    void BuildImage(Node& node, GraphicStyle style, const FillStyle& fill, std::string_view id);
    void BuildUse(Node& node, GraphicStyle style, const FillStyle& fill, const StrokeStyle& stroke,
                  std::string_view id);
    std::shared_ptr<Path> BuildShape(Node& node);
    void Add(const std::shared_ptr<Element>& element, std::string_view id);

    // Presentation attributes read onto copies of the inherited records.
    void ReadPresentation(Node& node, GraphicStyle& style, FillStyle& fill, StrokeStyle& stroke,
                          bool readTransform);

    // Gradients and clip paths.
    void ParseGradient(Node& node);
    void BuildClipPath(Node& node, const FillStyle& fill, const StrokeStyle& stroke);
    void LookupGradient(std::string_view id, GradientLookup& result);

    // Helpers.
    float Diagonal() const;
    float LengthAttribute(Node& node, const char* name, float reference, float absent) const;
    std::shared_ptr<Path> NewPath(); // never null: throws instead
    // Counts work done for the document: attribute bytes read, a fixed charge
    // per element, gradient stops taken over. Throws once over budget.
    void Charge(std::size_t work);
    static constexpr std::size_t kElementCharge = 64;
    void PushStyles(const FillStyle& fill, const StrokeStyle& stroke);
    void PopStyles();

    SVGDocumentImpl& document_;
    std::unique_ptr<XmlDocument> xml_;
    std::vector<FillStyle> fills_;
    std::vector<StrokeStyle> strokes_;
    std::map<std::string, GradientImpl, std::less<>> gradients_;
    std::map<std::string, Node*, std::less<>> references_;
    std::map<std::string, std::shared_ptr<ClippingPath>, std::less<>> clipPaths_;
    std::vector<std::shared_ptr<Group>> groups_;
    std::vector<const Node*> expanding_; // referenced nodes being expanded by use
    int depth_ = 0;
    std::size_t work_ = 0;
    std::size_t workBudget_ = 0;
};

} // namespace SVGEngine
