// A renderer that draws nothing and records every call instead: paths as
// operation lists, transforms as matrices, styles as copies. The engine's tests
// and its fuzz target use it.
#pragma once

#include "SVGRenderer.h"

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

namespace SVGTest {

using namespace SVGEngine;

// Maps (x, y) to (a*x + c*y + e, b*x + d*y + f).
struct Matrix {
    double a = 1, b = 0, c = 0, d = 1, e = 0, f = 0;
    // this * other: other applies to coordinates first.
    Matrix Times(const Matrix& other) const;
    void Apply(double x, double y, double& outX, double& outY) const;
};

class RecordingTransform : public Transform {
  public:
    explicit RecordingTransform(const Matrix& m) : matrix(m) {}
    void Set(float a, float b, float c, float d, float e, float f) override;
    void Rotate(float degrees) override;
    void Translate(float tx, float ty) override;
    void Scale(float sx, float sy) override;
    void Concat(const Transform& other) override;

    Matrix matrix;
};

struct PathOp {
    enum Kind { Rect, RoundedRect, Ellipse, Move, Line, Curve, Quad, Close };
    Kind kind;
    std::vector<float> args;
};

class RecordingPath : public Path {
  public:
    void AddRect(float x, float y, float width, float height) override;
    void AddRoundedRect(float x, float y, float width, float height, float r) override;
    void AddEllipse(float cx, float cy, float rx, float ry) override;
    void MoveTo(float x, float y) override;
    void LineTo(float x, float y) override;
    void CurveTo(float x1, float y1, float x2, float y2, float x, float y) override;
    void QuadTo(float cx, float cy, float x, float y) override;
    void ClosePath() override;

    std::vector<PathOp> ops;
};

// Decodes the base64 text and reads the size from a PNG or JPEG header; text
// that does not decode to either gives an image of size 0 x 0.
class RecordingImageData : public ImageData {
  public:
    RecordingImageData(std::string bytes, ImageEncoding encoding);
    float Width() const override { return width_; }
    float Height() const override { return height_; }

    std::string bytes;
    ImageEncoding encoding;

  private:
    float width_ = 0.0f;
    float height_ = 0.0f;
};

struct Call {
    enum Kind { Save, Restore, DrawPath, DrawImage };
    Call(Kind k, GraphicStyle s) : kind(k), style(std::move(s)) {}
    Kind kind;
    GraphicStyle style;
    // The style's own transform as a matrix, when it has one.
    bool hasTransform = false;
    Matrix transform;
    // State in effect for the call: nested transforms composed, opacities multiplied
    // (for Save: after the level opened).
    Matrix effectiveTransform;
    float effectiveOpacity = 1.0f;
    // DrawPath.
    std::vector<PathOp> path;
    FillStyle fill;
    StrokeStyle stroke;
    // DrawImage.
    const ImageData* image = nullptr;
    RectF clipArea;
    RectF fillArea;
};

class RecordingRenderer : public SVGRenderer {
  public:
    std::unique_ptr<ImageData> CreateImageData(std::string_view base64,
                                               ImageEncoding encoding) override;
    std::unique_ptr<Path> CreatePath() override;
    std::unique_ptr<Transform> CreateTransform(float a, float b, float c, float d, float e,
                                               float f) override;
    void Save(const GraphicStyle& style) override;
    void Restore() override;
    void DrawPath(const Path& path, const GraphicStyle& style, const FillStyle& fill,
                  const StrokeStyle& stroke) override;
    void DrawImage(const ImageData& image, const GraphicStyle& style, const RectF& clipArea,
                   const RectF& fillArea) override;

    std::vector<Call> calls;
    std::size_t pathsCreated = 0;
    std::size_t transformsCreated = 0;
    // Open Save levels; never negative when the engine keeps its calls balanced.
    int depth = 0;
    int maxDepth = 0;
    bool unbalanced = false; // a Restore without a matching Save was seen
    // When false, calls are only counted (the fuzz target keeps memory flat).
    bool keepCalls = true;
    std::size_t callCount = 0;

  private:
    // A draw call with its style and the transform and opacity in effect for it.
    Call BeginDrawCall(Call::Kind kind, const GraphicStyle& style) const;

    struct State {
        Matrix transform;
        float opacity = 1.0f;
    };
    std::vector<State> states_{State{}};
};

// Decodes base64 as the GDI+ renderer does: stops at "=" or at the first
// character outside the alphabet.
std::string DecodeBase64(std::string_view text);

// The matrix of a transform made by a RecordingRenderer.
Matrix MatrixOf(const Transform& transform);

} // namespace SVGTest
