// A window composed by the host from render objects, its frame read back from the
// software compositor and driven with real input (xdotool through run_with_input.sh):
// picture placement, opacity, rounded clips, hiding, every button look, and text on
// swap chains. Runs at the display's DPI (100 % and 150 % runs are registered).
#include "BitmapPixels.h"
#include "Colours.h"
#include "DialogDriver.h"
#include "Ink.h"
#include "RealInput.h"
#include "TestDialog.h"
#include "Wait.h"

#include "DCompUtil.h"
#include "DPI.h"
#include "DXGIButton.h"
#include "DXGIRenderCtrl.h"
#include "RasterCount.h"
#include "SVGButtonEx.h"
#include "SVGSOCtrl.h"
#include "TextFormat.h"

#include "ui/access/FocusRing.h"
#include "ui/composition/Pixels.h"

#include <gtest/gtest.h>

#include <windowsx.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>

namespace {

using namespace TestSupport;
using Frame = Composition::Pixels;

constexpr std::uint32_t kBackground = 0x203040;
constexpr std::uint32_t kPageColour = 0x2F3131;

const char kBackgroundSvg[] =
    "<svg width='700' height='400'><rect width='700' height='400' fill='#203040'/></svg>";
// Red left half, blue right half.
const char kTwoColourSvg[] = "<svg width='40' height='20'><rect width='20' height='20' "
                             "fill='#FF0000'/><rect x='20' width='20' height='20' "
                             "fill='#0000FF'/></svg>";
const char kWhiteSvg[] =
    "<svg width='100' height='100'><rect width='100' height='100' fill='#FFFFFF'/></svg>";

// A premultiplied pixel over an opaque colour.
std::uint32_t OverOpaque(std::uint32_t premultiplied, std::uint32_t rgb) {
    return Over(premultiplied, 0xFF000000 | rgb);
}

// A page that draws one line of text, as the dialogs' pages do.
class TextPage : public CDXGIRenderCtrl {
  public:
    void CreateResources(const RECT&) override {
        m_format.Reset();
        CreateTextFormat(m_host->DWriteFactory(), m_dpi, kBodyWeight, 14, &m_format);
        Draw();
    }
    void Draw() {
        if (ID2D1RenderTarget* target = BeginFrame()) {
            target->Clear(ColorFromRGB(kPageColour));
            Microsoft::WRL::ComPtr<ID2D1SolidColorBrush> white;
            if (m_format &&
                SUCCEEDED(target->CreateSolidColorBrush(D2D1::ColorF(1, 1, 1, 1), &white))) {
                target->DrawText(m_caption, static_cast<UINT32>(wcslen(m_caption)), m_format.Get(),
                                 TextLayoutRect(m_dpi, {10, 10, 190, 50}), white.Get());
            }
        }
        EndFrame();
    }

  private:
    Microsoft::WRL::ComPtr<IDWriteTextFormat> m_format;
};

class ComposedDialogTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(RealInput::Available()) << "run through run_with_input.sh";
        dpi_.Init();
        dialog_ = std::make_unique<UiTest::TestDialog>(60, 60, dpi_.Scale(732), dpi_.Scale(432),
                                                       &host_, &dpi_);
        driver_ = std::make_unique<Driver>(dialog_->Record(), dpi_, host_);
        dpi_.UpdateForWindow(dialog_->Handle());
        ASSERT_NE(host_.CompositionDevice(), nullptr);

        Picture(&background_, {16, 16, 716, 416}, kBackgroundSvg);
        Picture(&picture_, {100, 60, 140, 80}, kTwoColourSvg);
        Picture(&translucent_, {160, 60, 200, 100}, kWhiteSvg);
        translucent_.SetOpacity(0.5f);
        Picture(&card_, {220, 60, 320, 120}, kWhiteSvg);
        const int r = dpi_.Scale(16);
        const int radii[8] = {r, r, r, r, r, r, r, r};
        card_.SetClip({0, 0, card_.PixelWidth(), card_.PixelHeight()}, radii);

        const HWND window = dialog_->Handle();
        for (CSVGSimpleObject* object : std::initializer_list<CSVGSimpleObject*>{
                 &minimize_, &uninstall_, &textButton_, &page_}) {
            object->m_dpi = &dpi_;
            object->m_host = &host_;
        }
        minimize_.Create(window, {648, 28, 672, 52}, L"最小化", 2024, nullptr,
                         CSVGButtonEx::kSpriteMode);
        minimize_.LoadSVGResource(237);
        uninstall_.Create(window, {243, 332, 443, 376}, L"立即卸载", 3043, nullptr,
                          CSVGButtonEx::kRecolourMode);
        uninstall_.LoadSVGResource(262);
        textButton_.Create(window, {300, 200, 378, 240}, L"确定", 2025, nullptr, 0);
        page_.Create(window, {60, 200, 260, 260}, L"卸载 Text", 0, nullptr, 0);
        for (CSVGSimpleObject* object :
             std::initializer_list<CSVGSimpleObject*>{&minimize_, &uninstall_, &textButton_})
            dialog_->MouseList().Append(object);

        host_.Commit();
        dialog_->Show();
        MoveAway();
    }

    void TearDown() override {
        // Nothing may stay pressed for the next test.
        RealInput::Release();
        PumpFor(50);
    }

    void Picture(CSVGSOCtrl* picture, const RECT& designRect, const char* svg) {
        picture->m_dpi = &dpi_;
        picture->m_host = &host_;
        picture->Create(dialog_->Handle(), designRect, nullptr, 0, nullptr, 0);
        picture->SetSVGText(svg);
        picture->Redraw();
    }

    POINT Client(int designX, int designY) const {
        return {dpi_.Scale(designX), dpi_.Scale(designY)};
    }

    void MoveTo(int x, int y) {
        ASSERT_TRUE(driver_->MoveTo({x, y}))
            << "no WM_MOUSEMOVE at " << x << "," << y << "; last at "
            << GET_X_LPARAM(dialog_->Record().lastMove) << ","
            << GET_Y_LPARAM(dialog_->Record().lastMove);
    }
    void MoveToCentre(const CSVGSimpleObject& object) {
        const RECT& r = object.Rect();
        MoveTo((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    }
    // A point of the background no object covers. (The transparent margin would not do:
    // a layered window's fully transparent pixels let the mouse through.)
    void MoveAway() { MoveTo(dpi_.Scale(30), dpi_.Scale(400)); }
    void Press() { ASSERT_TRUE(driver_->Press()); }
    void Release() {
        ASSERT_TRUE(driver_->Release());
        PumpFor(100);
    }

    // The frame the compositor last showed, in client pixels.
    Frame ShownFrame() const { return driver_->ShownFrame(); }
    // The shown frame once the check holds; a swap chain's page reaches the frame a little
    // after its Present. At most about two seconds.
    Frame FrameWhere(const std::function<bool(const Frame&)>& check) const {
        return driver_->ShownFrame(check);
    }

    // Pixels of the button's rectangle in the frame that differ from its look drawn by
    // itself over the background.
    int LookMismatches(const Frame& frame, const CSVGButtonEx& button, int look) const {
        SVGEngine::GDIPlusSVGBitmap bitmap(button.PixelWidth(), button.PixelHeight());
        button.DrawLook(bitmap.Graphics(), look);
        int mismatches = 0;
        for (int y = 0; y < bitmap.Height(); ++y) {
            for (int x = 0; x < bitmap.Width(); ++x) {
                const std::uint32_t expected = OverOpaque(PixelAt(bitmap, x, y), kBackground);
                const std::uint32_t shown = frame.At(button.Rect().left + x, button.Rect().top + y);
                mismatches += !Near(shown, expected, 2);
            }
        }
        return mismatches;
    }
    void ExpectLook(const CSVGButtonEx& button, int look, const wchar_t* name = nullptr) {
        const Frame frame =
            FrameWhere([&](const Frame& f) { return LookMismatches(f, button, look) == 0; });
        EXPECT_EQ(LookMismatches(frame, button, look), 0)
            << "look " << look << " of " << button.Id();
        if (name)
            SaveFrame(frame, name);
    }

    // With CORVANE_UI_FRAMES naming a folder, frames are kept there as PNG files for
    // people to look at (name@percent.png).
    void SaveFrame(const Frame& frame, const std::wstring& name) const {
        EXPECT_TRUE(driver_->SaveFrame(frame, name)) << "could not save a frame";
    }

    CDPI dpi_;
    std::unique_ptr<UiTest::TestDialog> dialog_;
    std::unique_ptr<Driver> driver_;
    CDCompUtil host_;
    CSVGSOCtrl background_, picture_, translucent_, card_;
    CSVGButtonEx minimize_, uninstall_;
    CDXGIButton textButton_{1};
    TextPage page_;
};

struct PixelExpectation {
    const char* what;
    int designX;
    int designY;
    int dx; // pixels added after scaling
    int dy;
    std::uint32_t rgb;
};

TEST_F(ComposedDialogTest, PicturesSitWhereTheirRectanglesSay) {
    const std::uint32_t halfWhite = OverOpaque(0x7F7F7F7F, kBackground);
    const PixelExpectation expectations[] = {
        {"background", 20, 20, 0, 0, kBackground},
        {"picture's first pixel", 100, 60, 0, 0, 0xFF0000},
        {"picture's red half", 120, 80, -1, -1, 0xFF0000},
        {"picture's blue half", 120, 60, 0, 0, 0x0000FF},
        {"picture's last pixel", 140, 80, -1, -1, 0x0000FF},
        {"left of the picture", 100, 70, -1, 0, kBackground},
        {"right of the picture", 140, 70, 0, 0, kBackground},
        {"below the picture", 110, 80, 0, 0, kBackground},
        {"half-transparent white", 180, 80, 0, 0, halfWhite},
        {"card's middle", 270, 90, 0, 0, 0xFFFFFF},
        {"card's left edge", 220, 90, 0, 0, 0xFFFFFF},
        {"card's top-left corner", 220, 60, 0, 0, kBackground},
        {"card's top-right corner", 320, 60, -1, 0, kBackground},
        {"card's bottom-left corner", 220, 120, 0, -1, kBackground},
        {"card's bottom-right corner", 320, 120, -1, -1, kBackground},
        {"inside the card's corner", 220, 60, 7, 7, 0xFFFFFF},
    };
    const auto pixelOf = [&](const Frame& frame, const PixelExpectation& e) {
        const POINT p = Client(e.designX, e.designY);
        return frame.At(p.x + e.dx, p.y + e.dy);
    };
    const Frame frame = ShownFrame();
    SaveFrame(frame, L"dialog");
    ASSERT_EQ(frame.width, dpi_.Scale(732));
    ASSERT_EQ(frame.height, dpi_.Scale(432));
    for (const PixelExpectation& e : expectations) {
        EXPECT_TRUE(Near(pixelOf(frame, e), 0xFF000000 | e.rgb, 2))
            << e.what << std::hex << ": 0x" << pixelOf(frame, e) << ", expected 0x" << e.rgb;
    }
}

TEST_F(ComposedDialogTest, HiddenPictureLeavesTheFrameAndComesBack) {
    const POINT red = Client(105, 65);
    picture_.Hide();
    host_.Commit();
    EXPECT_EQ(ShownFrame().At(red.x, red.y), 0xFF000000 | kBackground);
    picture_.Show();
    host_.Commit();
    EXPECT_EQ(ShownFrame().At(red.x, red.y), 0xFFFF0000u);
}

// SetRect moves the picture in pixels and leaves the caller's rectangle in design units.
TEST_F(ComposedDialogTest, MovedPictureFollowsItsRectangle) {
    RECT moved{dpi_.Scale(400), dpi_.Scale(150), dpi_.Scale(440), dpi_.Scale(170)};
    picture_.SetRect(&moved);
    EXPECT_EQ(moved.left, 400);
    EXPECT_EQ(moved.bottom, 170);
    EXPECT_EQ(picture_.DesignRect().left, 400);
    host_.Commit();
    const Frame frame = ShownFrame();
    const POINT oldRed = Client(105, 65);
    const POINT newRed = Client(405, 155);
    const POINT newBlue = Client(435, 165);
    EXPECT_EQ(frame.At(oldRed.x, oldRed.y), 0xFF000000 | kBackground);
    EXPECT_EQ(frame.At(newRed.x, newRed.y), 0xFFFF0000u);
    EXPECT_EQ(frame.At(newBlue.x, newBlue.y), 0xFF0000FFu);
}

// Each look in the frame is the look's own picture; hovering and pressing swap pictures
// and rasterise nothing.
TEST_F(ComposedDialogTest, EveryButtonLookInTheFrame) {
    for (CSVGButtonEx* button : {&minimize_, &uninstall_}) {
        const long rasterised = RasterCount::Value();
        const std::wstring name = button == &minimize_ ? L"minimize-" : L"uninstall-";
        ExpectLook(*button, CSVGButtonEx::kNormalLook);
        MoveToCentre(*button);
        ExpectLook(*button, CSVGButtonEx::kHoverLook, (name + L"hover").c_str());
        Press();
        ExpectLook(*button, CSVGButtonEx::kPushedLook, (name + L"pushed").c_str());
        Release();
        ASSERT_FALSE(dialog_->Commands().empty());
        EXPECT_EQ(dialog_->Commands().back(), button->Id());
        ExpectLook(*button, CSVGButtonEx::kHoverLook);
        MoveAway();
        ExpectLook(*button, CSVGButtonEx::kNormalLook);
        EXPECT_EQ(RasterCount::Value(), rasterised) << "hover and press rasterised";

        button->Enable(false);
        host_.Commit();
        ExpectLook(*button, CSVGButtonEx::kDisabledLook, (name + L"disabled").c_str());
        button->Enable(true);
        host_.Commit();
    }
    EXPECT_EQ(dialog_->Commands(), (std::vector<int>{2024, 3043}));
}

// Pressing, moving out (over another button, the button held) and releasing: no
// command, no hover on the way, and the pressed button shows its normal look at once.
TEST_F(ComposedDialogTest, PressMoveOutReleasePostsNothing) {
    MoveToCentre(uninstall_);
    Press();
    MoveToCentre(minimize_);
    ExpectLook(uninstall_, CSVGButtonEx::kPushedLook);
    ExpectLook(minimize_, CSVGButtonEx::kNormalLook);
    Release();
    ExpectLook(uninstall_, CSVGButtonEx::kNormalLook);
    EXPECT_TRUE(dialog_->Commands().empty());
    EXPECT_EQ(GetCapture(), nullptr);
}

// The hand only over visible buttons that take input; a disabled button takes no press.
TEST_F(ComposedDialogTest, HandCursorAndDisabledButton) {
    const HCURSOR hand = LoadCursorW(nullptr, IDC_HAND);
    MoveToCentre(uninstall_);
    EXPECT_EQ(GetCursor(), hand);
    MoveToCentre(picture_);
    EXPECT_NE(GetCursor(), hand);
    uninstall_.Enable(false);
    MoveToCentre(uninstall_);
    EXPECT_NE(GetCursor(), hand);
    Press();
    Release();
    EXPECT_TRUE(dialog_->Commands().empty());
    uninstall_.Enable(true);
    minimize_.Hide();
    MoveToCentre(minimize_);
    EXPECT_NE(GetCursor(), hand);
}

TEST_F(ComposedDialogTest, TextOnSwapChains) {
    const int size = dpi_.Scale(14);
    EXPECT_EQ(page_.SwapChainWidth(), dpi_.Scale(200));
    EXPECT_EQ(page_.SwapChainHeight(), dpi_.Scale(60));
    struct TextCase {
        const char* what;
        const CSVGSimpleObject* object;
        std::uint32_t textColour;
        int layoutLeft; // design units from the object's left edge
    };
    const TextCase cases[] = {
        {"text button", &textButton_, 0x00D766, 0},
        {"page", &page_, 0xFFFFFF, 10},
    };
    const Frame frame = FrameWhere([&](const Frame& f) {
        return InkIn(f, textButton_.Rect(), kPageColour, 0x00D766).count > 0 &&
               InkIn(f, page_.Rect(), kPageColour, 0xFFFFFF).count > 0;
    });
    for (const TextCase& test : cases) {
        const RECT& area = test.object->Rect();
        // The page's own colour around the text.
        EXPECT_EQ(frame.At(area.right - 1, area.bottom - 1), 0xFF000000 | kPageColour) << test.what;
        const Ink ink = InkIn(frame, area, kPageColour, test.textColour);
        EXPECT_GT(ink.count, size * 2) << test.what;
        EXPECT_LE(ink.closest, 40) << test.what << ": no pixel in the text colour";
        // The text starts at the top-left of its layout rectangle and is as tall as the
        // font size makes it (Chinese glyphs fill about the em).
        EXPECT_GE(ink.box.left - area.left, dpi_.Scale(test.layoutLeft)) << test.what;
        EXPECT_LE(ink.box.left - area.left, dpi_.Scale(test.layoutLeft) + dpi_.Scale(4))
            << test.what;
        EXPECT_GE(ink.box.bottom - ink.box.top, size * 6 / 10) << test.what;
        EXPECT_LE(ink.box.bottom - ink.box.top, size * 14 / 10) << test.what;
    }

    // The caption's colour follows the button's state, one frame per change.
    const auto expectCaption = [&](std::uint32_t colour, const wchar_t* name) {
        const Frame f = FrameWhere([&](const Frame& f) {
            return InkIn(f, textButton_.Rect(), kPageColour, colour).closest <= 12;
        });
        EXPECT_LE(InkIn(f, textButton_.Rect(), kPageColour, colour).closest, 12)
            << std::hex << colour;
        SaveFrame(f, name);
    };
    MoveToCentre(textButton_);
    expectCaption(0x19CC6E, L"text-button-hover");
    Press();
    expectCaption(0x00B255, L"text-button-pushed");
    Release();
    EXPECT_EQ(dialog_->Commands(), std::vector<int>{2025});
    textButton_.Enable(false);
    // Black at half opacity over the page.
    expectCaption(OverOpaque(0x80000000, kPageColour), L"text-button-disabled");
}

// Loading a button's picture rasterises its four looks once; a picture, once.
TEST_F(ComposedDialogTest, LoadingRasterisesEachLookOnce) {
    CSVGButtonEx close;
    close.m_dpi = &dpi_;
    close.m_host = &host_;
    close.Create(dialog_->Handle(), {680, 28, 704, 52}, L"关闭", 2026, nullptr,
                 CSVGButtonEx::kSpriteMode);
    long before = RasterCount::Value();
    close.LoadSVGResource(238);
    EXPECT_EQ(RasterCount::Value() - before, 4);
    before = RasterCount::Value();
    picture_.Redraw();
    EXPECT_EQ(RasterCount::Value() - before, 1);
}

// The keyboard's focus ring is drawn in the button's own picture, one design unit inside its
// rectangle. An SVG button makes its three focused looks the first time its ring shows and
// never again: hovering and pressing a focused button swap pictures as without the ring. A
// text button draws its ring in its frame.
TEST_F(ComposedDialogTest, FocusRingInTheButtonsOwnPictures) {
    uninstall_.SetFocusRingPainter(&FocusRingPainter());
    textButton_.SetFocusRingPainter(&FocusRingPainter());
    uninstall_.SetFocusRingRadius(22);
    long rasterised = RasterCount::Value();
    uninstall_.ShowFocusRing(true);
    host_.Commit();
    EXPECT_EQ(RasterCount::Value() - rasterised, 3);
    rasterised = RasterCount::Value();
    const int ring = CSVGButtonEx::kWithFocusRing;
    ExpectLook(uninstall_, CSVGButtonEx::kNormalLook | ring, L"uninstall-focused");
    EXPECT_GT(LookMismatches(ShownFrame(), uninstall_, CSVGButtonEx::kNormalLook), dpi_.Scale(200))
        << "no ring to be seen";
    MoveToCentre(uninstall_);
    ExpectLook(uninstall_, CSVGButtonEx::kHoverLook | ring);
    Press();
    ExpectLook(uninstall_, CSVGButtonEx::kPushedLook | ring, L"uninstall-focused-pushed");
    Release();
    ExpectLook(uninstall_, CSVGButtonEx::kHoverLook | ring);
    MoveAway();
    uninstall_.ShowFocusRing(false);
    host_.Commit();
    ExpectLook(uninstall_, CSVGButtonEx::kNormalLook);
    uninstall_.ShowFocusRing(true);
    host_.Commit();
    ExpectLook(uninstall_, CSVGButtonEx::kNormalLook | ring);
    EXPECT_EQ(RasterCount::Value(), rasterised) << "a focused button rasterised again";

    // White down the text button's left side, one unit in from its edge.
    textButton_.ShowFocusRing(true);
    const RECT& r = textButton_.Rect();
    const int middle = (r.top + r.bottom) / 2;
    const Frame frame = FrameWhere(
        [&](const Frame& f) { return Near(f.At(r.left + dpi_.Scale(1), middle), ~0u, 24); });
    EXPECT_TRUE(Near(frame.At(r.left + dpi_.Scale(1), middle), ~0u, 24));
    EXPECT_EQ(frame.At(r.left, middle), 0xFF000000 | kPageColour);
    SaveFrame(frame, L"focus-rings");
}

} // namespace
