// The main window as a user meets it, at the display's DPI (registered at 100 % and 150 %):
// CMainDlg in its real modal loop, driven by real X input, its frames read back from the
// software compositor and compared with its elements drawn at the layout table's rectangles.
#include "DialogDriver.h"
#include "FrameChecks.h"
#include "MainDlgLayout.h"

#include "MainDlg.h"
#include "RealInput.h"
#include "Wait.h"
#include "SVGButtonEx.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using namespace AppTest;
using namespace TestSupport;

constexpr int kHover = CSVGButtonEx::kHoverLook;
constexpr int kPushed = CSVGButtonEx::kPushedLook;
const Looks kReady = {};

RECT WindowRect(const Driver& d) {
    RECT rect{};
    GetWindowRect(d.Window(), &rect);
    return rect;
}

class MainDlgTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(RealInput::Available()) << "run through run_with_input.sh";
    }
    Testable<CMainDlg> dialog_;
};

// Size, margin and shadow, then every look the pointer gives the buttons: each button hears
// every move (straight from one to the next), hover ends out of the window, the hand shows
// over buttons only, a press released outside shows normal again and runs nothing.
TEST_F(MainDlgTest, LooksAsLaidOutAndFollowsThePointer) {
    RunMainWindow(dialog_, [&](Driver& d, const MainWindowLayout& layout) {
        const RECT window = WindowRect(d);
        EXPECT_EQ(window.right - window.left, layout.WindowSize().cx) << "and no frame";
        EXPECT_EQ(window.bottom - window.top, layout.WindowSize().cy);
        EXPECT_EQ(layout.WindowSize().cx, d.dpi.Scale(100) == 150 ? 1098 : 732);
        EXPECT_EQ(GetWindowLongW(d.Window(), GWL_STYLE) & (WS_CAPTION | WS_THICKFRAME), 0);
        wchar_t title[32] = {};
        GetWindowTextW(d.Window(), title, 32);
        EXPECT_STREQ(title, L"卸载 Corvane") << "the taskbar's name for it";

        const Frame frame = CardShowing(d, layout, kReady);
        ASSERT_EQ(frame.width, layout.WindowSize().cx);
        d.SaveFrame(frame, L"main-window-ready");
        for (const char* element : {"background", "logo", "minimize", "close", "uninstall"})
            EXPECT_EQ(layout.Mismatches(frame, layout.RectOf(element), kReady), 0) << element;
        // The margin: clear corners, a soft shadow (opacity 0.2 at most) stronger to the right
        // and below than to the left and above.
        const RECT card = layout.Card();
        const int x = (card.left + card.right) / 2, y = (card.top + card.bottom) / 2;
        const int gap = d.dpi.Scale(2);
        EXPECT_EQ(Alpha(frame.At(0, 0)) + Alpha(frame.At(frame.width - 1, frame.height - 1)), 0);
        const int right = Alpha(frame.At(card.right + gap, y));
        EXPECT_GT(right, Alpha(frame.At(card.left - 1 - gap, y)));
        EXPECT_GT(Alpha(frame.At(x, card.bottom + gap)), Alpha(frame.At(x, card.top - 1 - gap)));
        EXPECT_TRUE(right > 10 && right <= 52) << right;

        enum Action { Move, MoveOut, Press, Release };
        enum Cursor { Arrow, Hand, Any };
        struct Step {
            const char* what;
            Action action;
            const char* element;
            Looks looks;
            Cursor cursor; // while a button is held, the cursor stays as it was
        };
        const Step steps[] = {
            {"on minimise", Move, "minimize", {{"minimize", kHover}}, Hand},
            {"straight on to close", Move, "close", {{"close", kHover}}, Hand},
            {"out of the window", MoveOut, nullptr, kReady, Any},
            {"on the logo", Move, "logo", kReady, Arrow},
            {"on uninstall", Move, "uninstall", {{"uninstall", kHover}}, Hand},
            {"pressed", Press, nullptr, {{"uninstall", kPushed}}, Any},
            {"held elsewhere", Move, "background", {{"uninstall", kPushed}}, Any},
            {"released there", Release, nullptr, kReady, Any},
            {"on close", Move, "close", {{"close", kHover}}, Hand},
            {"close pressed", Press, nullptr, {{"close", kPushed}}, Any},
            {"held on minimise", Move, "minimize", {{"close", kPushed}}, Any},
            {"released there", Release, nullptr, kReady, Any},
        };
        const auto perform = [&](const Step& step) {
            switch (step.action) {
            case Move:
                return d.MoveTo(std::string(step.element) == "background"
                                    ? Background(d)
                                    : layout.CentreOf(step.element));
            case MoveOut:
                return RealInput::MoveTo(WindowRect(d).left - 40, WindowRect(d).top - 40);
            case Press:
                return d.Press();
            case Release:
                return d.Release();
            }
            return false;
        };
        for (const Step& step : steps) {
            ASSERT_TRUE(perform(step)) << step.what;
            ExpectCard(d, layout, step.looks, step.what);
            HCURSOR cursor = nullptr;
            if (step.cursor != Any) {
                ASSERT_TRUE(d.OnDialogThread([&] { cursor = GetCursor(); }));
                EXPECT_EQ(cursor == LoadCursorW(nullptr, IDC_HAND), step.cursor == Hand)
                    << step.what;
            }
        }
        // Pressed again at once on the same spot, the system reports a double-click: it presses
        // the button all the same.
        Sleep(GetDoubleClickTime() + 100);
        ASSERT_TRUE(d.MoveTo(layout.CentreOf("close")) && d.Press());
        ASSERT_TRUE(d.MoveTo(layout.CentreOf("minimize")) && d.Release());
        ASSERT_TRUE(d.MoveTo(layout.CentreOf("close")) && RealInput::Press());
        ExpectCard(d, layout, {{"close", kPushed}}, "pressed again at once");
        ASSERT_TRUE(d.MoveTo(Background(d)) && d.Release());
        ExpectCard(d, layout, kReady, "released outside again");

        const std::vector<int> commands = d.record.Commands();
        for (int command : {2024, 2026, 3043})
            EXPECT_EQ(std::count(commands.begin(), commands.end(), command), 0) << command;
        Click(d, layout.CentreOf("close"));
    });
}

TEST_F(MainDlgTest, MinimizeButtonLooksNormalAgainAfterAClickAndARestore) {
    RunMainWindow(dialog_, [&](Driver& d, const MainWindowLayout& layout) {
        Click(d, layout.CentreOf("minimize"));
        ASSERT_TRUE(WaitUntil([&] { return IsIconic(d.Window()) != FALSE; }, 3000));
        // Restored as from the taskbar, the pointer away from the button.
        ASSERT_TRUE(RealInput::MoveTo(5, 5));
        ShowWindowAsync(d.Window(), SW_RESTORE);
        ASSERT_TRUE(WaitUntil([&] { return !IsIconic(d.Window()); }, 3000));
        ExpectCard(d, layout, kReady, "restored");
        // Still answering the pointer (by way of another point: Wine, which sees no pointer
        // outside its windows, would report no move to the very point it saw last).
        ASSERT_TRUE(d.MoveTo(Background(d)));
        ASSERT_TRUE(d.MoveTo(layout.CentreOf("minimize")));
        ExpectCard(d, layout, {{"minimize", kHover}}, "hover after the restore");
        Click(d, layout.CentreOf("close"));
    });
}

TEST_F(MainDlgTest, TopBandDragsTheWindowAndAPressBelowItDoesNot) {
    RunMainWindow(dialog_, [&](Driver& d, const MainWindowLayout& layout) {
        const int band = d.dpi.Scale(40);
        const int x = d.dpi.Scale(300);
        const struct {
            const char* where;
            POINT client;
            bool drags;
        } cases[] = {
            {"band over the card", {x, d.dpi.Scale(24)}, true},
            {"band over the logo", {d.dpi.Scale(100), d.dpi.Scale(35)}, true},
            {"band's last row", {x, band - 1}, true},
            {"first row below the band", {x, band}, false},
            {"middle of the card", {x, d.dpi.Scale(200)}, false},
        };
        const POINT by{37, 23};
        for (const auto& c : cases) {
            const RECT before = WindowRect(d);
            // Raw input: over the band the dialog hears no client moves, and while the
            // system drags, neither moves nor the release.
            POINT start = c.client;
            ClientToScreen(d.Window(), &start);
            ASSERT_TRUE(RealInput::MoveTo(start.x, start.y) && RealInput::Press());
            for (int half = 1; half <= 2; ++half) {
                Sleep(100);
                ASSERT_TRUE(
                    RealInput::MoveTo(start.x + by.x * half / 2, start.y + by.y * half / 2));
            }
            Sleep(100);
            ASSERT_TRUE(RealInput::Release());
            WaitUntil([&] { return WindowRect(d).left != before.left; }, c.drags ? 3000 : 300);
            const RECT after = WindowRect(d);
            EXPECT_EQ(after.left - before.left, c.drags ? by.x : 0) << c.where;
            EXPECT_EQ(after.top - before.top, c.drags ? by.y : 0) << c.where;
            EXPECT_EQ(after.right - after.left, before.right - before.left) << c.where;
        }
        Click(d, layout.CentreOf("close"));
    });
}

TEST_F(MainDlgTest, ShadowFollowsWhetherTheProgramIsTheActiveOne) {
    RunMainWindow(dialog_, [&](Driver& d, const MainWindowLayout& layout) {
        const RECT card = layout.Card();
        // Beyond the reach of the inactive shadow (2 units and a narrow blur).
        const POINT outer{card.right + d.dpi.Scale(6), (card.top + card.bottom) / 2};
        const std::uint32_t active = d.ShownFrame().At(outer.x, outer.y);
        EXPECT_GE(Alpha(active), 15) << "active: a wide shadow";

        // Another program's window takes the activation (one of another thread will do).
        const HWND other = CreateWindowExW(WS_EX_TOOLWINDOW, L"STATIC", L"", WS_POPUP | WS_VISIBLE,
                                           0, 0, 40, 40, nullptr, nullptr, nullptr, nullptr);
        SetForegroundWindow(other);
        const Frame inactive =
            d.ShownFrame([&](const Frame& f) { return Alpha(f.At(outer.x, outer.y)) <= 5; });
        DestroyWindow(other);
        EXPECT_LE(Alpha(inactive.At(outer.x, outer.y)), 5) << "inactive: a narrow shadow";
        EXPECT_GT(Alpha(inactive.At(card.right, outer.y)), 0) << "inactive: still a shadow";
        EXPECT_EQ(layout.Mismatches(inactive, card, kReady), 0) << "the card does not change";

        Click(d, Background(d));
        const Frame again =
            d.ShownFrame([&](const Frame& f) { return f.At(outer.x, outer.y) == active; });
        EXPECT_EQ(Hex(again.At(outer.x, outer.y)), Hex(active)) << "active again";
        Click(d, layout.CentreOf("close"));
    });
}

// Escape, Enter and Alt+F4 reach the window and end nothing; the close button ends it with
// 2026. (The exit button's 2 is the workflow tests'.)
TEST_F(MainDlgTest, KeysEndNothingTheCloseButtonEndsItWith2026) {
    const INT_PTR result = RunMainWindow(dialog_, [&](Driver& d, const MainWindowLayout& layout) {
        Click(d, Background(d)); // the window has the keyboard
        ASSERT_TRUE(d.PressEscapeAndEnter()) << "the keys did not reach the window";
        ASSERT_TRUE(RealInput::Key("alt+F4"));
        Sleep(300);
        ASSERT_TRUE(d.IsOpen()) << "a key ended the window";
        Click(d, layout.CentreOf("close"));
        EXPECT_TRUE(d.WaitForEnd(5000));
    });
    EXPECT_EQ(result, 2026);
}

} // namespace
