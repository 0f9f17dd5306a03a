// The renderer interface of the SVG engine and the style records that travel
// with every draw call. A document creates its paths, transforms and images
// through an SVGRenderer and later draws through the same renderer.
#pragma once

#include <boost/variant.hpp>

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace SVGEngine {

enum class GradientType { Linear = 0, Radial = 1 };
enum class SpreadMethod { Pad = 0, Reflect = 1, Repeat = 2 };
enum class WindingRule { NonZero = 0, EvenOdd = 1 };
enum class LineCap { Butt = 0, Round = 1, Square = 2 };
enum class LineJoin { Miter = 0, Round = 1, Bevel = 2 };
enum class ImageEncoding { PNG = 0, JPEG = 1 };
// The only key: "currentcolor", resolved from the element's color property.
enum class ColorKeys { CurrentColor = 0 };

// Channels in 0..1; a default Color is opaque black.
struct Color {
    float r = 0.0f;
    float g = 0.0f;
    float b = 0.0f;
    float a = 1.0f;
};

inline bool operator==(const Color& l, const Color& r) {
    return l.r == r.r && l.g == r.g && l.b == r.b && l.a == r.a;
}
inline bool operator!=(const Color& l, const Color& r) {
    return !(l == r);
}

// A rectangle handed to DrawImage.
struct RectF {
    float x = 0.0f;
    float y = 0.0f;
    float width = 0.0f;
    float height = 0.0f;
};

class Transform {
  public:
    virtual ~Transform() = default;
    virtual void Set(float a, float b, float c, float d, float e, float f) = 0;
    // Rotate, Translate, Scale and Concat post-multiply: the new operation
    // applies to coordinates first, then the matrix already held.
    virtual void Rotate(float degrees) = 0;
    virtual void Translate(float tx, float ty) = 0;
    virtual void Scale(float sx, float sy) = 0;
    virtual void Concat(const Transform& other) = 0;
};

class Path {
  public:
    virtual ~Path() = default;
    virtual void AddRect(float x, float y, float width, float height) = 0;
    virtual void AddRoundedRect(float x, float y, float width, float height, float r) = 0;
    virtual void AddEllipse(float cx, float cy, float rx, float ry) = 0;
    virtual void MoveTo(float x, float y) = 0;
    virtual void LineTo(float x, float y) = 0;
    virtual void CurveTo(float x1, float y1, float x2, float y2, float x, float y) = 0;
    virtual void QuadTo(float cx, float cy, float x, float y) = 0;
    virtual void ClosePath() = 0;
};

class ImageData {
  public:
    virtual ~ImageData() = default;
    // Size of the decoded image in pixels.
    virtual float Width() const = 0;
    virtual float Height() const = 0;
};

// A gradient stop as the renderer sees it: alpha already includes stop-opacity.
struct ColorStop {
    float offset = 0.0f;
    Color color;
};

struct Gradient {
    GradientType type = GradientType::Linear;
    SpreadMethod spread = SpreadMethod::Pad;
    std::vector<ColorStop> stops;
    float x1 = 0.0f, y1 = 0.0f, x2 = 0.0f, y2 = 0.0f;
    float cx = 0.0f, cy = 0.0f, fx = 0.0f, fy = 0.0f, r = 0.0f;
    std::shared_ptr<Transform> transform; // gradientTransform, may be empty
};

using Paint = boost::variant<Color, Gradient>;

struct ClippingPath {
    bool hasClipContent = false; // false when the clip path draws nothing
    WindingRule clipRule = WindingRule::NonZero;
    std::shared_ptr<Path> path;
    std::shared_ptr<Transform> transform;
};

// A "var(--name, fallback)" colour, looked up in the ColorMap of a render call.
struct VariableRef {
    std::string name;
    Color fallback;
};

using ColorImpl = boost::variant<Color, VariableRef, ColorKeys>;

// A stop as written in the document, resolved at draw time.
struct GradientStopImpl {
    float stopOpacity = 1.0f;
    ColorImpl color;
    float offset = 0.0f;
};

// Parsed stops are immutable and shared by every paint that refers to them, so
// a long stop list used by many elements is held once.
using GradientStops = std::shared_ptr<const std::vector<GradientStopImpl>>;

struct GradientImpl {
    Gradient gradient;   // type, spread, geometry and transform; stops stay empty
    GradientStops stops; // may be empty: no stops
    std::size_t StopCount() const { return stops ? stops->size() : 0; }
};

using PaintImpl = boost::variant<Color, GradientImpl, VariableRef, ColorKeys>;

struct GraphicStyle {
    float opacity = 1.0f;
    std::shared_ptr<Transform> transform;       // empty: no transform
    std::shared_ptr<ClippingPath> clippingPath; // empty: no clip-path
    // Parse-side values; drawing does not consult them.
    bool display = true;
    float stopOpacity = 1.0f;
    ColorImpl stopColor;
};

struct FillStyle {
    bool hasFill = true;
    WindingRule fillRule = WindingRule::NonZero;
    float fillOpacity = 1.0f;
    Paint paint; // resolved by the drawing traversal
    // Parse-side values.
    PaintImpl paintImpl;
    bool visibility = true;
    ColorImpl color; // the "color" property, source of currentcolor
    WindingRule clipRule = WindingRule::NonZero;
};

struct StrokeStyle {
    bool hasStroke = false;
    float strokeOpacity = 1.0f;
    float lineWidth = 1.0f;
    LineCap lineCap = LineCap::Butt;
    LineJoin lineJoin = LineJoin::Miter;
    float miterLimit = 4.0f;
    std::vector<float> dashArray; // user units
    float dashOffset = 0.0f;
    Paint paint; // resolved by the drawing traversal
    // Parse-side value.
    PaintImpl paintImpl;
};

class SVGRenderer {
  public:
    virtual ~SVGRenderer() = default;
    // base64 is the text after the data URL prefix; returns nothing when the
    // image cannot be made.
    virtual std::unique_ptr<ImageData> CreateImageData(std::string_view base64,
                                                       ImageEncoding encoding) = 0;
    virtual std::unique_ptr<Path> CreatePath() = 0;
    // Maps (x, y) to (a*x + c*y + e, b*x + d*y + f).
    virtual std::unique_ptr<Transform> CreateTransform(float a, float b, float c, float d, float e,
                                                       float f) = 0;
    // Opens a nesting level: multiplies the current opacity by the style's and
    // puts the style's transform in effect. Restore closes it.
    virtual void Save(const GraphicStyle& style) = 0;
    virtual void Restore() = 0;
    virtual void DrawPath(const Path& path, const GraphicStyle& style, const FillStyle& fill,
                          const StrokeStyle& stroke) = 0;
    virtual void DrawImage(const ImageData& image, const GraphicStyle& style, const RectF& clipArea,
                           const RectF& fillArea) = 0;
};

} // namespace SVGEngine
