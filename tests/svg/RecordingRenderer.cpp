#include "RecordingRenderer.h"

#include <cmath>

namespace SVGTest {
namespace {

Matrix Rotation(double degrees) {
    const double r = degrees * 3.14159265358979323846 / 180.0;
    return {std::cos(r), std::sin(r), -std::sin(r), std::cos(r), 0, 0};
}

unsigned ReadBigEndian(const std::string& s, std::size_t at, std::size_t bytes) {
    unsigned v = 0;
    for (std::size_t i = 0; i < bytes; ++i)
        v = (v << 8) | static_cast<unsigned char>(s[at + i]);
    return v;
}

} // namespace

Matrix Matrix::Times(const Matrix& o) const {
    return {a * o.a + c * o.b, b * o.a + d * o.b,     a * o.c + c * o.d,
            b * o.c + d * o.d, a * o.e + c * o.f + e, b * o.e + d * o.f + f};
}

void Matrix::Apply(double x, double y, double& outX, double& outY) const {
    outX = a * x + c * y + e;
    outY = b * x + d * y + f;
}

void RecordingTransform::Set(float a, float b, float c, float d, float e, float f) {
    matrix = {a, b, c, d, e, f};
}
void RecordingTransform::Rotate(float degrees) {
    matrix = matrix.Times(Rotation(degrees));
}
void RecordingTransform::Translate(float tx, float ty) {
    matrix = matrix.Times({1, 0, 0, 1, tx, ty});
}
void RecordingTransform::Scale(float sx, float sy) {
    matrix = matrix.Times({sx, 0, 0, sy, 0, 0});
}
void RecordingTransform::Concat(const Transform& other) {
    matrix = matrix.Times(dynamic_cast<const RecordingTransform&>(other).matrix);
}

Matrix MatrixOf(const Transform& transform) {
    return dynamic_cast<const RecordingTransform&>(transform).matrix;
}

void RecordingPath::AddRect(float x, float y, float w, float h) {
    ops.push_back({PathOp::Rect, {x, y, w, h}});
}
void RecordingPath::AddRoundedRect(float x, float y, float w, float h, float r) {
    ops.push_back({PathOp::RoundedRect, {x, y, w, h, r}});
}
void RecordingPath::AddEllipse(float cx, float cy, float rx, float ry) {
    ops.push_back({PathOp::Ellipse, {cx, cy, rx, ry}});
}
void RecordingPath::MoveTo(float x, float y) {
    ops.push_back({PathOp::Move, {x, y}});
}
void RecordingPath::LineTo(float x, float y) {
    ops.push_back({PathOp::Line, {x, y}});
}
void RecordingPath::CurveTo(float x1, float y1, float x2, float y2, float x, float y) {
    ops.push_back({PathOp::Curve, {x1, y1, x2, y2, x, y}});
}
void RecordingPath::QuadTo(float cx, float cy, float x, float y) {
    ops.push_back({PathOp::Quad, {cx, cy, x, y}});
}
void RecordingPath::ClosePath() {
    ops.push_back({PathOp::Close, {}});
}

std::string DecodeBase64(std::string_view text) {
    auto sextet = [](char ch) -> int {
        if (ch >= 'A' && ch <= 'Z')
            return ch - 'A';
        if (ch >= 'a' && ch <= 'z')
            return ch - 'a' + 26;
        if (ch >= '0' && ch <= '9')
            return ch - '0' + 52;
        if (ch == '+')
            return 62;
        if (ch == '/')
            return 63;
        return -1;
    };
    std::string bytes;
    unsigned group = 0;
    int count = 0;
    for (char ch : text) {
        const int v = sextet(ch);
        if (v < 0)
            break;
        group = (group << 6) | static_cast<unsigned>(v);
        if (++count == 4) {
            bytes.push_back(static_cast<char>((group >> 16) & 0xFF));
            bytes.push_back(static_cast<char>((group >> 8) & 0xFF));
            bytes.push_back(static_cast<char>(group & 0xFF));
            group = 0;
            count = 0;
        }
    }
    if (count == 2) {
        bytes.push_back(static_cast<char>((group >> 4) & 0xFF));
    } else if (count == 3) {
        bytes.push_back(static_cast<char>((group >> 10) & 0xFF));
        bytes.push_back(static_cast<char>((group >> 2) & 0xFF));
    }
    return bytes;
}

RecordingImageData::RecordingImageData(std::string data, ImageEncoding enc)
    : bytes(std::move(data)), encoding(enc) {
    static const char kPng[] = "\x89PNG\r\n\x1a\n";
    if (bytes.size() >= 24 && bytes.compare(0, 8, kPng, 8) == 0 &&
        bytes.compare(12, 4, "IHDR") == 0) {
        width_ = static_cast<float>(ReadBigEndian(bytes, 16, 4));
        height_ = static_cast<float>(ReadBigEndian(bytes, 20, 4));
        return;
    }
    // JPEG: walk the segments up to a start-of-frame marker.
    if (bytes.size() >= 4 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
        static_cast<unsigned char>(bytes[1]) == 0xD8) {
        std::size_t at = 2;
        while (at + 9 <= bytes.size() && static_cast<unsigned char>(bytes[at]) == 0xFF) {
            const unsigned marker = static_cast<unsigned char>(bytes[at + 1]);
            const unsigned length = ReadBigEndian(bytes, at + 2, 2);
            if (marker >= 0xC0 && marker <= 0xC3) {
                height_ = static_cast<float>(ReadBigEndian(bytes, at + 5, 2));
                width_ = static_cast<float>(ReadBigEndian(bytes, at + 7, 2));
                return;
            }
            if (length < 2)
                return;
            at += 2 + length;
        }
    }
}

std::unique_ptr<ImageData> RecordingRenderer::CreateImageData(std::string_view base64,
                                                              ImageEncoding encoding) {
    return std::make_unique<RecordingImageData>(DecodeBase64(base64), encoding);
}

std::unique_ptr<Path> RecordingRenderer::CreatePath() {
    ++pathsCreated;
    return std::make_unique<RecordingPath>();
}

std::unique_ptr<Transform> RecordingRenderer::CreateTransform(float a, float b, float c, float d,
                                                              float e, float f) {
    ++transformsCreated;
    return std::make_unique<RecordingTransform>(Matrix{a, b, c, d, e, f});
}

void RecordingRenderer::Save(const GraphicStyle& style) {
    State next = states_.back();
    next.opacity *= style.opacity;
    if (style.transform)
        next.transform = next.transform.Times(MatrixOf(*style.transform));
    states_.push_back(next);
    maxDepth = std::max(maxDepth, ++depth);
    ++callCount;
    if (!keepCalls)
        return;
    Call call{Call::Save, style};
    if (style.transform) {
        call.hasTransform = true;
        call.transform = MatrixOf(*style.transform);
    }
    call.effectiveTransform = next.transform;
    call.effectiveOpacity = next.opacity;
    calls.push_back(std::move(call));
}

void RecordingRenderer::Restore() {
    ++callCount;
    if (states_.size() <= 1) {
        unbalanced = true;
        return;
    }
    states_.pop_back();
    --depth;
    if (keepCalls)
        calls.push_back(Call{Call::Restore, GraphicStyle{}});
}

Call RecordingRenderer::BeginDrawCall(Call::Kind kind, const GraphicStyle& style) const {
    Call call{kind, style};
    if (style.transform) {
        call.hasTransform = true;
        call.transform = MatrixOf(*style.transform);
    }
    call.effectiveTransform = states_.back().transform;
    if (style.transform)
        call.effectiveTransform = call.effectiveTransform.Times(call.transform);
    call.effectiveOpacity = states_.back().opacity * style.opacity;
    return call;
}

void RecordingRenderer::DrawPath(const Path& path, const GraphicStyle& style, const FillStyle& fill,
                                 const StrokeStyle& stroke) {
    const auto& recorded = dynamic_cast<const RecordingPath&>(path);
    ++callCount;
    if (!keepCalls)
        return;
    Call call = BeginDrawCall(Call::DrawPath, style);
    call.path = recorded.ops;
    call.fill = fill;
    call.stroke = stroke;
    calls.push_back(std::move(call));
}

void RecordingRenderer::DrawImage(const ImageData& image, const GraphicStyle& style,
                                  const RectF& clipArea, const RectF& fillArea) {
    const auto& recorded = dynamic_cast<const RecordingImageData&>(image);
    ++callCount;
    if (!keepCalls)
        return;
    Call call = BeginDrawCall(Call::DrawImage, style);
    call.image = &recorded;
    call.clipArea = clipArea;
    call.fillArea = fillArea;
    calls.push_back(std::move(call));
}

} // namespace SVGTest
