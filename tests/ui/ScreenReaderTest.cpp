// The accessibility test dialog, run as a program of its own, read from this process the way
// a screen reader reads it: AccessibleObjectFromWindow, AccessibleChildren, IAccessible
// through the system's marshalling, and WinEvents from an out-of-context hook. Runs at the
// display's DPI (100 % and 150 % runs are registered); the pointer is parked on the dialog so
// that it has the keyboard focus.
#include "AccessTestDialog.h"
#include "RealInput.h"
#include "ScreenReader.h"
#include "WatchedProgram.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

namespace {

using namespace AccessTest;
using ScreenReader::EventLog;
using ScreenReader::Node;
using ScreenReader::Tree;
using UiTest::PumpFor;
using UiTest::PumpUntil;
using UiTest::RealInput;

VARIANT Child(LONG id) {
    VARIANT child;
    VariantInit(&child);
    child.vt = VT_I4;
    child.lVal = id;
    return child;
}

class ScreenReaderTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(RealInput::Available()) << "run through run_with_input.sh";
        // Locations in screen pixels, unscaled, as the dialog (DPI aware) draws them.
        SetProcessDPIAware();
        HDC screen = GetDC(nullptr);
        percent_ = MulDiv(GetDeviceCaps(screen, LOGPIXELSX), 100, 96);
        ReleaseDC(nullptr, screen);
        ASSERT_TRUE(
            program_.Start(L"\"" + ScreenReader::ProgramFolder() + L"access_test_dialog.exe\""));
        window_ = program_.WaitForDialog(20000);
        ASSERT_NE(window_, nullptr) << "the dialog did not show";
        // With the pointer on it, the dialog has the keyboard focus (no window manager).
        POINT quiet = Client(kQuietPoint.x, kQuietPoint.y);
        ClientToScreen(window_, &quiet);
        ASSERT_TRUE(RealInput::MoveTo(quiet.x, quiet.y));
    }

    // The commands the dialog has written so far.
    std::vector<int> Commands() {
        std::vector<int> commands;
        std::istringstream lines(program_.Output());
        std::string word;
        int id = 0;
        while (lines >> word >> id)
            commands.push_back(id);
        return commands;
    }

    POINT Client(int designX, int designY) const {
        return {MulDiv(designX, percent_, 100), MulDiv(designY, percent_, 100)};
    }
    // Where a design rectangle of the client area (or of the page, whose parts are scaled
    // on their own and placed at the page's pixels) lies on the screen.
    RECT OnScreen(const RECT& design, const RECT* page = nullptr) const {
        POINT origin{0, 0};
        ClientToScreen(window_, &origin);
        if (page) {
            const POINT corner = Client(page->left, page->top);
            origin.x += corner.x;
            origin.y += corner.y;
        }
        const POINT topLeft = Client(design.left, design.top);
        const POINT bottomRight = Client(design.right, design.bottom);
        return {origin.x + topLeft.x, origin.y + topLeft.y, origin.x + bottomRight.x,
                origin.y + bottomRight.y};
    }

    int percent_ = 100;
    ScreenReader::WatchedProgram program_;
    EventLog& events_ = program_.Events();
    HWND window_ = nullptr;
};

struct ExpectedPart {
    const wchar_t* name;
    LONG role;
    RECT design;
    bool inPage;
    LONG statesOn;
    LONG statesOff;
    const wchar_t* value;
    const wchar_t* action;
};

constexpr LONG kButtonOff = STATE_SYSTEM_UNAVAILABLE | STATE_SYSTEM_INVISIBLE |
                            STATE_SYSTEM_PRESSED | STATE_SYSTEM_HOTTRACKED;

const ExpectedPart kParts[] = {
    {L"最小化", ROLE_SYSTEM_PUSHBUTTON, kMinimizeRect, false, STATE_SYSTEM_FOCUSABLE,
     kButtonOff | STATE_SYSTEM_FOCUSED, L"", L"按下"},
    {L"关闭", ROLE_SYSTEM_PUSHBUTTON, kCloseRect, false, STATE_SYSTEM_FOCUSABLE,
     kButtonOff | STATE_SYSTEM_FOCUSED, L"", L"按下"},
    {L"立即卸载", ROLE_SYSTEM_PUSHBUTTON, kActionRect, false,
     STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_FOCUSED, kButtonOff, L"", L"按下"},
    {L"取  消", ROLE_SYSTEM_PUSHBUTTON, kTextButtonRect, false, STATE_SYSTEM_FOCUSABLE,
     kButtonOff | STATE_SYSTEM_FOCUSED, L"", L"按下"},
    {kPageText, ROLE_SYSTEM_STATICTEXT, kPageTextRect, true, STATE_SYSTEM_READONLY,
     STATE_SYSTEM_INVISIBLE | STATE_SYSTEM_FOCUSABLE, L"", L""},
    {kBarName, ROLE_SYSTEM_PROGRESSBAR, kPageBarRect, true, STATE_SYSTEM_READONLY,
     STATE_SYSTEM_INVISIBLE | STATE_SYSTEM_FOCUSABLE, L"0%", L""},
};

// The whole tree: the dialog, its visible parts in order with their names, roles, states,
// locations, values and actions; hit tests and navigation land on the same parts.
TEST_F(ScreenReaderTest, ReadsTheDialogAndItsParts) {
    ASSERT_TRUE(PumpUntil(
        [&] {
            const Tree tree = ScreenReader::Read(window_);
            const Node* uninstall = ScreenReader::Find(tree, L"立即卸载");
            return uninstall && (uninstall->state & STATE_SYSTEM_FOCUSED);
        },
        10000))
        << "the uninstall button never had the focus";
    const Tree tree = ScreenReader::Read(window_);
    std::cout << ScreenReader::Print(tree);
    ASSERT_HRESULT_SUCCEEDED(tree.status);

    RECT client{};
    GetClientRect(window_, &client);
    MapWindowPoints(window_, nullptr, reinterpret_cast<POINT*>(&client), 2);
    EXPECT_EQ(tree.dialog.name, kDialogName);
    EXPECT_EQ(tree.dialog.role, ROLE_SYSTEM_DIALOG);
    EXPECT_TRUE(EqualRect(&tree.dialog.location, &client));

    ASSERT_EQ(tree.children.size(), std::size(kParts));
    for (size_t i = 0; i < tree.children.size(); ++i) {
        const Node& node = tree.children[i];
        const ExpectedPart& expected = kParts[i];
        SCOPED_TRACE(ScreenReader::Utf8(expected.name));
        EXPECT_EQ(node.name, expected.name);
        EXPECT_EQ(node.role, expected.role);
        EXPECT_EQ(node.state & expected.statesOn, expected.statesOn)
            << ScreenReader::StateText(node.state);
        EXPECT_EQ(node.state & expected.statesOff, 0) << ScreenReader::StateText(node.state);
        const RECT where = OnScreen(expected.design, expected.inPage ? &kPageRect : nullptr);
        EXPECT_TRUE(EqualRect(&node.location, &where))
            << node.location.left << "," << node.location.top << " " << node.location.right << ","
            << node.location.bottom << " expected " << where.left << "," << where.top << " "
            << where.right << "," << where.bottom;
        EXPECT_EQ(node.value, expected.value);
        EXPECT_EQ(node.defaultAction, expected.action);

        VARIANT hit;
        EXPECT_EQ(tree.object->accHitTest((where.left + where.right) / 2,
                                          (where.top + where.bottom) / 2, &hit),
                  S_OK);
        EXPECT_EQ(hit.vt == VT_I4 ? hit.lVal : -1, node.id);
        VARIANT next;
        const HRESULT navigated =
            i == 0 ? tree.object->accNavigate(NAVDIR_FIRSTCHILD, Child(CHILDID_SELF), &next)
                   : tree.object->accNavigate(NAVDIR_NEXT, Child(tree.children[i - 1].id), &next);
        EXPECT_EQ(navigated, S_OK);
        EXPECT_EQ(next.vt == VT_I4 ? next.lVal : -1, node.id);
    }
    VARIANT outside;
    EXPECT_EQ(tree.object->accHitTest(client.left - 50, client.top - 50, &outside), S_FALSE);
    EXPECT_EQ(outside.vt, VT_EMPTY);
    VARIANT focus;
    ASSERT_EQ(tree.object->get_accFocus(&focus), S_OK);
    EXPECT_EQ(focus.vt == VT_I4 ? focus.lVal : -1, ScreenReader::Find(tree, L"立即卸载")->id);

    const auto started = events_.Of(EVENT_SYSTEM_DIALOGSTART);
    ASSERT_EQ(started.size(), 1u);
    EXPECT_EQ(started[0].window, window_);
}

// The default action is a click: one command, and what the dialog does with it. The exit
// button takes the uninstall button's place (events tell of both), the hidden button keeps
// its id but can no longer be pressed, and once the dialog has ended the object answers no
// more.
TEST_F(ScreenReaderTest, DefaultActionClicksOnce) {
    Tree tree = ScreenReader::Read(window_);
    ASSERT_HRESULT_SUCCEEDED(tree.status);
    const Node uninstall = *ScreenReader::Find(tree, L"立即卸载");
    EXPECT_EQ(tree.object->accDoDefaultAction(Child(uninstall.id)), S_OK);
    ASSERT_TRUE(PumpUntil([&] { return !Commands().empty(); }));
    PumpFor(300);
    EXPECT_EQ(Commands(), std::vector<int>{kUninstall});

    tree = ScreenReader::Read(window_);
    EXPECT_EQ(ScreenReader::Find(tree, L"立即卸载"), nullptr);
    const Node* exit = ScreenReader::Find(tree, L"退出");
    ASSERT_NE(exit, nullptr);
    EXPECT_TRUE(EqualRect(&exit->location, &uninstall.location));
    HRESULT status = S_OK;
    const Node hidden = ScreenReader::ReadNode(tree.object.Get(), uninstall.id, &status);
    EXPECT_EQ(hidden.name, L"立即卸载");
    EXPECT_TRUE(hidden.state & STATE_SYSTEM_INVISIBLE);
    EXPECT_EQ(tree.object->accDoDefaultAction(Child(uninstall.id)), E_FAIL);

    ASSERT_TRUE(PumpUntil([&] { return !events_.Of(EVENT_OBJECT_SHOW).empty(); }));
    const auto hiddenEvents = events_.Of(EVENT_OBJECT_HIDE);
    const auto shownEvents = events_.Of(EVENT_OBJECT_SHOW);
    ASSERT_EQ(hiddenEvents.size(), 1u);
    EXPECT_EQ(hiddenEvents[0].object, OBJID_CLIENT);
    EXPECT_EQ(hiddenEvents[0].child, uninstall.id);
    ASSERT_EQ(shownEvents.size(), 1u);
    EXPECT_EQ(shownEvents[0].child, exit->id);

    EXPECT_EQ(tree.object->accDoDefaultAction(Child(ScreenReader::Find(tree, L"取  消")->id)),
              S_OK);
    EXPECT_EQ(tree.object->accDoDefaultAction(Child(exit->id)), S_OK);
    DWORD exitCode = 0;
    ASSERT_TRUE(program_.WaitForExit(10000, &exitCode));
    EXPECT_EQ(exitCode, 2u);
    EXPECT_EQ(Commands(), (std::vector<int>{kUninstall, kCancel, kExit}));
    long count = 0;
    EXPECT_TRUE(FAILED(tree.object->get_accChildCount(&count)));
}

} // namespace
