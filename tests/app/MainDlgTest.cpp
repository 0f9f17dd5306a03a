// The main window as a user meets it, at the display's DPI (registered at 100 % and 150 %):
// CMainDlg in its real modal loop, driven by real X input, its frames read back from the
// software compositor and compared with its elements drawn at the layout table's rectangles.
#include "DialogDriver.h"
#include "FrameChecks.h"
#include "MainDlgLayout.h"

#include "MainDlg.h"
#include "RealInput.h"
#include "SVGButtonEx.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace {

using namespace AppTest;
using UiTest::RealInput;

constexpr int kNormal = CSVGButtonEx::kNormalLook;
constexpr int kHover = CSVGButtonEx::kHoverLook;
constexpr int kPushed = CSVGButtonEx::kPushedLook;

const Looks kReady = {};
const Looks kFinished = {{"uninstall", kHidden}, {"exit", kNormal}};

class MainDlgTest : public ::testing::Test {
  protected:
    using Script = std::function<void(Driver&, const MainWindowLayout&)>;

    void SetUp() override {
        ASSERT_TRUE(RealInput::Available()) << "run through run_with_input.sh";
    }

    // Runs the main window as the program does until the script has ended it; the script
    // starts once the window shows, with the pointer on the card's background.
    INT_PTR Run(const Script& script) {
        return RunScripted([&] { return dialog_.DoModal(GetActiveWindow()); },
                           Driver(dialog_.record, dialog_.Dpi(), dialog_.Host()),
                           [&](Driver& d) {
                               static const MainWindowLayout layout(d.dpi);
                               ASSERT_TRUE(d.MoveTo(Background(d)));
                               script(d, layout);
                           });
    }

    // A point of the card below the drag band that no element covers.
    static POINT Background(const Driver& d) { return {d.dpi.Scale(100), d.dpi.Scale(250)}; }
    static RECT WindowRect(const Driver& d) {
        RECT rect{};
        GetWindowRect(d.Window(), &rect);
        return rect;
    }
    static void MoveOutOfTheWindow(const Driver& d) {
        const RECT window = WindowRect(d);
        ASSERT_TRUE(RealInput::MoveTo(window.left - 40, window.top - 40));
    }
    static void Click(Driver& d, POINT client) {
        ASSERT_TRUE(d.MoveTo(client));
        ASSERT_TRUE(d.Press());
        ASSERT_TRUE(d.Release());
    }

    // The frame once the card shows these looks (or after about two seconds).
    static Frame CardShowing(Driver& d, const MainWindowLayout& layout, const Looks& looks) {
        return d.ShownFrame([&](const Frame& frame) {
            return layout.Mismatches(frame, layout.Card(), looks) == 0;
        });
    }
    static void ExpectCard(Driver& d, const MainWindowLayout& layout, const Looks& looks,
                           const char* what) {
        EXPECT_EQ(layout.Mismatches(CardShowing(d, layout, looks), layout.Card(), looks), 0)
            << what;
    }

    Testable<CMainDlg> dialog_;
};

TEST_F(MainDlgTest, IsItsDesignSizeScaledWithTheCardInsideItsShadowMargin) {
    Run([&](Driver& d, const MainWindowLayout& layout) {
        RECT client{};
        GetClientRect(d.Window(), &client);
        EXPECT_EQ(client.right, layout.WindowSize().cx);
        EXPECT_EQ(client.bottom, layout.WindowSize().cy);
        if (d.dpi.Scale(100) == 150) {
            EXPECT_EQ(client.right, 1098);
            EXPECT_EQ(client.bottom, 648);
        }
        const RECT outer = WindowRect(d);
        EXPECT_EQ(outer.right - outer.left, client.right) << "no frame around the client area";
        EXPECT_EQ(outer.bottom - outer.top, client.bottom);
        RECT work{};
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
        EXPECT_NEAR((outer.left + outer.right) / 2, (work.left + work.right) / 2, 1) << "centred";
        EXPECT_NEAR((outer.top + outer.bottom) / 2, (work.top + work.bottom) / 2, 1);

        const DWORD style = static_cast<DWORD>(GetWindowLongW(d.Window(), GWL_STYLE));
        EXPECT_EQ(style &
                      (WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX),
                  0u);
        EXPECT_NE(GetWindowLongW(d.Window(), GWL_EXSTYLE) & WS_EX_COMPOSITED, 0);
        wchar_t title[64] = {};
        GetWindowTextW(d.Window(), title, 64);
        EXPECT_STREQ(title, L"卸载 Corvane") << "the taskbar's name for it";
        EXPECT_NE(SendMessageW(d.Window(), WM_GETICON, ICON_BIG, 0), 0);
        EXPECT_NE(SendMessageW(d.Window(), WM_GETICON, ICON_SMALL, 0), 0);

        const Frame frame = CardShowing(d, layout, kReady);
        ASSERT_EQ(frame.width, client.right);
        ASSERT_EQ(frame.height, client.bottom);
        for (const char* element : {"background", "logo", "minimize", "close", "uninstall"})
            EXPECT_EQ(layout.Mismatches(frame, layout.RectOf(element), kReady), 0) << element;
        d.SaveFrame(frame, L"main-window-ready");

        // The margin: clear at the corners, a soft shadow that is stronger to the right and
        // below, in the active style (opacity 0.2 at most).
        const RECT card = layout.Card();
        EXPECT_EQ(card.left, d.dpi.Scale(16));
        for (POINT corner : {POINT{0, 0}, POINT{frame.width - 1, 0}, POINT{0, frame.height - 1},
                             POINT{frame.width - 1, frame.height - 1}})
            EXPECT_EQ(Alpha(frame.At(corner.x, corner.y)), 0) << corner.x << "," << corner.y;
        const int middleX = (card.left + card.right) / 2, middleY = (card.top + card.bottom) / 2;
        const int gap = d.dpi.Scale(2);
        const int right = Alpha(frame.At(card.right + gap, middleY));
        EXPECT_GT(right, Alpha(frame.At(card.left - 1 - gap, middleY)));
        EXPECT_GT(Alpha(frame.At(middleX, card.bottom + gap)),
                  Alpha(frame.At(middleX, card.top - 1 - gap)));
        EXPECT_GT(right, 10);
        EXPECT_LE(right, 52);
        Click(d, layout.CentreOf("close"));
    });
}

// Every button hears each move, so the pointer can go straight from one to the next; the hand
// shows over the buttons only.
TEST_F(MainDlgTest, HoverAndHandFollowThePointerFromButtonToButtonAndOutOfTheWindow) {
    Run([&](Driver& d, const MainWindowLayout& layout) {
        struct Step {
            const char* where;
            const char* element; // null: out of the window
            Looks looks;
            bool hand;
        };
        const Step steps[] = {
            {"on minimise", "minimize", {{"minimize", kHover}}, true},
            {"straight on to close", "close", {{"close", kHover}}, true},
            {"out of the window", nullptr, kReady, false},
            {"on uninstall", "uninstall", {{"uninstall", kHover}}, true},
            {"on the logo, which takes no input", "logo", kReady, false},
        };
        const HCURSOR hand = LoadCursorW(nullptr, IDC_HAND);
        for (const Step& step : steps) {
            if (step.element)
                ASSERT_TRUE(d.MoveTo(layout.CentreOf(step.element))) << step.where;
            else
                MoveOutOfTheWindow(d);
            ExpectCard(d, layout, step.looks, step.where);
            if (step.element) {
                HCURSOR cursor = nullptr;
                ASSERT_TRUE(d.OnDialogThread([&] { cursor = GetCursor(); }));
                EXPECT_EQ(cursor == hand, step.hand) << step.where;
            }
        }
        Click(d, layout.CentreOf("close"));
    });
}

TEST_F(MainDlgTest, ButtonsLookPushedWhilePressedAndDoNothingWhenReleasedOutside) {
    Run([&](Driver& d, const MainWindowLayout& layout) {
        for (const char* button : {"minimize", "close", "uninstall"}) {
            SCOPED_TRACE(button);
            ASSERT_TRUE(d.MoveTo(layout.CentreOf(button)));
            ExpectCard(d, layout, {{button, kHover}}, "hover");
            ASSERT_TRUE(d.Press());
            ExpectCard(d, layout, {{button, kPushed}}, "pressed");
            // Moves with the button held change no look.
            ASSERT_TRUE(d.MoveTo(Background(d)));
            ExpectCard(d, layout, {{button, kPushed}}, "pressed, pointer away");
            ASSERT_TRUE(d.Release());
            ExpectCard(d, layout, kReady, "released outside");
        }
        Sleep(200);
        const std::vector<int> commands = d.record.Commands();
        for (int command : {2024, 2026, 3043})
            EXPECT_EQ(std::count(commands.begin(), commands.end(), command), 0) << command;
        EXPECT_FALSE(IsIconic(d.Window()));
        ExpectCard(d, layout, kReady, "no command ran");
        Click(d, layout.CentreOf("close"));
    });
}

TEST_F(MainDlgTest, MinimizeButtonLooksNormalAgainAfterAClickAndARestore) {
    Run([&](Driver& d, const MainWindowLayout& layout) {
        Click(d, layout.CentreOf("minimize"));
        ASSERT_TRUE(WaitUntil([&] { return IsIconic(d.Window()) != FALSE; }, 3000))
            << "the minimise button did not minimise the window";
        // Restored from elsewhere, as from the taskbar, with the pointer away from the button.
        ASSERT_TRUE(RealInput::MoveTo(5, 5));
        ShowWindowAsync(d.Window(), SW_RESTORE);
        ASSERT_TRUE(WaitUntil([&] { return !IsIconic(d.Window()); }, 3000));
        ExpectCard(d, layout, kReady, "restored");
        // It still answers the pointer. (Wine sees no pointer outside its windows: coming back
        // to the very point it saw last would report no move.)
        ASSERT_TRUE(d.MoveTo(Background(d)));
        ASSERT_TRUE(d.MoveTo(layout.CentreOf("minimize")));
        ExpectCard(d, layout, {{"minimize", kHover}}, "hover after the restore");
        Click(d, layout.CentreOf("close"));
    });
}

TEST_F(MainDlgTest, TopBandDragsTheWindowAndAPressBelowItDoesNot) {
    Run([&](Driver& d, const MainWindowLayout& layout) {
        const int band = d.dpi.Scale(CMainDlg::kCaptionHeight);
        EXPECT_EQ(band, d.dpi.Scale(100) == 150 ? 60 : 40);
        struct Case {
            const char* where;
            POINT client;
            bool drags;
        };
        const Case cases[] = {
            {"band over the card", {d.dpi.Scale(300), d.dpi.Scale(24)}, true},
            {"band over the logo", {d.dpi.Scale(100), d.dpi.Scale(35)}, true},
            {"band's last row", {d.dpi.Scale(300), band - 1}, true},
            {"first row below the band", {d.dpi.Scale(300), band}, false},
            {"middle of the card", {d.dpi.Scale(300), d.dpi.Scale(200)}, false},
        };
        const POINT by{37, 23};
        for (const Case& c : cases) {
            SCOPED_TRACE(c.where);
            const RECT before = WindowRect(d);
            // Raw input: over the band the dialog hears no client moves, and while the system
            // drags neither moves nor the release.
            POINT start = c.client;
            ClientToScreen(d.Window(), &start);
            ASSERT_TRUE(RealInput::MoveTo(start.x, start.y));
            Sleep(100);
            ASSERT_TRUE(RealInput::Press());
            Sleep(100);
            ASSERT_TRUE(RealInput::MoveTo(start.x + by.x / 2, start.y + by.y / 2));
            Sleep(100);
            ASSERT_TRUE(RealInput::MoveTo(start.x + by.x, start.y + by.y));
            Sleep(100);
            ASSERT_TRUE(RealInput::Release());
            WaitUntil([&] { return WindowRect(d).left != before.left; }, c.drags ? 3000 : 300);
            const RECT after = WindowRect(d);
            EXPECT_EQ(after.left - before.left, c.drags ? by.x : 0);
            EXPECT_EQ(after.top - before.top, c.drags ? by.y : 0);
            EXPECT_EQ(after.right - after.left, before.right - before.left);
        }
        ExpectCard(d, layout, kReady, "nothing else changed");
        Click(d, layout.CentreOf("close"));
    });
}

TEST_F(MainDlgTest, ShadowFollowsWhetherTheProgramIsTheActiveOne) {
    Run([&](Driver& d, const MainWindowLayout& layout) {
        const RECT card = layout.Card();
        // Beyond the reach of the inactive shadow (2 units and a narrow blur).
        const POINT outer{card.right + d.dpi.Scale(6), (card.top + card.bottom) / 2};
        const Frame active = d.ShownFrame();
        ASSERT_GT(active.width, outer.x);
        EXPECT_GE(Alpha(active.At(outer.x, outer.y)), 15) << "active: a wide shadow";

        // Another program's window takes the activation (a window of another thread will do).
        const HWND other =
            CreateWindowExW(WS_EX_TOOLWINDOW, L"STATIC", L"other", WS_POPUP | WS_VISIBLE, 0, 0, 40,
                            40, nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(other, nullptr);
        SetForegroundWindow(other);
        const Frame inactive = d.ShownFrame(
            [&](const Frame& frame) { return Alpha(frame.At(outer.x, outer.y)) <= 5; });
        DestroyWindow(other);
        EXPECT_LE(Alpha(inactive.At(outer.x, outer.y)), 5) << "inactive: a narrow shadow";
        EXPECT_GT(Alpha(inactive.At(card.right, outer.y)), 0) << "inactive: still a shadow";
        EXPECT_EQ(layout.Mismatches(inactive, card, kReady), 0) << "the card does not change";

        // Active again.
        Click(d, Background(d));
        const Frame again = d.ShownFrame([&](const Frame& frame) {
            return frame.At(outer.x, outer.y) == active.At(outer.x, outer.y);
        });
        EXPECT_EQ(Hex(again.At(outer.x, outer.y)), Hex(active.At(outer.x, outer.y)));
        Click(d, layout.CentreOf("close"));
    });
}

// Escape, Enter and Alt+F4 reach the window and end nothing; the close button ends it with
// 2026.
TEST_F(MainDlgTest, KeysEndNothingTheCloseButtonEndsItWith2026) {
    const INT_PTR result = Run([&](Driver& d, const MainWindowLayout& layout) {
        Click(d, Background(d)); // the window has the keyboard
        ASSERT_TRUE(RealInput::Key("Escape") && RealInput::Key("Return"));
        ASSERT_TRUE(WaitUntil(
            [&] {
                const std::vector<int> c = d.record.Commands();
                return std::count(c.begin(), c.end(), IDCANCEL) &&
                       std::count(c.begin(), c.end(), IDOK);
            },
            2000))
            << "the keys did not reach the window";
        ASSERT_TRUE(RealInput::Key("alt+F4"));
        Sleep(300);
        ASSERT_TRUE(d.IsOpen()) << "a key ended the window";

        Click(d, layout.CentreOf("close"));
        EXPECT_TRUE(d.WaitForEnd(5000));
    });
    EXPECT_EQ(result, 2026);
}

// A DPI change moves the window to the corner the system suggests, sized by the window's own
// scale, and its frame follows the new size.
TEST_F(MainDlgTest, DpiChangeMovesTheWindowToTheSuggestedCorner) {
    Run([&](Driver& d, const MainWindowLayout& layout) {
        RECT suggested{200, 100, 200 + 732, 100 + 432};
        SendMessageW(d.Window(), WM_DPICHANGED, MAKEWPARAM(144, 144),
                     reinterpret_cast<LPARAM>(&suggested));
        const RECT window = WindowRect(d);
        EXPECT_EQ(window,
                  (RECT{200, 100, 200 + layout.WindowSize().cx, 100 + layout.WindowSize().cy}));
        const Frame frame = d.ShownFrame();
        EXPECT_EQ(frame.width, layout.WindowSize().cx);
        EXPECT_EQ(layout.Mismatches(frame, layout.Card(), kReady), 0);
        Click(d, layout.CentreOf("close"));
    });
}

TEST_F(MainDlgTest, FinishedStateShowsTheExitButtonInPlaceOfUninstallWhichEndsItWith2) {
    const INT_PTR result = Run([&](Driver& d, const MainWindowLayout& layout) {
        ASSERT_TRUE(d.OnDialogThread([&] { dialog_.ShowFinishedState(); }));
        const Frame frame = CardShowing(d, layout, kFinished);
        EXPECT_EQ(layout.Mismatches(frame, layout.Card(), kFinished), 0);
        d.SaveFrame(frame, L"main-window-finished");

        ASSERT_TRUE(d.MoveTo(layout.CentreOf("exit")));
        ExpectCard(d, layout, {{"uninstall", kHidden}, {"exit", kHover}}, "exit hovered");
        ASSERT_TRUE(d.Press());
        ExpectCard(d, layout, {{"uninstall", kHidden}, {"exit", kPushed}}, "exit pressed");
        ASSERT_TRUE(d.Release());
        EXPECT_TRUE(d.WaitForEnd(5000));
    });
    EXPECT_EQ(result, 2);
}

} // namespace
