// Mouse routing driven by real X input (xdotool through run_with_input.sh): moves,
// presses and releases reach a real window, its mouse list and its objects.
#include "RealInput.h"
#include "Screenshot.h"
#include "TestDialog.h"
#include "UiTestSupport.h"

#include "SVGButtonEx.h"
#include "SVGSOCtrl.h"

#include <gtest/gtest.h>

namespace {

using UiTest::PumpFor;
using UiTest::PumpUntil;
using UiTest::RealInput;

constexpr DWORD kHover = CSVGSimpleObject::kHover;
constexpr DWORD kPressed = CSVGSimpleObject::kPressed;

class RealInputTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(RealInput::Available()) << "run through run_with_input.sh";
        dialog_ = std::make_unique<UiTest::TestDialog>(200, 150, 300, 200);
        const HWND window = dialog_->Handle();
        ASSERT_NE(window, nullptr);
        minimize_.Create(window, {20, 20, 44, 44}, L"最小化", 2024, nullptr,
                         CSVGButtonEx::kSpriteMode);
        uninstall_.Create(window, {60, 100, 260, 144}, L"立即卸载", 3043, nullptr,
                          CSVGButtonEx::kRecolourMode);
        panel_.Create(window, {150, 10, 290, 90}, nullptr, 0, nullptr, 0);
        panel_.CreateChild(&child_, {10, 10, 60, 40}, L"child", 2025, 0, true);
        for (CSVGSimpleObject* object :
             std::initializer_list<CSVGSimpleObject*>{&minimize_, &uninstall_, &panel_})
            dialog_->MouseList().Append(object);
        dialog_->Show();
        // Start away from every object, with the window ready for input.
        MoveTo(5, 190);
    }

    void TearDown() override {
        RealInput::Release();
        PumpFor(50);
    }

    // Moves the pointer to a client point and waits until the window has heard it.
    void MoveTo(int x, int y) {
        const POINT screen = dialog_->ToScreen(x, y);
        ASSERT_TRUE(RealInput::MoveTo(screen.x, screen.y));
        ASSERT_TRUE(PumpUntil([&] {
            const POINT last = dialog_->LastMove();
            return last.x == x && last.y == y;
        })) << "no WM_MOUSEMOVE at "
            << x << "," << y;
    }
    void Press() {
        const int before = dialog_->Presses();
        ASSERT_TRUE(RealInput::Press());
        ASSERT_TRUE(PumpUntil([&] { return dialog_->Presses() > before; }));
    }
    void Release() {
        const int before = dialog_->Releases();
        ASSERT_TRUE(RealInput::Release());
        ASSERT_TRUE(PumpUntil([&] { return dialog_->Releases() > before; }));
        // Anything posted by the release arrives within this.
        PumpFor(100);
    }
    HCURSOR CursorAt(int x, int y) {
        MoveTo(x, y);
        PumpFor(50);
        return GetCursor();
    }

    std::unique_ptr<UiTest::TestDialog> dialog_;
    CSVGButtonEx minimize_;
    CSVGButtonEx uninstall_;
    CSVGSOCtrl panel_;
    CSVGButtonEx child_;
};

TEST_F(RealInputTest, ClickPostsExactlyOneCommand) {
    MoveTo(30, 30);
    EXPECT_EQ(minimize_.State(), kHover);
    Press();
    EXPECT_EQ(minimize_.State(), kHover | kPressed);
    EXPECT_EQ(GetCapture(), dialog_->Handle());
    Release();
    EXPECT_EQ(dialog_->Commands(), std::vector<int>{2024});
    EXPECT_EQ(minimize_.State(), kHover);
    EXPECT_EQ(GetCapture(), nullptr);

    MoveTo(100, 120);
    Press();
    Release();
    EXPECT_EQ(dialog_->Commands(), (std::vector<int>{2024, 3043}));
    EXPECT_EQ(minimize_.State(), 0u);
    EXPECT_EQ(uninstall_.State(), kHover);
}

TEST_F(RealInputTest, PressMoveOutReleasePostsNothing) {
    MoveTo(100, 120);
    Press();
    MoveTo(100, 170);
    EXPECT_EQ(dialog_->LastMoveKeys() & MK_LBUTTON, static_cast<WPARAM>(MK_LBUTTON));
    EXPECT_EQ(uninstall_.State(), kHover | kPressed);
    Release();
    EXPECT_TRUE(dialog_->Commands().empty());
    EXPECT_EQ(uninstall_.State(), 0u);
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(CSVGSimpleObject::CapturedObject(), nullptr);
}

TEST_F(RealInputTest, MovingWithTheButtonHeldChangesNoHover) {
    MoveTo(5, 5);
    Press();
    MoveTo(30, 30);
    MoveTo(100, 120);
    EXPECT_EQ(minimize_.State(), 0u);
    EXPECT_EQ(uninstall_.State(), 0u);
    Release();
    EXPECT_TRUE(dialog_->Commands().empty());
    MoveTo(101, 121);
    EXPECT_EQ(uninstall_.State(), kHover);
}

TEST_F(RealInputTest, ChildOfAPanelTakesClicksUntilThePanelHides) {
    MoveTo(170, 30);
    EXPECT_EQ(child_.State(), kHover);
    Press();
    Release();
    EXPECT_EQ(dialog_->Commands(), std::vector<int>{2025});

    panel_.Hide();
    MoveTo(175, 35);
    Press();
    Release();
    EXPECT_EQ(dialog_->Commands(), std::vector<int>{2025});
}

TEST_F(RealInputTest, DisabledButtonTakesNoPress) {
    uninstall_.Enable(false);
    MoveTo(100, 120);
    Press();
    Release();
    EXPECT_TRUE(dialog_->Commands().empty());
    EXPECT_EQ(uninstall_.State(), CSVGSimpleObject::kDisabled);
}

TEST_F(RealInputTest, HandCursorOnlyOverVisibleObjectsThatTakeInput) {
    const HCURSOR hand = LoadCursorW(nullptr, IDC_HAND);
    const HCURSOR arrow = LoadCursorW(nullptr, IDC_ARROW);
    EXPECT_EQ(CursorAt(30, 30), hand);
    EXPECT_EQ(CursorAt(5, 100), arrow);
    EXPECT_EQ(CursorAt(170, 30), hand);
    EXPECT_EQ(CursorAt(280, 80), arrow); // on the panel, which passes the mouse through
    minimize_.Hide();
    EXPECT_EQ(CursorAt(31, 31), arrow);
    uninstall_.Enable(false);
    EXPECT_EQ(CursorAt(100, 120), arrow);
}

// The bridge's screenshots show the window where Windows says it is.
TEST_F(RealInputTest, ScreenshotShowsTheWindowAtItsScreenPosition) {
    const UiTest::Screenshot screen(L"plain-window");
    ASSERT_TRUE(screen.Valid());
    RECT window;
    GetWindowRect(dialog_->Handle(), &window);
    EXPECT_EQ(screen.At(window.left + 10, window.top + 10), 0xFFFFFFFFu);
    EXPECT_EQ(screen.At(window.right - 1, window.bottom - 1), 0xFFFFFFFFu);
    EXPECT_NE(screen.At(window.left - 1, window.top - 1), 0xFFFFFFFFu);
    EXPECT_NE(screen.At(window.right, window.bottom), 0xFFFFFFFFu);
}

} // namespace
