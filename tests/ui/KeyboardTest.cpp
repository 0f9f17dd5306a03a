// The accessibility test dialog driven by the keyboard alone (xdotool keys through
// run_with_input.sh), running modally on a thread of its own so that its keys pass the
// dialog manager as in a program; its frames read back from the software compositor between
// steps. The focus ring appears only after a key, follows Tab, Shift+Tab and the arrows with
// wrapping, is drawn in the buttons' own pictures, and costs a mouse user nothing. Runs at
// the display's DPI (100 % and 150 % runs are registered).
#include "AccessDialogThread.h"
#include "CompositionTestSupport.h"
#include "RealInput.h"
#include "UiTestSupport.h"

#include "AppModule.h"
#include "FocusRing.h"
#include "Pixels.h"
#include "RasterCount.h"
#include "SoftwareDevice.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>

namespace {

using namespace AccessTest;
using Frame = Composition::Pixels;
using UiTest::PumpFor;
using UiTest::PumpUntil;
using UiTest::RealInput;

std::string Utf8(const std::wstring& text) {
    std::string utf8(text.size() * 3 + 1, '\0');
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, utf8.data(),
                                         static_cast<int>(utf8.size()), nullptr, nullptr);
    utf8.resize(size > 0 ? size - 1 : 0);
    return utf8;
}

// A premultiplied pixel over the opaque background.
std::uint32_t OverBackground(std::uint32_t premultiplied) {
    const int alpha = static_cast<int>(premultiplied >> 24);
    std::uint32_t out = 0xFF000000;
    for (int shift : {0, 8, 16}) {
        const int value =
            static_cast<int>((premultiplied >> shift) & 0xFF) +
            static_cast<int>((kBackgroundColour >> shift) & 0xFF) * (255 - alpha) / 255;
        out |= static_cast<std::uint32_t>(std::min(value, 255)) << shift;
    }
    return out;
}

using Button = CSVGButtonEx& (CAccessTestDialog::*)();

class KeyboardTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { _Module.Init(nullptr); }

    void SetUp() override {
        ASSERT_TRUE(RealInput::Available()) << "run through run_with_input.sh";
        // As Windows comes: focus cues hidden until the keyboard is used.
        SystemParametersInfoW(SPI_GETKEYBOARDCUES, 0, &savedCues_, 0);
        SetKeyboardCues(false);
        StartDialog();
    }

    void TearDown() override {
        if (dialog_ && dialog_->Window()) {
            // The mouse is the last input again, for the next test's dialog.
            ParkPointer();
            RealInput::Press();
            RealInput::Release();
            PumpFor(100);
        }
        dialog_.reset();
        SetKeyboardCues(savedCues_ != FALSE);
    }

    static void SetKeyboardCues(bool shown) {
        SystemParametersInfoW(SPI_SETKEYBOARDCUES, 0,
                              reinterpret_cast<void*>(static_cast<INT_PTR>(shown)), 0);
    }

    void StartDialog() {
        dialog_.reset();
        dialog_ = std::make_unique<AccessDialogThread>();
        ASSERT_NE(dialog_->Window(), nullptr) << "the dialog did not show";
        dialog_->Run([&](CAccessTestDialog& dialog) { percent_ = dialog.Dpi().Scale(100); });
        // Keys go to the window under the pointer (the display has no window manager).
        ParkPointer();
        ASSERT_TRUE(PumpUntil([&] { return Focused() != nullptr; })) << "the dialog has no focus";
    }

    int Scale(int value) const { return MulDiv(value, percent_, 100); }

    void ParkPointer() {
        POINT quiet{Scale(kQuietPoint.x), Scale(kQuietPoint.y)};
        ClientToScreen(dialog_->Window(), &quiet);
        ASSERT_TRUE(RealInput::MoveTo(quiet.x, quiet.y));
        PumpFor(50);
    }
    void MoveOnto(Button button) {
        RECT rect{};
        dialog_->Run([&](CAccessTestDialog& dialog) { rect = (dialog.*button)().Rect(); });
        POINT centre{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
        ClientToScreen(dialog_->Window(), &centre);
        ASSERT_TRUE(RealInput::MoveTo(centre.x, centre.y));
        PumpFor(100);
    }

    void Key(const char* keys) {
        ASSERT_TRUE(RealInput::Key(keys)) << keys;
        PumpFor(150);
    }

    // The focused button's caption while the window has the focus, else null.
    const wchar_t* Focused() {
        const wchar_t* caption = nullptr;
        dialog_->Run([&](CAccessTestDialog& dialog) {
            const CKeyboardFocus& focus = dialog.Access().Focus();
            if (focus.WindowFocused() && focus.Focused())
                caption = focus.Focused()->Caption();
        });
        return caption;
    }
    std::wstring FocusedName() {
        const wchar_t* caption = Focused();
        return caption ? caption : L"(none)";
    }

    Frame ShownFrame() {
        Frame frame;
        dialog_->Run([&](CAccessTestDialog& dialog) {
            static_cast<Composition::SoftwareDevice*>(dialog.Host().CompositionDevice())
                ->ReadLastFrame(dialog.m_hWnd, &frame);
        });
        return frame;
    }

    // Pixels of an SVG button's rectangle in the frame that differ from the look drawn by
    // itself over the background.
    int Mismatches(const Frame& frame, Button button, int look) {
        int mismatches = -1;
        dialog_->Run([&](CAccessTestDialog& dialog) {
            const CSVGButtonEx& b = (dialog.*button)();
            SVGEngine::GDIPlusSVGBitmap bitmap(b.PixelWidth(), b.PixelHeight());
            b.DrawLook(bitmap.Graphics(), look);
            mismatches = 0;
            for (int y = 0; y < bitmap.Height(); ++y) {
                for (int x = 0; x < bitmap.Width(); ++x) {
                    const std::uint32_t expected = OverBackground(UiTest::PixelAt(bitmap, x, y));
                    mismatches +=
                        !UiTest::Near(frame.At(b.Rect().left + x, b.Rect().top + y), expected, 2);
                }
            }
        });
        return mismatches;
    }
    // The button shows exactly that look, once the compositor has caught up.
    void ExpectLook(Button button, int look, const char* what) {
        Frame frame;
        PumpUntil(
            [&] {
                frame = ShownFrame();
                return frame.width > 0 && Mismatches(frame, button, look) == 0;
            },
            2000);
        EXPECT_EQ(Mismatches(frame, button, look), 0) << what << ": look " << look;
    }
    // The text button's ring: white where the ring's line runs down its left side.
    bool TextButtonRing(const Frame& frame) {
        RECT rect{};
        dialog_->Run([&](CAccessTestDialog& dialog) { rect = dialog.TextButton().Rect(); });
        const int x = rect.left + Scale(1);
        const std::uint32_t pixel = frame.At(x, (rect.top + rect.bottom) / 2);
        return UiTest::Near(pixel, 0xFF000000 | kFocusRingColour, 24);
    }

    void SaveFrame(const Frame& frame, const std::wstring& name) {
        const wchar_t* folder = _wgetenv(L"CORVANE_UI_FRAMES");
        if (!folder)
            return;
        const std::wstring path =
            std::wstring(folder) + L"\\" + name + L"@" + std::to_wstring(percent_) + L".png";
        EXPECT_TRUE(CompositionTest::SavePng(frame, path.c_str()));
    }

    std::unique_ptr<AccessDialogThread> dialog_;
    int percent_ = 100;
    BOOL savedCues_ = FALSE;
};

// Tab, Shift+Tab and the arrows move the focus over the visible buttons in order, wrapping
// (the hidden exit button is skipped); the ring appears with the first key and is in the
// focused button's picture only.
TEST_F(KeyboardTest, FocusWalksTheButtonsAndTheRingFollows) {
    EXPECT_EQ(FocusedName(), L"立即卸载");
    const long rasterised = RasterCount::Value();
    ExpectLook(&CAccessTestDialog::Uninstall, CSVGButtonEx::kNormalLook, "before any key");
    Frame frame = ShownFrame();
    EXPECT_FALSE(TextButtonRing(frame));
    SaveFrame(frame, L"keyboard-before-a-key");

    struct Step {
        const char* keys;
        const wchar_t* focused;
        Button ring; // the SVG button with the ring, or null for the text button
    };
    const Step steps[] = {
        {"Tab", L"取  消", nullptr},
        {"Tab", L"最小化", &CAccessTestDialog::Minimize},
        {"Tab", L"关闭", &CAccessTestDialog::Close},
        {"shift+Tab", L"最小化", &CAccessTestDialog::Minimize},
        {"shift+Tab", L"取  消", nullptr},
        {"Left", L"立即卸载", &CAccessTestDialog::Uninstall},
        {"Down", L"取  消", nullptr},
        {"Right", L"最小化", &CAccessTestDialog::Minimize},
        {"Up", L"取  消", nullptr},
        {"shift+Tab", L"立即卸载", &CAccessTestDialog::Uninstall},
    };
    const Button svgButtons[] = {&CAccessTestDialog::Minimize, &CAccessTestDialog::Close,
                                 &CAccessTestDialog::Uninstall};
    for (const Step& step : steps) {
        SCOPED_TRACE(step.keys + std::string(" to ") + Utf8(step.focused));
        Key(step.keys);
        EXPECT_EQ(FocusedName(), step.focused);
        for (Button button : svgButtons) {
            const int look = CSVGButtonEx::kNormalLook |
                             (button == step.ring ? CSVGButtonEx::kWithFocusRing : 0);
            ExpectLook(button, look, "after the key");
        }
        frame = ShownFrame();
        EXPECT_EQ(TextButtonRing(frame), step.ring == nullptr);
        if (step.ring) { // the ring is there to be seen
            EXPECT_GT(Mismatches(frame, step.ring, CSVGButtonEx::kNormalLook), Scale(40));
        }
        if (&step == &steps[0])
            SaveFrame(frame, L"keyboard-after-tab");
    }
    // Each SVG button made its focused looks once, when its ring first showed.
    EXPECT_EQ(RasterCount::Value() - rasterised, 3 * 3);
    EXPECT_TRUE(
        dialog_->Run([](CAccessTestDialog& dialog) { EXPECT_TRUE(dialog.Commands().empty()); }));
}

// Space presses the focused button as a click would, with the same looks: pushed while the
// key is down, one command when it comes up. The exit button then takes the uninstall
// button's place and the focus with it, and Space on it ends the dialog.
TEST_F(KeyboardTest, SpacePressesTheFocusedButton) {
    const long rasterised = RasterCount::Value();
    ASSERT_TRUE(RealInput::KeyDown("space"));
    PumpFor(150);
    ExpectLook(&CAccessTestDialog::Uninstall,
               CSVGButtonEx::kPushedLook | CSVGButtonEx::kWithFocusRing, "space held");
    SaveFrame(ShownFrame(), L"keyboard-space-held");
    std::vector<int> commands;
    dialog_->Run([&](CAccessTestDialog& dialog) { commands = dialog.Commands(); });
    EXPECT_TRUE(commands.empty()) << "clicked before the key came up";

    ASSERT_TRUE(RealInput::KeyUp("space"));
    PumpUntil([&] {
        dialog_->Run([&](CAccessTestDialog& dialog) { commands = dialog.Commands(); });
        return !commands.empty();
    });
    PumpFor(200);
    dialog_->Run([&](CAccessTestDialog& dialog) { commands = dialog.Commands(); });
    EXPECT_EQ(commands, std::vector<int>{kUninstall});
    EXPECT_EQ(FocusedName(), L"退出");
    ExpectLook(&CAccessTestDialog::Exit, CSVGButtonEx::kNormalLook | CSVGButtonEx::kWithFocusRing,
               "the exit button in the uninstall button's place");
    SaveFrame(ShownFrame(), L"keyboard-exit-focused");
    EXPECT_EQ(RasterCount::Value() - rasterised, 2 * 3);

    Key("space");
    ASSERT_TRUE(dialog_->WaitForEnd(5000));
    EXPECT_EQ(dialog_->Result(), 2);
    EXPECT_EQ(dialog_->FinalCommands(), (std::vector<int>{kUninstall, kExit}));
}

// A mouse user sees and pays for nothing new: hover and press before any key show the plain
// looks and rasterise nothing. Once the keyboard has put the ring on a button, hovering and
// pressing it show its looks with the ring, still without rasterising.
TEST_F(KeyboardTest, MouseLooksAndCostsStayTheSame) {
    long rasterised = RasterCount::Value();
    const Button minimize = &CAccessTestDialog::Minimize;
    MoveOnto(minimize);
    ExpectLook(minimize, CSVGButtonEx::kHoverLook, "hover");
    ASSERT_TRUE(RealInput::Press());
    PumpFor(100);
    ExpectLook(minimize, CSVGButtonEx::kPushedLook, "pressed");
    ASSERT_TRUE(RealInput::Release());
    PumpFor(100);
    ExpectLook(minimize, CSVGButtonEx::kHoverLook, "released");
    EXPECT_EQ(RasterCount::Value(), rasterised) << "the mouse alone rasterised";

    Key("shift+Tab");
    Key("shift+Tab");
    EXPECT_EQ(FocusedName(), L"最小化");
    ExpectLook(minimize, CSVGButtonEx::kHoverLook | CSVGButtonEx::kWithFocusRing, "focused");
    rasterised = RasterCount::Value();
    ASSERT_TRUE(RealInput::Press());
    PumpFor(100);
    ExpectLook(minimize, CSVGButtonEx::kPushedLook | CSVGButtonEx::kWithFocusRing,
               "focused, pressed");
    ASSERT_TRUE(RealInput::Release());
    PumpFor(100);
    ExpectLook(minimize, CSVGButtonEx::kHoverLook | CSVGButtonEx::kWithFocusRing,
               "focused, released");
    ParkPointer();
    ExpectLook(minimize, CSVGButtonEx::kNormalLook | CSVGButtonEx::kWithFocusRing, "focused, left");
    EXPECT_EQ(RasterCount::Value(), rasterised) << "hover and press of a focused button rasterised";
    std::vector<int> commands;
    dialog_->Run([&](CAccessTestDialog& dialog) { commands = dialog.Commands(); });
    EXPECT_EQ(commands, (std::vector<int>{kMinimize, kMinimize}));
}

// A dialog starts with the ring hidden after a mouse press, as Windows hides focus cues;
// with them when the user asked to see them always, or when a key was the last input.
TEST_F(KeyboardTest, RingAtTheStart) {
    struct Case {
        const char* what;
        bool cuesAlwaysShown;
        bool keyLast;
        bool ring;
    };
    const Case cases[] = {
        {"after a mouse press", false, false, false},
        {"cues always shown", true, false, true},
        {"after a key", false, true, true},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.what);
        SetKeyboardCues(test.cuesAlwaysShown);
        if (test.keyLast) {
            Key("shift");
        } else {
            ASSERT_TRUE(RealInput::Press());
            ASSERT_TRUE(RealInput::Release());
            PumpFor(100);
        }
        StartDialog();
        ExpectLook(&CAccessTestDialog::Uninstall,
                   CSVGButtonEx::kNormalLook | (test.ring ? CSVGButtonEx::kWithFocusRing : 0),
                   "at the start");
    }
}

} // namespace
