// Mouse routing over a dialog's mouse list, with objects created without a host: state
// bits, commands posted to a real window, mouse capture and the cursor.
#include "UiTestSupport.h"

#include "MouseList.h"
#include "SVGButtonEx.h"
#include "SVGSOCtrl.h"

#include <gtest/gtest.h>

#include <ostream>

#include <functional>
#include <string>
#include <vector>

namespace {

constexpr DWORD kHover = CSVGSimpleObject::kHover;
constexpr DWORD kPressed = CSVGSimpleObject::kPressed;
constexpr DWORD kDisabled = CSVGSimpleObject::kDisabled;

// Client layout: buttons A and B side by side (A covers x 10..33, B 34..57), a picture,
// and a container holding button C as its child (C covers x 110..149, y 130..149).
struct Dialog {
    explicit Dialog(HWND owner) {
        a.Create(owner, {10, 10, 34, 34}, L"A", 2024, nullptr, CSVGButtonEx::kSpriteMode);
        b.Create(owner, {34, 10, 58, 34}, L"B", 2026, nullptr, CSVGButtonEx::kSpriteMode);
        picture.Create(owner, {60, 60, 160, 100}, nullptr, 7, nullptr, 0);
        container.Create(owner, {100, 120, 200, 220}, nullptr, 0, nullptr, 0);
        container.CreateChild(&c, {10, 10, 50, 30}, L"C", 3043, 0, true);
        for (CSVGSimpleObject* object :
             std::initializer_list<CSVGSimpleObject*>{&a, &b, &picture, &container})
            list.Append(object);
    }
    CSVGButtonEx a, b, c;
    CSVGSOCtrl picture, container;
    CMouseList list;
};

enum class Input { Move, Down, Up, CaptureLost };

struct Step {
    Input input;
    int x;
    int y;
    WPARAM keys;
};

Step Move(int x, int y, WPARAM keys = 0) {
    return {Input::Move, x, y, keys};
}
Step Down(int x, int y) {
    return {Input::Down, x, y, MK_LBUTTON};
}
Step Up(int x, int y) {
    return {Input::Up, x, y, 0};
}

struct Scenario {
    std::string name;
    std::function<void(Dialog&, HWND)> setup;
    std::vector<Step> steps;
    std::vector<int> commands;
    DWORD stateA;
    DWORD stateB;
    DWORD stateC;
};

void PrintTo(const Scenario& value, std::ostream* out) {
    *out << value.name;
}

void Nothing(Dialog&, HWND) {}

std::vector<Scenario> Scenarios() {
    return {
        {"ClickPostsOneCommand",
         Nothing,
         {Move(20, 20), Down(20, 20), Up(20, 20)},
         {2024},
         kHover,
         0,
         0},
        {"ClickWithoutMoveFirst", Nothing, {Down(12, 30), Up(12, 30)}, {2024}, kHover, 0, 0},
        {"PressMoveOutReleasePostsNothing",
         Nothing,
         {Move(20, 20), Down(20, 20), Move(80, 80, MK_LBUTTON), Up(80, 80)},
         {},
         0,
         0,
         0},
        {"PressOutAndBackReleasesInside",
         Nothing,
         {Down(20, 20), Move(80, 80, MK_LBUTTON), Move(20, 20, MK_LBUTTON), Up(20, 20)},
         {2024},
         kHover,
         0,
         0},
        {"PressOnOneReleaseOnOther",
         Nothing,
         {Move(20, 20), Down(20, 20), Up(40, 20)},
         {},
         0,
         0,
         0},
        {"MoveWithButtonHeldChangesNoHover",
         Nothing,
         {Move(20, 20, MK_LBUTTON), Move(40, 20, MK_RBUTTON), Move(120, 135, MK_SHIFT)},
         {},
         0,
         0,
         0},
        {"PressedStaysPushedWhileHeldOutside",
         Nothing,
         {Down(20, 20), Move(80, 80, MK_LBUTTON)},
         {},
         kPressed,
         0,
         0},
        {"OneMoveAcrossNeighbours", Nothing, {Move(20, 20), Move(40, 20)}, {}, 0, kHover, 0},
        {"MoveOutClearsHover", Nothing, {Move(20, 20), Move(5, 5)}, {}, 0, 0, 0},
        {"RightAndBottomEdgesAreOutside", Nothing, {Move(58, 20), Move(20, 34)}, {}, 0, 0, 0},
        {"DisabledTakesNoPress",
         [](Dialog& d, HWND) { d.a.Enable(false); },
         {Move(20, 20), Down(20, 20), Up(20, 20)},
         {},
         kDisabled,
         0,
         0},
        {"HiddenTakesNoInput",
         [](Dialog& d, HWND) { d.a.Hide(); },
         {Move(20, 20), Down(20, 20), Up(20, 20)},
         {},
         0,
         0,
         0},
        {"ShownAgainTakesInput",
         [](Dialog& d, HWND) {
             d.a.Hide();
             d.a.Show();
         },
         {Down(20, 20), Up(20, 20)},
         {2024},
         kHover,
         0,
         0},
        {"HiddenFirstObjectDoesNotSwallowThePress",
         [](Dialog& d, HWND) { d.a.Hide(); },
         {Down(40, 20), Up(40, 20)},
         {2026},
         0,
         kHover,
         0},
        {"ChildTakesInputThroughItsParent",
         Nothing,
         {Move(120, 135), Down(120, 135), Up(120, 135)},
         {3043},
         0,
         0,
         kHover},
        {"ChildrenOfHiddenObjectTakeNoInput",
         [](Dialog& d, HWND) { d.container.Hide(); },
         {Move(120, 135), Down(120, 135), Up(120, 135)},
         {},
         0,
         0,
         0},
        {"PictureTakesNoPress", Nothing, {Move(80, 80), Down(80, 80), Up(80, 80)}, {}, 0, 0, 0},
        {"PictureWithHitRectTakesClicks",
         [](Dialog& d, HWND) {
             d.picture.SetHitRect({60, 60, 160, 100});
         },
         {Down(80, 80), Up(80, 80)},
         {7},
         0,
         0,
         0},
        {"ReleaseNobodyTakesEndsTheDialogsCapture",
         [](Dialog&, HWND owner) {
             SetCapture(owner);
             ASSERT_EQ(GetCapture(), owner);
         },
         {Down(5, 5), Up(5, 5)},
         {},
         0,
         0,
         0},
        {"LostCaptureKeepsTheStates",
         Nothing,
         {Move(40, 20), Down(20, 20), {Input::CaptureLost, 0, 0, 0}},
         {},
         kPressed,
         kHover,
         0},
    };
}

class MouseRoutingTest : public ::testing::TestWithParam<Scenario> {};

TEST_P(MouseRoutingTest, Scenario) {
    const Scenario& scenario = GetParam();
    UiTest::OwnerWindow owner;
    ASSERT_NE(owner.Handle(), nullptr);
    Dialog dialog(owner.Handle());
    scenario.setup(dialog, owner.Handle());

    for (const Step& step : scenario.steps) {
        const LPARAM point = MAKELPARAM(step.x, step.y);
        switch (step.input) {
        case Input::Move:
            dialog.list.OnMouseMove(step.keys, point, owner.Handle(), nullptr);
            break;
        case Input::Down:
            if (dialog.list.OnLButtonDown(step.keys, point, owner.Handle(), nullptr)) {
                EXPECT_EQ(GetCapture(), owner.Handle());
                EXPECT_NE(CSVGSimpleObject::CapturedObject(), nullptr);
            }
            break;
        case Input::Up:
            dialog.list.OnLButtonUp(step.keys, point, owner.Handle(), nullptr);
            EXPECT_EQ(GetCapture(), nullptr);
            EXPECT_EQ(CSVGSimpleObject::CapturedObject(), nullptr);
            break;
        case Input::CaptureLost:
            dialog.list.OnCaptureChanged(0, 0, owner.Handle(), nullptr);
            break;
        }
    }

    EXPECT_EQ(owner.TakeCommands(), scenario.commands);
    EXPECT_EQ(dialog.a.State(), scenario.stateA);
    EXPECT_EQ(dialog.b.State(), scenario.stateB);
    EXPECT_EQ(dialog.c.State(), scenario.stateC);
}

INSTANTIATE_TEST_SUITE_P(Dialog, MouseRoutingTest, ::testing::ValuesIn(Scenarios()),
                         [](const auto& info) { return info.param.name; });

// While one object holds the press, losing the capture makes every other object that
// takes input show its state again; the pressed one is left alone.
TEST(CaptureChanged, OthersReshowTheirState) {
    UiTest::OwnerWindow owner;
    Dialog dialog(owner.Handle());
    EXPECT_TRUE(dialog.list.OnCaptureChanged(0, 0, owner.Handle(), nullptr));

    CMouseList onlyA;
    onlyA.Append(&dialog.a);
    ASSERT_TRUE(onlyA.OnLButtonDown(MK_LBUTTON, MAKELPARAM(20, 20), owner.Handle(), nullptr));
    EXPECT_FALSE(onlyA.OnCaptureChanged(0, 0, owner.Handle(), nullptr));
    onlyA.OnLButtonUp(0, MAKELPARAM(20, 20), owner.Handle(), nullptr);
}

struct CursorCase {
    std::string name;
    std::function<void(Dialog&)> setup;
    POINT point;
    bool hand;
};

void PrintTo(const CursorCase& value, std::ostream* out) {
    *out << value.name;
}

class CursorTest : public ::testing::TestWithParam<CursorCase> {};

TEST_P(CursorTest, HandOnlyOverObjectsThatTakeInput) {
    const CursorCase& test = GetParam();
    UiTest::OwnerWindow owner;
    Dialog dialog(owner.Handle());
    test.setup(dialog);
    HCURSOR arrow = LoadCursorW(nullptr, IDC_ARROW);
    SetCursor(arrow);

    EXPECT_EQ(dialog.list.OnSetCursor(owner.Handle(), test.point), test.hand);
    EXPECT_EQ(GetCursor(), test.hand ? LoadCursorW(nullptr, IDC_HAND) : arrow);
}

INSTANTIATE_TEST_SUITE_P(
    Dialog, CursorTest,
    ::testing::Values(
        CursorCase{"Button", [](Dialog&) {}, {20, 20}, true},
        CursorCase{"Nothing", [](Dialog&) {}, {5, 5}, false},
        CursorCase{"Picture", [](Dialog&) {}, {80, 80}, false},
        CursorCase{"PictureWithHitRect",
                   [](Dialog& d) {
                       d.picture.SetHitRect({60, 60, 160, 100});
                   },
                   {80, 80},
                   true},
        CursorCase{"DisabledButton", [](Dialog& d) { d.a.Enable(false); }, {20, 20}, false},
        CursorCase{"HiddenButton", [](Dialog& d) { d.a.Hide(); }, {20, 20}, false},
        CursorCase{"Child", [](Dialog&) {}, {120, 135}, true},
        CursorCase{"ChildOfHiddenObject", [](Dialog& d) { d.container.Hide(); }, {120, 135}, false},
        CursorCase{"HiddenChild", [](Dialog& d) { d.c.Hide(); }, {120, 135}, false}),
    [](const auto& info) { return info.param.name; });

} // namespace
