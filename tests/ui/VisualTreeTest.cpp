// The visual tree as the compositor shows it: offsets, effect-group opacity, rounded clips,
// order and removal of visuals, each checked on the pixels of the composed frame.
#include "Colours.h"
#include "CompositionTestSupport.h"
#include "Wait.h"

#include <gtest/gtest.h>
#include <wrl/client.h>

#include <cmath>
#include <deque>
#include <memory>
#include <vector>

using namespace CompositionTest;
using namespace TestSupport;

namespace {

constexpr std::uint32_t kWhite = 0xFFFFFF;
constexpr std::uint32_t kRed = 0xFF0000;
constexpr std::uint32_t kGreen = 0x00FF00;
constexpr std::uint32_t kBlue = 0x0000FF;

// One window for the whole suite: each case hangs its visuals under a white card and takes
// them away again.
class VisualTree : public testing::Test {
  protected:
    static void SetUpTestSuite() {
        window_ = new HostWindow(60, 60, 732, 432);
        card_ = new TestVisual(AddFilledVisual(window_->Device(), *window_->Host().RootVisual(), 16,
                                               16, 700, 400, kWhite));
        empty_ = new Composition::Pixels(window_->CommitAndRead());
    }
    static void TearDownTestSuite() {
        delete empty_;
        delete card_;
        delete window_;
    }
    void TearDown() override {
        for (auto& v : added_)
            card_->visual->RemoveVisual(v.visual);
        added_.clear();
        window_->CommitAndRead();
    }
    // A visual on the card, at card coordinates.
    TestVisual& Add(int x, int y, int w, int h, std::uint32_t rgb, float opacity = 1.0f,
                    Composition::Visual* parent = nullptr) {
        TestVisual v = AddFilledVisual(Device(), parent ? *parent : *card_->visual, x, y, w, h, rgb,
                                       1.0f, opacity);
        if (!parent)
            added_.push_back(v);
        else
            children_.push_back(v);
        return parent ? children_.back() : added_.back();
    }
    Composition::Device& Device() { return window_->Device(); }
    Composition::Pixels Commit() { return window_->CommitAndRead(); }

    static HostWindow* window_;
    static TestVisual* card_;
    static Composition::Pixels* empty_;
    std::deque<TestVisual> added_; // keeps references to its elements valid
    std::deque<TestVisual> children_;
};

HostWindow* VisualTree::window_ = nullptr;
TestVisual* VisualTree::card_ = nullptr;
Composition::Pixels* VisualTree::empty_ = nullptr;

struct Probe {
    int x, y; // frame coordinates
    std::uint32_t expected;
};

void ExpectPixels(const Composition::Pixels& frame, const std::vector<Probe>& probes,
                  int tolerance = 1) {
    ASSERT_GT(frame.width, 0);
    for (const Probe& p : probes)
        EXPECT_TRUE(Near(frame.At(p.x, p.y), p.expected, tolerance))
            << "at (" << p.x << "," << p.y << ") " << Hex(frame.At(p.x, p.y)) << " expected "
            << Hex(p.expected);
}

TEST_F(VisualTree, OffsetsAddUpAlongTheTree) {
    // The card sits at (16, 16); a box at (100, 50) on it; a child at (30, 20) in the box.
    TestVisual& box = Add(100, 50, 40, 30, kRed);
    Add(30, 20, 5, 5, kBlue, 1.0f, box.visual.get());
    const Composition::Pixels frame = Commit();
    ExpectPixels(frame, {
                            {116, 66, 0xFFFF0000}, // box's first pixel
                            {115, 66, 0xFFFFFFFF}, // card left of it
                            {155, 95, 0xFFFF0000}, // box's last pixel
                            {156, 95, 0xFFFFFFFF}, // card right of it
                            {155, 96, 0xFFFFFFFF}, // card below it
                            {146, 86, 0xFF0000FF}, // child's first pixel
                            {150, 90, 0xFF0000FF}, // child's last pixel
                            {151, 90, 0xFFFF0000}, // box again
                        });
    // Moving the box takes its child along.
    box.visual->SetOffsetX(200);
    const Composition::Pixels moved = Commit();
    ExpectPixels(moved, {{146, 86, 0xFFFFFFFF}, {246, 86, 0xFF0000FF}, {216, 66, 0xFFFF0000}});
}

TEST_F(VisualTree, OpacityFadesTheVisualAndItsChildrenAsOneGroup) {
    // Green at 50 % over white.
    Add(10, 10, 20, 20, kGreen, 0.5f);
    // Red at 50 % with an opaque blue child over half of it: the group is blue-and-red, then
    // faded; blue never mixes with the red below it.
    TestVisual& group = Add(100, 10, 40, 20, kRed, 0.5f);
    Add(20, 0, 20, 20, kBlue, 1.0f, group.visual.get());
    // Nothing of an object at opacity 0.
    Add(200, 10, 20, 20, kRed, 0.0f);
    const Composition::Pixels frame = Commit();
    const std::uint32_t white = 0xFFFFFFFF;
    ExpectPixels(frame, {
                            {36, 36, Over(Premultiplied(kGreen, 0.5f), white)},
                            {126, 36, Over(Premultiplied(kRed, 0.5f), white)},
                            {146, 36, Over(Premultiplied(kBlue, 0.5f), white)},
                            {226, 36, white},
                        });
}

TEST_F(VisualTree, RoundedClipLeavesTheCornersTransparent) {
    // A 100 x 100 blue square clipped to itself with 20-pixel corners, over the red box below.
    Add(300, 100, 100, 100, kRed);
    TestVisual& square = Add(300, 100, 100, 100, kBlue);
    std::shared_ptr<Composition::RectangleClip> clip;
    ASSERT_EQ(Device().CreateRectangleClip(&clip), S_OK);
    clip->SetEdges(0, 0, 100, 100);
    const float radii[8] = {20, 20, 20, 20, 20, 20, 20, 20};
    clip->SetRadii(radii);
    square.visual->SetClip(clip);
    const Composition::Pixels frame = Commit();
    const int left = 316, top = 116;
    ExpectPixels(frame, {
                            {left, top, 0xFFFF0000}, // corner: the red below
                            {left + 99, top, 0xFFFF0000},
                            {left, top + 99, 0xFFFF0000},
                            {left + 99, top + 99, 0xFFFF0000},
                            {left + 50, top, 0xFF0000FF}, // straight edges are blue
                            {left, top + 50, 0xFF0000FF},
                            {left + 10, top + 10, 0xFF0000FF}, // inside the arc
                            {left + 50, top + 50, 0xFF0000FF},
                        });
    // Each corner lets through the area of a quarter circle, smoothed at its edge: the blue
    // share of the 20 x 20 corner squares is 400 - 100 pi (about 85.8 pixels) short of full.
    const int corners[4][2] = {{0, 0}, {80, 0}, {0, 80}, {80, 80}};
    for (const auto& corner : corners) {
        double blue = 0;
        int partial = 0;
        for (int y = 0; y < 20; ++y) {
            for (int x = 0; x < 20; ++x) {
                const int b = Channel(frame.At(left + corner[0] + x, top + corner[1] + y), 0);
                blue += b / 255.0;
                partial += b > 0 && b < 255;
            }
        }
        EXPECT_NEAR(400 - blue, 400 - 100 * 3.14159265, 3.0)
            << "corner " << corner[0] << "," << corner[1];
        EXPECT_GT(partial, 10) << "the arc is smoothed";
    }
    // Without its clip the square is whole again.
    square.visual->SetClip(nullptr);
    ExpectPixels(Commit(), {{left, top, 0xFF0000FF}, {left + 99, top + 99, 0xFF0000FF}});
}

TEST_F(VisualTree, RemovedVisualsLeaveAndComeBackOnTop) {
    TestVisual& red = Add(400, 200, 50, 50, kRed);
    TestVisual& blue = Add(425, 225, 50, 50, kBlue);
    // The later sibling is on top.
    ExpectPixels(Commit(), {{446, 246, 0xFF0000FF}, {420, 220, 0xFFFF0000}});

    // Removed: the red one leaves with nothing left of it; its place shows the card.
    card_->visual->RemoveVisual(red.visual);
    ExpectPixels(Commit(), {{420, 220, 0xFFFFFFFF}, {446, 246, 0xFF0000FF}});
    // Back: now above its former upper sibling.
    card_->visual->AddVisual(red.visual);
    ExpectPixels(Commit(),
                 {{420, 220, 0xFFFF0000}, {446, 246, 0xFFFF0000}, {480, 260, 0xFF0000FF}});
    // A visual is in one place of the tree at a time.
    EXPECT_EQ(card_->visual->AddVisual(red.visual), E_INVALIDARG);
    EXPECT_EQ(red.visual->AddVisual(card_->visual), E_INVALIDARG);
    (void)blue;
}

TEST_F(VisualTree, ChangesShowOnlyAtTheCommit) {
    TestVisual& box = Add(500, 300, 30, 30, kRed);
    const Composition::Pixels shown = Commit();
    box.visual->SetOffsetX(550);
    FillSurface(*box.surface, kBlue);
    // Not committed: the frame on the screen is the old one.
    PumpFor(50);
    EXPECT_TRUE(window_->Read().data == shown.data);
    ExpectPixels(Commit(), {{516, 316, 0xFFFFFFFF}, {566, 316, 0xFF0000FF}});
}

// Pixels copied into a surface show as the same pixels drawn into it with Direct2D would:
// at its top-left corner, the rest transparent, and cut at its edges.
TEST_F(VisualTree, CopiedPixelsShowAsDrawnOnes) {
    constexpr int kW = 40, kH = 30, kStride = 44; // rows padded, as GDI+ may lay them out
    std::vector<std::uint32_t> picture(static_cast<size_t>(kStride) * kH, 0xDEADBEEFu);
    for (int y = 0; y < kH; ++y) {
        for (int x = 0; x < kW; ++x) {
            const std::uint32_t a = (x * 255 / (kW - 1)) & 0xFF;
            picture[static_cast<size_t>(y) * kStride + x] =
                (a << 24) | ((a * y / kH) << 16) | ((a * (kW - x) / kW) << 8) | (a / 2);
        }
    }
    TestVisual& copied = Add(100, 50, 50, 40, kGreen);
    TestVisual& drawn = Add(200, 50, 50, 40, kGreen);
    ASSERT_HRESULT_SUCCEEDED(copied.surface->CopyPixels(picture.data(), kW, kH, kStride * 4));
    Microsoft::WRL::ComPtr<ID2D1RenderTarget> context;
    POINT offset{};
    ASSERT_HRESULT_SUCCEEDED(drawn.surface->BeginDraw(&context, &offset));
    // While one surface is being drawn, pixels still go into another, but not into that one.
    EXPECT_HRESULT_SUCCEEDED(copied.surface->CopyPixels(picture.data(), kW, kH, kStride * 4));
    EXPECT_HRESULT_FAILED(drawn.surface->CopyPixels(picture.data(), kW, kH, kStride * 4));
    context->Clear(D2D1::ColorF(0, 0.0f));
    Microsoft::WRL::ComPtr<ID2D1Bitmap> bitmap;
    ASSERT_HRESULT_SUCCEEDED(
        context->CreateBitmap(D2D1::SizeU(kW, kH), picture.data(), kStride * 4,
                              D2D1::BitmapProperties(D2D1::PixelFormat(
                                  DXGI_FORMAT_B8G8R8A8_UNORM, D2D1_ALPHA_MODE_PREMULTIPLIED)),
                              &bitmap));
    context->DrawBitmap(bitmap.Get(),
                        D2D1::RectF(static_cast<float>(offset.x), static_cast<float>(offset.y),
                                    static_cast<float>(offset.x + kW),
                                    static_cast<float>(offset.y + kH)));
    ASSERT_HRESULT_SUCCEEDED(drawn.surface->EndDraw());

    const Composition::Pixels frame = Commit();
    int different = 0;
    for (int y = 0; y < 40; ++y) {
        for (int x = 0; x < 50; ++x)
            different += !Near(frame.At(116 + x, 66 + y), frame.At(216 + x, 66 + y), 1);
    }
    EXPECT_EQ(different, 0);
    ExpectPixels(frame, {
                            {116, 66, 0xFFFFFFFF}, // alpha 0: the card
                            {116 + kW - 1, 66, Over(picture[kW - 1], 0xFFFFFFFF)},
                            {116 + kW, 66, 0xFFFFFFFF}, // beyond the picture
                            {116, 66 + kH, 0xFFFFFFFF},
                        });

    // Larger than the surface: cut at its right and bottom edges.
    std::vector<std::uint32_t> large(60 * 50, 0xFF0000FFu);
    large[39 * 60 + 49] = 0xFFFF0000u;
    ASSERT_HRESULT_SUCCEEDED(copied.surface->CopyPixels(large.data(), 60, 50, 60 * 4));
    ExpectPixels(Commit(), {{116, 66, 0xFF0000FF},
                            {165, 105, 0xFFFF0000},
                            {166, 105, 0xFFFFFFFF},
                            {165, 106, 0xFFFFFFFF}});
}

// Windows alive at the same time share the process's graphics objects; a window closing leaves
// the other one working, and the objects go with the last window. The software compositor makes
// no Direct3D device at all.
TEST(SharedDevices, OneSetForTheWindowsAliveAndGoneWithTheLast) {
    Microsoft::WRL::ComPtr<ID2D1Factory> first;
    {
        auto main = std::make_unique<HostWindow>(60, 60, 300, 200);
        auto dialog = std::make_unique<HostWindow>(120, 120, 200, 100);
        ASSERT_NE(main->Host().D2DFactory(), nullptr);
        EXPECT_EQ(dialog->Host().D2DFactory(), main->Host().D2DFactory());
        EXPECT_EQ(dialog->Host().DWriteFactory(), main->Host().DWriteFactory());
        EXPECT_EQ(main->Host().D3DDevice(), nullptr);
        EXPECT_EQ(main->Host().D2DDevice(), nullptr);
        first = main->Host().D2DFactory();

        // The dialog closes; the main window goes on drawing and showing.
        dialog.reset();
        AddFilledVisual(main->Device(), *main->Host().RootVisual(), 50, 50, 40, 30, kBlue);
        EXPECT_EQ(main->CommitAndRead().At(60, 60), 0xFF0000FFu);
        EXPECT_EQ(main->Host().D2DFactory(), first.Get());
    }
    // A factory still referenced elsewhere is not handed out again: the last window took the
    // set with it, and the next window makes its own.
    HostWindow next(60, 60, 300, 200);
    ASSERT_NE(next.Host().D2DFactory(), nullptr);
    EXPECT_NE(next.Host().D2DFactory(), first.Get());
}

} // namespace
