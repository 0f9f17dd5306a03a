// The parsed document: a tree of groups, graphics and images with their styles
// already resolved, the viewBox, the renderer and the id table.
#pragma once

#include "SVGDocument.h"
#include "SVGRenderer.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace SVGEngine {

class SVGDocumentImpl {
  public:
    enum class Kind { Image = 0, Graphic = 1, Group = 2 };

    class Element {
      public:
        explicit Element(GraphicStyle style) : style_(std::move(style)) {}
        virtual ~Element() = default;
        virtual Kind GetKind() const = 0;
        const GraphicStyle& Style() const { return style_; }

      private:
        GraphicStyle style_;
    };

    class Group : public Element {
      public:
        using Element::Element;
        Kind GetKind() const override { return Kind::Group; }
        const std::vector<std::shared_ptr<Element>>& Children() const { return children_; }
        void AddChild(std::shared_ptr<Element> child) { children_.push_back(std::move(child)); }

      private:
        std::vector<std::shared_ptr<Element>> children_;
    };

    class Graphic : public Element {
      public:
        Graphic(GraphicStyle style, FillStyle fill, StrokeStyle stroke, std::shared_ptr<Path> path)
            : Element(std::move(style)), fill_(std::move(fill)), stroke_(std::move(stroke)),
              path_(std::move(path)) {}
        Kind GetKind() const override { return Kind::Graphic; }
        const FillStyle& Fill() const { return fill_; }
        const StrokeStyle& Stroke() const { return stroke_; }
        const Path& GetPath() const { return *path_; }

      private:
        FillStyle fill_;
        StrokeStyle stroke_;
        std::shared_ptr<Path> path_;
    };

    class Image : public Element {
      public:
        Image(GraphicStyle style, std::shared_ptr<ImageData> data, RectF clipArea, RectF fillArea,
              bool visible)
            : Element(std::move(style)), data_(std::move(data)), clipArea_(clipArea),
              fillArea_(fillArea), visible_(visible) {}
        Kind GetKind() const override { return Kind::Image; }
        const ImageData& Data() const { return *data_; }
        const RectF& ClipArea() const { return clipArea_; } // x, y, width, height as written
        const RectF& FillArea() const { return fillArea_; } // after preserveAspectRatio
        bool Visible() const { return visible_; }

      private:
        std::shared_ptr<ImageData> data_;
        RectF clipArea_;
        RectF fillArea_;
        bool visible_;
    };

    struct ViewBox {
        float x = 0.0f;
        float y = 0.0f;
        float width = 320.0f;
        float height = 200.0f;
    };

    explicit SVGDocumentImpl(std::shared_ptr<SVGRenderer> renderer)
        : renderer_(std::move(renderer)), root_(std::make_shared<Group>(GraphicStyle{})) {}

    SVGRenderer& Renderer() const { return *renderer_; }
    const ViewBox& GetViewBox() const { return viewBox_; }
    const std::shared_ptr<Group>& Root() const { return root_; }
    // The element with this id, or null.
    const Element* FindElement(const std::string& id) const;

    // Drawing (the traversal): the two mappings onto the target.
    void RenderFit(const Element* start, const ColorMap& colors, float width, float height) const;
    void RenderMapped(const Element* start, float destX, float destY, float destWidth,
                      float destHeight, float srcX, float srcY, float srcWidth, float srcHeight,
                      float opacity) const;

  private:
    friend class SVGParser;

    void DrawElement(const Element& element, const ColorMap& colors) const;

    ViewBox viewBox_;
    std::shared_ptr<SVGRenderer> renderer_;
    std::shared_ptr<Group> root_;
    std::map<std::string, std::shared_ptr<Element>, std::less<>> ids_;
};

} // namespace SVGEngine
