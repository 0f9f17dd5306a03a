#include "svg/gdiplus/GDIPlusSVGRenderer.h"

#include "svg/gdiplus/GDIPlusColor.h"
#include "svg/gdiplus/GDIPlusGradientBrush.h"
#include "svg/gdiplus/GDIPlusSVGImageData.h"
#include "svg/gdiplus/GDIPlusSVGPath.h"
#include "svg/gdiplus/GDIPlusSVGTransform.h"
#include "svg/gdiplus/GDIPlusStrokePen.h"

#include <algorithm>

namespace SVGEngine {
namespace {

// Saves the target's state for one draw call and restores it on every way out.
class ScopedGraphicsState {
  public:
    ScopedGraphicsState(GpGraphics* target, GDIPlusStatusKeeper& status)
        : target_(target), status_(status) {
        status_.Keep(GdipSaveGraphics(target_, &state_));
    }
    ~ScopedGraphicsState() { status_.Keep(GdipRestoreGraphics(target_, state_)); }
    ScopedGraphicsState(const ScopedGraphicsState&) = delete;
    ScopedGraphicsState& operator=(const ScopedGraphicsState&) = delete;

  private:
    GpGraphics* target_;
    GDIPlusStatusKeeper& status_;
    GraphicsState state_ = 0;
};

UniquePath ClonePath(GpPath* source) {
    GpPath* clone = nullptr;
    GdipClonePath(source, &clone);
    return UniquePath(clone);
}

FillMode FillModeFor(WindingRule rule) {
    return rule == WindingRule::EvenOdd ? FillModeAlternate : FillModeWinding;
}

// The user-space extent a brush has to cover for this shape, with room for a stroke, cut to
// what the target can show (a huge shape must not make a huge gradient texture).
RectF ShapeExtent(GpGraphics* target, GpPath* shape, float margin) {
    Gdiplus::RectF bounds(0, 0, 0, 0);
    GdipGetPathWorldBounds(shape, &bounds, nullptr, nullptr);
    float left = bounds.X - margin, top = bounds.Y - margin;
    float right = bounds.X + bounds.Width + margin, bottom = bounds.Y + bounds.Height + margin;
    Gdiplus::RectF visible(0, 0, 0, 0);
    if (GdipGetVisibleClipBounds(target, &visible) == Ok && visible.Width > 0 &&
        visible.Height > 0) {
        left = std::max(left, visible.X - 1);
        top = std::max(top, visible.Y - 1);
        right = std::min(right, visible.X + visible.Width + 1);
        bottom = std::min(bottom, visible.Y + visible.Height + 1);
    }
    RectF area;
    area.x = left;
    area.y = top;
    area.width = std::max(right - left, 0.0f);
    area.height = std::max(bottom - top, 0.0f);
    return area;
}

float StrokeMargin(const StrokeStyle& stroke) {
    if (!stroke.hasStroke)
        return 0.0f;
    return stroke.lineWidth * std::max(1.0f, stroke.miterLimit);
}

bool Contains(const RectF& outer, const RectF& inner) {
    return inner.x >= outer.x && inner.y >= outer.y &&
           inner.x + inner.width <= outer.x + outer.width &&
           inner.y + inner.height <= outer.y + outer.height;
}

} // namespace

GDIPlusSVGRenderer::GDIPlusSVGRenderer() = default;

std::unique_ptr<ImageData> GDIPlusSVGRenderer::CreateImageData(std::string_view base64,
                                                               ImageEncoding) {
    return std::make_unique<GDIPlusSVGImageData>(base64);
}

std::unique_ptr<Path> GDIPlusSVGRenderer::CreatePath() {
    return std::make_unique<GDIPlusSVGPath>();
}

std::unique_ptr<Transform> GDIPlusSVGRenderer::CreateTransform(float a, float b, float c, float d,
                                                               float e, float f) {
    return std::make_unique<GDIPlusSVGTransform>(a, b, c, d, e, f);
}

void GDIPlusSVGRenderer::PushLevel(const GraphicStyle& style) {
    Level level{0, !style.display};
    if (target_)
        status_.Keep(GdipSaveGraphics(target_, &level.state));
    savedStates_.push_back(level);
    if (level.hidden)
        ++hiddenLevels_;
    currentOpacity_ = opacityStack_.back() * style.opacity;
    opacityStack_.push_back(currentOpacity_);
}

void GDIPlusSVGRenderer::PopLevel() {
    if (savedStates_.empty())
        return;
    const Level level = savedStates_.back();
    savedStates_.pop_back();
    if (target_)
        status_.Keep(GdipRestoreGraphics(target_, level.state));
    if (level.hidden)
        --hiddenLevels_;
    if (opacityStack_.size() > 1)
        opacityStack_.pop_back();
    currentOpacity_ = opacityStack_.back();
}

void GDIPlusSVGRenderer::ApplyStyle(const GraphicStyle& style) {
    if (const auto* transform = dynamic_cast<const GDIPlusSVGTransform*>(style.transform.get()))
        status_.Keep(GdipMultiplyWorldTransform(target_, transform->Handle(), MatrixOrderPrepend));

    const ClippingPath* clip = style.clippingPath.get();
    if (!clip || !clip->hasClipContent)
        return;
    const auto* clipShape = dynamic_cast<const GDIPlusSVGPath*>(clip->path.get());
    if (!clipShape)
        return;
    UniquePath region = ClonePath(clipShape->Handle());
    if (!region)
        return;
    status_.Keep(GdipSetPathFillMode(region.get(), FillModeFor(clip->clipRule)));
    if (const auto* transform = dynamic_cast<const GDIPlusSVGTransform*>(clip->transform.get()))
        status_.Keep(GdipTransformPath(region.get(), transform->Handle()));
    status_.Keep(GdipSetClipPath(target_, region.get(), CombineModeIntersect));
}

void GDIPlusSVGRenderer::Save(const GraphicStyle& style) {
    PushLevel(style);
    if (target_)
        ApplyStyle(style);
}

void GDIPlusSVGRenderer::Restore() {
    PopLevel();
}

void GDIPlusSVGRenderer::DrawPath(const Path& path, const GraphicStyle& style,
                                  const FillStyle& fill, const StrokeStyle& stroke) {
    const auto& shape = dynamic_cast<const GDIPlusSVGPath&>(path);
    if (!target_ || InsideHiddenLevel() || !style.display || !fill.visibility)
        return;

    ScopedGraphicsState scope(target_, status_);
    ApplyStyle(style);
    UniquePath clone = ClonePath(shape.Handle());
    if (!clone)
        return;
    status_.Keep(GdipSetPathFillMode(clone.get(), FillModeFor(fill.fillRule)));
    status_.Keep(GdipSetSmoothingMode(target_, SmoothingModeHighQuality));
    // Pixel centres at half coordinates, as in SVG: edges on whole units stay crisp.
    status_.Keep(GdipSetPixelOffsetMode(target_, PixelOffsetModeHalf));

    if (fill.hasFill)
        Fill(clone.get(), style, fill, stroke);
    if (stroke.hasStroke)
        Stroke(clone.get(), style, stroke);
}

void GDIPlusSVGRenderer::Fill(GpPath* shape, const GraphicStyle& style, const FillStyle& fill,
                              const StrokeStyle& stroke) {
    const float k = fill.fillOpacity * style.opacity * currentOpacity_;
    if (const Color* color = boost::get<Color>(&fill.paint)) {
        GpSolidFill* brush = nullptr;
        status_.Keep(GdipCreateSolidFill(ToArgb(*color, k), &brush));
        UniqueBrush owner(brush);
        status_.Keep(GdipFillPath(target_, brush, shape));
        return;
    }
    const Gradient* gradient = boost::get<Gradient>(&fill.paint);
    if (!gradient)
        return;
    UniqueBrush brush = CreateGradientBrush(
        *gradient, k, ShapeExtent(target_, shape, StrokeMargin(stroke)), target_);
    if (brush)
        status_.Keep(GdipFillPath(target_, brush.get(), shape));
}

void GDIPlusSVGRenderer::Stroke(GpPath* shape, const GraphicStyle& style,
                                const StrokeStyle& stroke) {
    const float k = stroke.strokeOpacity * style.opacity * currentOpacity_;
    StrokePen pen =
        CreateStrokePen(stroke, k, ShapeExtent(target_, shape, StrokeMargin(stroke)), target_);
    if (pen.pen)
        status_.Keep(GdipDrawPath(target_, pen.pen.get(), shape));
}

void GDIPlusSVGRenderer::DrawImage(const ImageData& image, const GraphicStyle& style,
                                   const RectF& clipArea, const RectF& fillArea) {
    const auto& picture = dynamic_cast<const GDIPlusSVGImageData&>(image);
    if (!picture.Handle())
        return;

    PushLevel(style);
    if (target_ && !InsideHiddenLevel()) {
        ApplyStyle(style);
        status_.Keep(GdipSetPixelOffsetMode(target_, PixelOffsetModeHalf));
        if (!Contains(clipArea, fillArea))
            status_.Keep(GdipSetClipRect(target_, clipArea.x, clipArea.y, clipArea.width,
                                         clipArea.height, CombineModeIntersect));
        // Edge pixels repeat mirrored instead of fading into transparency when scaled, and the
        // image fades with its element and the groups around it, like every other shape.
        GpImageAttributes* raw = nullptr;
        status_.Keep(GdipCreateImageAttributes(&raw));
        UniqueImageAttributes attributes(raw);
        if (raw) {
            status_.Keep(GdipSetImageAttributesWrapMode(raw, WrapModeTileFlipXY, 0, FALSE));
            if (currentOpacity_ < 1.0f) {
                ColorMatrix fade = {{{1, 0, 0, 0, 0},
                                     {0, 1, 0, 0, 0},
                                     {0, 0, 1, 0, 0},
                                     {0, 0, 0, std::max(currentOpacity_, 0.0f), 0},
                                     {0, 0, 0, 0, 1}}};
                status_.Keep(GdipSetImageAttributesColorMatrix(
                    raw, ColorAdjustTypeDefault, TRUE, &fade, nullptr, ColorMatrixFlagsDefault));
            }
        }
        const float width = picture.Width();
        const float height = picture.Height();
        status_.Keep(GdipDrawImageRectRect(target_, picture.Handle(), fillArea.x, fillArea.y,
                                           fillArea.width, fillArea.height, 0, 0, width, height,
                                           UnitPixel, attributes.get(), nullptr, nullptr));
    }
    PopLevel();
}

} // namespace SVGEngine
