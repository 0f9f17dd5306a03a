// The question dialog on its own, as the uninstall workflow fills it, driven by real input at
// the display's DPI (registered at 100 % and at 150 %).
#include "DialogDriver.h"
#include "FrameChecks.h"

#include "DialogLayout.h"
#include "MsgDlg.h"
#include "RealInput.h"
#include "UninstallWorkflow.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using namespace AppTest;
using namespace TestSupport;

constexpr std::uint32_t kNormal = 0x00D766, kHover = 0x19CC6E, kPushed = 0x00B255;

struct ButtonCase {
    const char* name;
    RECT designRect;
    int command;
    INT_PTR result;
};
void PrintTo(const ButtonCase& button, std::ostream* out) {
    *out << button.name;
}
const ButtonCase kConfirm{"confirm", DialogLayout::Question::kConfirm, 2024, 1};
const ButtonCase kCancel{"cancel", DialogLayout::Question::kCancel, 2025, 2};

POINT Centre(const RECT& r) {
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

// The caption's strokes reach that colour.
bool Caption(const Frame& frame, const RECT& button, std::uint32_t colour) {
    return InkIn(frame, button, colour).closest <= 12;
}

class MsgDlgTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(RealInput::Available()) << "run through run_with_input.sh";
        FillForceRemovalQuestion(dialog_);
    }
    // A point of the page no button covers.
    static POINT Background(const CDPI& dpi) { return {dpi.Scale(100), dpi.Scale(140)}; }

    Testable<CDXGIMsgDlg> dialog_;
};

// Size, page and corners, the texts where their rectangles start, each button taking the
// pointer exactly inside its rectangle, the caption colours of every state.
TEST_F(MsgDlgTest, LooksAsLaidOut) {
    const INT_PTR result = RunScripted(dialog_, [&](Driver& d) {
        const CDPI& dpi = d.dpi;
        const RECT buttons[] = {Scaled(dpi, kConfirm.designRect), Scaled(dpi, kCancel.designRect)};
        ASSERT_TRUE(d.MoveTo(Background(dpi)));
        const Frame frame = d.ShownFrame([&](const Frame& f) {
            return Caption(f, buttons[0], kNormal) && Caption(f, buttons[1], kNormal);
        });
        d.SaveFrame(frame, L"question-dialog");
        RECT window{};
        GetWindowRect(d.Window(), &window);
        EXPECT_EQ(window.right - window.left, frame.width) << "the window has a frame";
        ExpectPage(frame, dpi, {DialogLayout::Question::kWidth, DialogLayout::Question::kHeight},
                   {{10, 100}, {190, 150}, {385, 60}});
        if (dpi.Scale(100) == 150) {
            EXPECT_EQ(frame.width, 585);
            EXPECT_EQ(frame.height, 240);
            EXPECT_EQ(buttons[0], (RECT{303, 171, 420, 231}));
            EXPECT_EQ(buttons[1], (RECT{438, 171, 555, 231}));
        }

        struct TextCase {
            RECT designRect;
            std::uint32_t colour;
            int size;
        };
        const TextCase texts[] = {
            {DialogLayout::Question::kTitle, kWhite, 16},
            {DialogLayout::Question::kMessage, Blend(kWhite, 0.7, kPageColour), 14},
            {kConfirm.designRect, kNormal, 14},
            {kCancel.designRect, kNormal, 14},
        };
        for (const TextCase& text : texts) {
            const RECT area = Scaled(dpi, text.designRect);
            const Ink ink = InkIn(frame, area, text.colour);
            const int size = dpi.Scale(text.size);
            SCOPED_TRACE(testing::Message() << "text at " << area.left << "," << area.top);
            EXPECT_LE(ink.closest, 24) << "no pixel in its colour";
            EXPECT_GE(ink.box.left, area.left);
            EXPECT_LE(ink.box.left, area.left + dpi.Scale(4));
            EXPECT_GE(ink.box.top, area.top);
            EXPECT_LE(ink.box.top, area.top + dpi.Scale(8));
            EXPECT_GE(ink.box.bottom - ink.box.top, size * 6 / 10);
            EXPECT_LE(ink.box.bottom - ink.box.top, size * 14 / 10);
        }

        for (const RECT& b : buttons) {
            const std::pair<POINT, std::uint32_t> edges[] = {{{b.left, b.top}, kHover},
                                                             {{b.left - 1, b.top}, kNormal},
                                                             {{b.right - 1, b.bottom - 1}, kHover},
                                                             {{b.right, b.bottom - 1}, kNormal},
                                                             {{b.right - 1, b.bottom}, kNormal}};
            for (const auto& [point, colour] : edges) {
                ASSERT_TRUE(d.MoveTo(point));
                const Frame f = d.ShownFrame([&](const Frame& f) { return Caption(f, b, colour); });
                EXPECT_TRUE(Caption(f, b, colour))
                    << point.x << "," << point.y << " not " << Hex(colour);
                if (&b == &buttons[0] && colour == kHover && point.x == b.left)
                    d.SaveFrame(f, L"question-dialog-hover");
            }
        }

        ASSERT_TRUE(d.MoveTo(Centre(buttons[1])));
        ASSERT_TRUE(d.Press());
        const Frame pushed =
            d.ShownFrame([&](const Frame& f) { return Caption(f, buttons[1], kPushed); });
        EXPECT_TRUE(Caption(pushed, buttons[1], kPushed));
        EXPECT_TRUE(Caption(pushed, buttons[0], kNormal));
        d.SaveFrame(pushed, L"question-dialog-pushed");
        ASSERT_TRUE(d.Release());
    });
    EXPECT_EQ(result, kCancel.result);
}

// A DPI change: the window takes the rectangle the system suggests as it is (already at the new
// DPI, its corner wherever the system puts it), and the buttons take the pointer where the new
// DPI has laid them out.
TEST_F(MsgDlgTest, DpiChangeTakesTheSuggestedRectangle) {
    const INT_PTR result = RunScripted(dialog_, [&](Driver& d) {
        const RECT suggested{200, 100, 200 + 585, 100 + 240};
        SendMessageW(d.Window(), WM_DPICHANGED, MAKEWPARAM(144, 144),
                     reinterpret_cast<LPARAM>(&suggested));
        RECT window{};
        GetWindowRect(d.Window(), &window);
        EXPECT_EQ(window, suggested);
        EXPECT_EQ(d.dpi.Scale(100), 150);
        ASSERT_TRUE(d.MoveTo(Centre(Scaled(d.dpi, kCancel.designRect))));
        ASSERT_TRUE(d.Press());
        ASSERT_TRUE(d.Release());
        EXPECT_TRUE(d.WaitForEnd(5000));
    });
    EXPECT_EQ(result, kCancel.result);
}

class MsgDlgResultTest : public MsgDlgTest, public ::testing::WithParamInterface<ButtonCase> {};

// Escape and Enter reach the dialog and end nothing; nor does a press on the button released
// beside it, nor a press on the background, which captures the mouse, records the press and
// moves nothing when dragged. A click ends the dialog at its release, with the button's result.
TEST_P(MsgDlgResultTest, OnlyAClickOnAButtonEndsIt) {
    const ButtonCase& button = GetParam();
    std::vector<int> commandsBeforeClick;
    const INT_PTR result = RunScripted(dialog_, [&](Driver& d) {
        const RECT rect = Scaled(d.dpi, button.designRect);
        const POINT away = Background(d.dpi);
        ASSERT_TRUE(d.MoveTo(away));
        ASSERT_TRUE(d.PressEscapeAndEnter()) << "the keys did not reach the dialog";

        // Pressed again at once on the same spot, the system reports a double-click: it
        // presses the button all the same.
        Sleep(GetDoubleClickTime() + 100);
        ASSERT_TRUE(d.MoveTo(Centre(rect)) && d.Press());
        ASSERT_TRUE(d.MoveTo(away) && d.Release());
        ASSERT_TRUE(d.MoveTo(Centre(rect)) && RealInput::Press());
        const Frame again = d.ShownFrame([&](const Frame& f) { return Caption(f, rect, kPushed); });
        EXPECT_TRUE(Caption(again, rect, kPushed)) << "a quick second press was lost";
        ASSERT_TRUE(d.MoveTo(away));
        ASSERT_TRUE(d.Release());
        const Frame released =
            d.ShownFrame([&](const Frame& f) { return Caption(f, rect, kNormal); });
        EXPECT_TRUE(Caption(released, rect, kNormal)) << "the button stays pushed";

        RECT before{}, after{};
        GetWindowRect(d.Window(), &before);
        ASSERT_TRUE(d.Press());
        bool captured = false, dragging = false;
        POINT pressPoint{}, screen = away;
        ClientToScreen(d.Window(), &screen);
        const auto look = [&] {
            captured = GetCapture() == d.Window();
            dragging = dialog_.Dragging();
            pressPoint = dialog_.PressPoint();
        };
        ASSERT_TRUE(d.OnDialogThread(look));
        EXPECT_TRUE(captured && dragging);
        EXPECT_EQ(pressPoint.x, screen.x);
        EXPECT_EQ(pressPoint.y, screen.y);
        ASSERT_TRUE(d.MoveTo({away.x + d.dpi.Scale(40), away.y - d.dpi.Scale(30)}));
        ASSERT_TRUE(d.Release());
        GetWindowRect(d.Window(), &after);
        EXPECT_EQ(after, before) << "the window moved";
        ASSERT_TRUE(d.OnDialogThread(look));
        EXPECT_FALSE(captured || dragging);

        commandsBeforeClick = d.record.Commands();
        ASSERT_TRUE(d.MoveTo(Centre(rect)));
        ASSERT_TRUE(d.Press());
        Sleep(200);
        ASSERT_TRUE(d.IsOpen()) << "the press ended the dialog";
        ASSERT_TRUE(d.Release());
        EXPECT_TRUE(d.WaitForEnd(5000));
    });
    for (int command : {kConfirm.command, kCancel.command})
        EXPECT_EQ(std::count(commandsBeforeClick.begin(), commandsBeforeClick.end(), command), 0);
    EXPECT_EQ(result, button.result);
}

INSTANTIATE_TEST_SUITE_P(Buttons, MsgDlgResultTest, ::testing::Values(kConfirm, kCancel),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
