// The window frame's shadow as the compositor shows it: where the silhouette's edges lie, how
// the blur falls off, both styles, nothing outside it, no repaint for object changes nor for a
// size the frame already has, and the fast blur the same as the plain one.
#include "Colours.h"
#include "CompositionTestSupport.h"
#include "FrameShadow.h"

#include "svg/gdiplus/GDIPlusApi.h"

#include <gtest/gtest.h>

#include <cstring>

#include <cmath>
#include <ostream>
#include <vector>

using namespace CompositionTest;
using namespace SVGEngine;
using TestSupport::Channel;

namespace {

// The silhouette as GDI+ fills it, the reference for the one filled in memory.
bool DrawSilhouette(int width, int height, const RECT& rect, Silhouette* silhouette) {
    GpBitmap* raw = nullptr;
    if (GdipCreateBitmapFromScan0(width, height, 0, PixelFormat32bppPARGB, nullptr, &raw) != Ok)
        return false;
    const UniqueImage bitmap(raw);
    GpGraphics* rawGraphics = nullptr;
    if (GdipGetImageGraphicsContext(raw, &rawGraphics) != Ok)
        return false;
    UniqueGraphics graphics(rawGraphics);
    auto fill = [&](ARGB colour, INT x, INT y, INT w, INT h) {
        GpSolidFill* brush = nullptr;
        if (GdipCreateSolidFill(colour, &brush) != Ok)
            return false;
        const UniqueBrush owned(brush);
        return GdipFillRectangleI(graphics.get(), brush, x, y, w, h) == Ok;
    };
    if (!fill(0x00000000, 0, 0, width, height))
        return false;
    fill(0xFF000000, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
    graphics.reset();

    UINT rows = 0;
    GdipGetImageHeight(raw, &rows);
    const GpRect whole{0, 0, width, height};
    BitmapData data{};
    if (GdipBitmapLockBits(raw, &whole, ImageLockModeRead, PixelFormat32bppPARGB, &data) != Ok)
        return false;
    silhouette->width = width;
    silhouette->height = height;
    silhouette->stride = data.Stride;
    silhouette->pixels.resize(static_cast<size_t>(data.Stride) * rows);
    std::memcpy(silhouette->pixels.data(), data.Scan0, silhouette->pixels.size());
    GdipBitmapUnlockBits(raw, &data);
    return true;
}

struct ShadowCase {
    const char* name;
    bool active;
    double sigma;
    double opacity;
    // The silhouette for a 732 x 432 window at 96 DPI: x from 15 to right, y from 15 to bottom.
    int right;
    int bottom;
};

const ShadowCase kShadowCases[] = {
    {"inactive", false, 1.83, 0.25, 718, 418},
    {"active", true, 6.0, 0.2, 722, 422},
};

// Test names and messages show the style's name.
void PrintTo(const ShadowCase& c, std::ostream* out) {
    *out << c.name;
}

constexpr int kWidth = 732;
constexpr int kHeight = 432;
constexpr int kEdge = 15;

int Alpha(const Composition::Pixels& frame, int x, int y) {
    return Channel(frame.At(x, y), 24);
}

// A blurred step, sampled at the pixel's centre: the share of the Gaussian over the solid side.
double Step(double distanceInside, double sigma) {
    return 0.5 * std::erfc(-distanceInside / (sigma * std::sqrt(2.0)));
}

class FrameShadow : public testing::TestWithParam<ShadowCase> {};

TEST_P(FrameShadow, EdgesLieWhereTheSilhouetteEnds) {
    const ShadowCase& c = GetParam();
    HostWindow window(40, 40, kWidth, kHeight, c.active);
    const Composition::Pixels frame = window.Read();
    ASSERT_EQ(frame.width, kWidth);
    ASSERT_EQ(frame.height, kHeight);
    const int full = static_cast<int>(std::lround(255 * c.opacity));
    const int midX = kWidth / 2;
    const int midY = kHeight / 2;
    EXPECT_NEAR(Alpha(frame, midX, midY), full, 1);

    // Blurring an edge between pixels e - 1 and e splits the full strength between the two.
    struct Edge {
        int outsideX, outsideY, insideX, insideY;
    };
    const Edge edges[] = {
        {kEdge - 1, midY, kEdge, midY},       // left
        {c.right, midY, c.right - 1, midY},   // right
        {midX, kEdge - 1, midX, kEdge},       // top
        {midX, c.bottom, midX, c.bottom - 1}, // bottom
    };
    for (const Edge& e : edges) {
        const int outside = Alpha(frame, e.outsideX, e.outsideY);
        const int inside = Alpha(frame, e.insideX, e.insideY);
        EXPECT_NEAR(outside + inside, full, 2)
            << "edge between (" << e.outsideX << "," << e.outsideY << ") and (" << e.insideX << ","
            << e.insideY << ")";
        EXPECT_LT(outside, inside);
    }
}

TEST_P(FrameShadow, FallsOffAsTheGaussianAndEndsWithinThreeSigma) {
    const ShadowCase& c = GetParam();
    HostWindow window(40, 40, kWidth, kHeight, c.active);
    const Composition::Pixels frame = window.Read();
    ASSERT_EQ(frame.width, kWidth);
    const double full = 255 * c.opacity;
    const int reach = static_cast<int>(std::ceil(3 * c.sigma));

    // Along the middle row beyond the right edge, and the middle column below the bottom edge.
    const int midY = kHeight / 2;
    const int midX = kWidth / 2;
    int previousRight = 256;
    int previousBottom = 256;
    for (int d = -reach; d <= reach + 1; ++d) {
        const int x = c.right + d;
        const int y = c.bottom + d;
        const double expected = full * Step(-(d + 0.5), c.sigma);
        if (x < kWidth) {
            const int a = Alpha(frame, x, midY);
            EXPECT_NEAR(a, expected, 2.5) << "x " << x;
            EXPECT_LE(a, previousRight) << "x " << x;
            previousRight = a;
        }
        if (y < kHeight) {
            const int a = Alpha(frame, midX, y);
            EXPECT_NEAR(a, expected, 2.5) << "y " << y;
            EXPECT_LE(a, previousBottom) << "y " << y;
            previousBottom = a;
        }
    }

    // Black everywhere, and nothing at all beyond the blur's reach from the silhouette.
    int coloured = 0, beyond = 0;
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            const std::uint32_t p = frame.At(x, y);
            coloured += (p & 0x00FFFFFFu) != 0;
            const bool distant = x < kEdge - reach || y < kEdge - reach || x >= c.right + reach ||
                                 y >= c.bottom + reach;
            beyond += distant && p != 0;
        }
    }
    EXPECT_EQ(coloured, 0);
    EXPECT_EQ(beyond, 0);
    // The corner of the margin far from the silhouette is see-through.
    EXPECT_EQ(frame.At(kWidth - 1, 0), 0u);
    EXPECT_EQ(frame.At(0, kHeight - 1), 0u);
}

// The shadow as the plain two passes give it, every sum over every row and column: the fast
// blur must give the same picture to the bit.
Composition::Pixels PlainBlur(const Silhouette& silhouette, ShadowStyle style) {
    const int w = silhouette.width, h = silhouette.height;
    const int radius = static_cast<int>(std::ceil(3.0f * style.sigma));
    std::vector<float> weights(radius + 1);
    float total = 0;
    for (int k = 0; k <= radius; ++k) {
        weights[k] = std::exp(-static_cast<float>(k * k) / (2.0f * style.sigma * style.sigma));
        total += k == 0 ? weights[k] : 2 * weights[k];
    }
    for (float& weight : weights)
        weight /= total;
    auto solid = [&](int x, int y) {
        return silhouette.pixels[static_cast<size_t>(y) * silhouette.stride + x * 4 + 3] ? 1.0f
                                                                                         : 0.0f;
    };
    std::vector<float> across(static_cast<size_t>(w) * h);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            float sum = 0;
            for (int k = std::max(-radius, -x); k <= std::min(radius, w - 1 - x); ++k)
                sum += weights[std::abs(k)] * solid(x + k, y);
            across[static_cast<size_t>(y) * w + x] = sum;
        }
    }
    Composition::Pixels shadow(w, h);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            float sum = 0;
            for (int k = std::max(-radius, -y); k <= std::min(radius, h - 1 - y); ++k)
                sum += weights[std::abs(k)] * across[static_cast<size_t>(y + k) * w + x];
            shadow.Row(y)[x] = static_cast<std::uint32_t>(
                                   std::lround(std::min(1.0f, sum) * style.opacity * 255.0f))
                               << 24;
        }
    }
    return shadow;
}

TEST(FrameShadowBlur, SameToTheBitAsThePlainTwoPasses) {
    struct Shape {
        const char* name;
        int width, height;
        std::vector<RECT> solid;
        int alpha; // of the solid pixels: any alpha counts
    };
    const Shape shapes[] = {
        {"window", 732, 432, {{15, 15, 722, 422}}, 255},
        {"small window", 120, 90, {{15, 15, 107, 77}}, 255},
        {"two rectangles", 200, 150, {{10, 10, 90, 60}, {60, 40, 190, 140}}, 255},
        {"faint dots and a bar", 160, 120, {{5, 5, 6, 6}, {80, 30, 81, 31}, {0, 100, 160, 104}}, 3},
        {"touching the edges", 100, 80, {{0, 0, 100, 80}}, 128},
        {"thinner than the reach", 90, 90, {{40, 0, 44, 90}, {0, 40, 90, 43}}, 255},
        {"empty", 50, 40, {}, 255},
    };
    for (const Shape& shape : shapes) {
        Silhouette silhouette;
        silhouette.width = shape.width;
        silhouette.height = shape.height;
        silhouette.stride = shape.width * 4 + 8;
        silhouette.pixels.assign(static_cast<size_t>(silhouette.stride) * shape.height, 0);
        for (const RECT& r : shape.solid) {
            for (int y = r.top; y < r.bottom; ++y) {
                for (int x = r.left; x < r.right; ++x)
                    silhouette.pixels[static_cast<size_t>(y) * silhouette.stride + x * 4 + 3] =
                        static_cast<BYTE>(shape.alpha);
            }
        }
        for (const ShadowStyle style : {FrameShadowStyle(true), FrameShadowStyle(false)}) {
            const Composition::Pixels fast = BlurShadow(silhouette, style);
            const Composition::Pixels plain = PlainBlur(silhouette, style);
            ASSERT_EQ(fast.width, plain.width) << shape.name;
            ASSERT_EQ(fast.height, plain.height) << shape.name;
            size_t different = 0;
            for (size_t i = 0; i < plain.data.size(); ++i)
                different += fast.data[i] != plain.data[i];
            EXPECT_EQ(different, 0u) << shape.name << ", sigma " << style.sigma;
        }
    }
}

// The silhouette filled in memory for the CPU's shadow is GDI+'s to the byte.
TEST(FrameShadowSilhouette, FilledInMemoryAsGdiPlusFillsIt) {
    struct Shape {
        const char* name;
        int width, height;
        RECT rect;
    };
    const Shape shapes[] = {
        {"window at 100 %", 732, 432, {15, 15, 722, 422}},
        {"window at 150 %", 1098, 648, {23, 23, 1084, 634}},
        {"touching the edges", 100, 80, {0, 0, 100, 80}},
        {"beyond the edges", 100, 80, {-5, -7, 140, 90}},
        {"one pixel", 40, 30, {20, 10, 21, 11}},
        {"empty", 40, 30, {20, 10, 20, 25}},
    };
    for (const Shape& shape : shapes) {
        Silhouette drawn;
        ASSERT_TRUE(DrawSilhouette(shape.width, shape.height, shape.rect, &drawn)) << shape.name;
        const Silhouette filled = FilledSilhouette(shape.width, shape.height, shape.rect);
        ASSERT_EQ(filled.width, drawn.width) << shape.name;
        ASSERT_EQ(filled.height, drawn.height) << shape.name;
        int different = 0;
        for (int y = 0; y < shape.height; ++y)
            different += std::memcmp(filled.pixels.data() + static_cast<size_t>(y) * filled.stride,
                                     drawn.pixels.data() + static_cast<size_t>(y) * drawn.stride,
                                     static_cast<size_t>(shape.width) * 4) != 0;
        EXPECT_EQ(different, 0) << shape.name << ": rows that differ";
    }
}

INSTANTIATE_TEST_SUITE_P(Styles, FrameShadow, testing::ValuesIn(kShadowCases),
                         [](const testing::TestParamInfo<ShadowCase>& info) {
                             return std::string(info.param.name);
                         });

TEST(FrameShadowRepaint, OnlySizeAndActivationRepaintIt) {
    HostWindow window(40, 40, kWidth, kHeight, false);
    CountingHost& host = window.Host();
    ASSERT_EQ(host.frameDraws, 1);
    const Composition::Pixels before = window.Read();

    // Objects come, move, change and go: the frame is not painted again, and the margin keeps
    // its shadow.
    TestVisual object =
        AddFilledVisual(window.Device(), *host.RootVisual(), 100, 100, 60, 40, 0x3366CC);
    window.CommitAndRead();
    object.visual->SetOffsetX(690);
    object.visual->SetOffsetY(380);
    FillSurface(*object.surface, 0xCC3333, 0.5f);
    window.CommitAndRead();
    host.RootVisual()->RemoveVisual(object.visual);
    const Composition::Pixels after = window.CommitAndRead();
    EXPECT_EQ(host.frameDraws, 1);
    EXPECT_TRUE(after.data == before.data);

    // A second paint builds nothing again.
    Composition::Device* device = host.CompositionDevice();
    const Composition::Visual* root = host.RootVisual().get();
    host.CreateDevices();
    EXPECT_EQ(host.CompositionDevice(), device);
    EXPECT_EQ(host.RootVisual().get(), root);
    EXPECT_EQ(host.frameDraws, 1);

    // Minimised: nothing; a new size: one repaint at that size.
    host.OnSize(SIZE_MINIMIZED, MAKELPARAM(0, 0));
    EXPECT_EQ(host.frameDraws, 1);
    SetWindowPos(window.Handle(), nullptr, 0, 0, 500, 300,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(host.frameDraws, 2);
    const Composition::Pixels resized = window.Read();
    ASSERT_EQ(resized.width, 500);
    ASSERT_EQ(resized.height, 300);
    // The inactive silhouette's right edge follows the size: 500 - 16 + 2.
    EXPECT_NEAR(Alpha(resized, 485, 150) + Alpha(resized, 486, 150), 64, 2);

    // The same size again (the system repeats WM_SIZE when the window is shown): nothing to
    // repaint. The same size with the other style: a repaint.
    host.OnSize(SIZE_RESTORED, MAKELPARAM(500, 300));
    EXPECT_EQ(host.frameDraws, 2);
    host.m_active = 1;
    host.OnSize(SIZE_RESTORED, MAKELPARAM(500, 300));
    EXPECT_EQ(host.frameDraws, 3);
    EXPECT_NEAR(Alpha(window.CommitAndRead(), 250, 150), 51, 1);
    host.m_active = 0;
    host.OnSize(SIZE_RESTORED, MAKELPARAM(500, 300));
    EXPECT_EQ(host.frameDraws, 4);

    // Activation switches the style at the next paint.
    host.m_active = 1;
    host.DrawFrame();
    const Composition::Pixels active = window.CommitAndRead();
    EXPECT_NEAR(Alpha(active, 250, 150), 51, 1);
    EXPECT_NEAR(Alpha(active, 489, 150) + Alpha(active, 490, 150), 51, 2);
}

} // namespace
