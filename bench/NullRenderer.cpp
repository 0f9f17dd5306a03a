#include "NullRenderer.h"

namespace bench {
namespace {

// Counts its operations only, so the calls cannot be optimised away as unused.
class NullPath : public SVGEngine::Path {
  public:
    void AddRect(float, float, float, float) override { ++operations_; }
    void AddRoundedRect(float, float, float, float, float) override { ++operations_; }
    void AddEllipse(float, float, float, float) override { ++operations_; }
    void MoveTo(float, float) override { ++operations_; }
    void LineTo(float, float) override { ++operations_; }
    void CurveTo(float, float, float, float, float, float) override { ++operations_; }
    void QuadTo(float, float, float, float) override { ++operations_; }
    void ClosePath() override { ++operations_; }

  private:
    unsigned operations_ = 0;
};

class NullTransform : public SVGEngine::Transform {
  public:
    void Set(float, float, float, float, float, float) override {}
    void Rotate(float) override {}
    void Translate(float, float) override {}
    void Scale(float, float) override {}
    void Concat(const SVGEngine::Transform&) override {}
};

// An image of one pixel: the engine only asks for its size.
class NullImage : public SVGEngine::ImageData {
  public:
    float Width() const override { return 1.0f; }
    float Height() const override { return 1.0f; }
};

} // namespace

std::unique_ptr<SVGEngine::ImageData> NullRenderer::CreateImageData(std::string_view base64,
                                                                    SVGEngine::ImageEncoding) {
    if (base64.empty())
        return nullptr;
    return std::make_unique<NullImage>();
}

std::unique_ptr<SVGEngine::Path> NullRenderer::CreatePath() {
    return std::make_unique<NullPath>();
}

std::unique_ptr<SVGEngine::Transform> NullRenderer::CreateTransform(float, float, float, float,
                                                                    float, float) {
    return std::make_unique<NullTransform>();
}

} // namespace bench
