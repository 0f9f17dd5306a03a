// The uninstaller's three windows read from this process as a screen reader reads them
// (AccessibleObjectFromWindow, AccessibleChildren, IAccessible through the system's
// marshalling, WinEvents from an out-of-context hook), and worked with the keyboard alone:
// uninstaller.exe itself (its main window and the progress dialog of its workflow), and the
// question in a program of its own, filled as the workflow fills it (the uninstaller asks it
// only when the product runs). Runs at the display's DPI (100 % and 150 % runs are
// registered).
#include "Colours.h"
#include "Pictures.h"
#include "RealInput.h"
#include "ScreenReader.h"
#include "Wait.h"
#include "WatchedProgram.h"

#include "DialogLayout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iostream>
#include <string>
#include <vector>

namespace {

using ScreenReader::Child;
using ScreenReader::Node;
using ScreenReader::Tree;
using namespace TestSupport;

constexpr wchar_t kQuestionTitle[] = L"检测到Corvane正在运行...";
constexpr wchar_t kQuestion[] = L"确认要继续强制卸载Corvane软件吗？";
constexpr wchar_t kProgressTitle[] = L"开始卸载软件...";
constexpr wchar_t kStatus[] = L"正在删除已安装文件";
constexpr RECT kConfirmRect = DialogLayout::Question::kConfirm;
constexpr RECT kCancelRect = DialogLayout::Question::kCancel;
constexpr wchar_t kMainTitle[] = L"卸载 Corvane";
constexpr RECT kMinimizeRect = DialogLayout::Main::kMinimize;
constexpr RECT kCloseRect = DialogLayout::Main::kClose;
constexpr RECT kActionRect = DialogLayout::Main::kAction;

struct ExpectedNode {
    const wchar_t* name;
    LONG role;
    RECT design;
    LONG statesOn;
    LONG statesOff;
};

class DialogAccessTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(RealInput::Available()) << "run through run_with_input.sh";
        SetProcessDPIAware();
        HDC screen = GetDC(nullptr);
        percent_ = MulDiv(GetDeviceCaps(screen, LOGPIXELSX), 100, 96);
        ReleaseDC(nullptr, screen);
    }

    // A program of the build (folder relative to this test's) with its arguments.
    void Start(const wchar_t* program, const wchar_t* title) {
        ASSERT_TRUE(program_.Start(L"\"" + ScreenReader::ProgramFolder() + program));
        window_ = program_.WaitForDialog(20000, title);
        ASSERT_NE(window_, nullptr) << "the dialog did not show";
    }

    int Scale(int value) const { return MulDiv(value, percent_, 100); }
    RECT OnScreen(const RECT& design) const {
        POINT origin{0, 0};
        ClientToScreen(window_, &origin);
        return {origin.x + Scale(design.left), origin.y + Scale(design.top),
                origin.x + Scale(design.right), origin.y + Scale(design.bottom)};
    }
    // With the pointer on the dialog's background, the dialog has the keyboard (the display
    // has no window manager).
    void GiveKeyboard(POINT designPoint) {
        POINT point{Scale(designPoint.x), Scale(designPoint.y)};
        ClientToScreen(window_, &point);
        ASSERT_TRUE(RealInput::MoveTo(point.x, point.y));
    }

    // The tree, printed for people, checked node by node against what the dialog draws.
    Tree ExpectTree(const wchar_t* name, const std::vector<ExpectedNode>& children) {
        const Tree tree = ScreenReader::Read(window_);
        std::cout << ScreenReader::Print(tree);
        EXPECT_HRESULT_SUCCEEDED(tree.status);
        RECT client{};
        GetClientRect(window_, &client);
        MapWindowPoints(window_, nullptr, reinterpret_cast<POINT*>(&client), 2);
        EXPECT_EQ(tree.dialog.name, name);
        EXPECT_EQ(tree.dialog.role, ROLE_SYSTEM_DIALOG);
        EXPECT_TRUE(EqualRect(&tree.dialog.location, &client));
        EXPECT_EQ(tree.children.size(), children.size());
        size_t i = 0;
        for (const ExpectedNode& expected : children) {
            if (i >= tree.children.size())
                break;
            const Node& node = tree.children[i++];
            SCOPED_TRACE(ScreenReader::Utf8(expected.name));
            EXPECT_EQ(node.name, expected.name);
            EXPECT_EQ(node.role, expected.role);
            EXPECT_EQ(node.state & expected.statesOn, expected.statesOn)
                << ScreenReader::StateText(node.state);
            EXPECT_EQ(node.state & expected.statesOff, 0) << ScreenReader::StateText(node.state);
            const RECT where = OnScreen(expected.design);
            EXPECT_TRUE(EqualRect(&node.location, &where))
                << node.location.left << "," << node.location.top << " expected " << where.left
                << "," << where.top;
            // Pointing at it and walking to it from the one before land on it.
            VARIANT hit, next;
            EXPECT_EQ(tree.object->accHitTest((where.left + where.right) / 2,
                                              (where.top + where.bottom) / 2, &hit),
                      S_OK);
            EXPECT_EQ(hit.vt == VT_I4 ? hit.lVal : -1, node.id);
            const HRESULT walked =
                i == 1
                    ? tree.object->accNavigate(NAVDIR_FIRSTCHILD, Child(CHILDID_SELF), &next)
                    : tree.object->accNavigate(NAVDIR_NEXT, Child(tree.children[i - 2].id), &next);
            EXPECT_EQ(walked, S_OK);
            EXPECT_EQ(next.vt == VT_I4 ? next.lVal : -1, node.id);
        }
        VARIANT outside;
        EXPECT_EQ(tree.object->accHitTest(client.left - 5, client.top - 5, &outside), S_FALSE);
        return tree;
    }

    // The name of the part that has the focus, as a screen reader finds it.
    std::wstring Focused() const {
        for (const Node& node : ScreenReader::Read(window_).children) {
            if (node.state & STATE_SYSTEM_FOCUSED)
                return node.name;
        }
        return L"(none)";
    }

    // The ring's line down a button's left side, white in the screenshot.
    bool RingOn(const Composition::Pixels& shot, const RECT& designButton) const {
        const RECT button = OnScreen(designButton);
        const std::uint32_t pixel =
            shot.At(button.left + Scale(1), (button.top + button.bottom) / 2);
        return Near(pixel, 0xFFFFFFFF, 24);
    }
    Composition::Pixels Screenshot(const std::string& name) {
        const std::wstring path =
            RealInput::Screenshot(name + "@" + std::to_string(percent_) + ".png");
        EXPECT_FALSE(path.empty()) << "no screenshot";
        return LoadPicture(path);
    }

    int percent_ = 100;
    ScreenReader::WatchedProgram program_;
    HWND window_ = nullptr;
};

constexpr LONG kButtonOff =
    STATE_SYSTEM_UNAVAILABLE | STATE_SYSTEM_INVISIBLE | STATE_SYSTEM_PRESSED;

// The question: its title, its two buttons with the focus on "取  消" and no ring, the
// question as text, its opening told. Tab takes the focus to "强制卸载" (told as a focus
// event) and only then is a ring drawn; "取  消"'s default action ends it with 2, as a click
// does. (Space, which presses the focused button, is the keyboard tests' and the keyboard
// uninstall's.)
TEST_F(DialogAccessTest, QuestionReadAndAnswered) {
    Start(L"app_question_host.exe\"", kQuestionTitle);
    GiveKeyboard({100, 140});
    ASSERT_TRUE(PumpUntil([&] { return Focused() == L"取  消"; }));
    const Tree tree = ExpectTree(
        kQuestionTitle, {{L"强制卸载", ROLE_SYSTEM_PUSHBUTTON, kConfirmRect, STATE_SYSTEM_FOCUSABLE,
                          kButtonOff | STATE_SYSTEM_FOCUSED},
                         {L"取  消", ROLE_SYSTEM_PUSHBUTTON, kCancelRect,
                          STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_FOCUSED, kButtonOff},
                         {kQuestion, ROLE_SYSTEM_STATICTEXT, DialogLayout::Question::kMessage,
                          STATE_SYSTEM_READONLY, STATE_SYSTEM_FOCUSABLE}});
    ASSERT_EQ(tree.children.size(), 3u);
    const auto started = program_.Events().Of(EVENT_SYSTEM_DIALOGSTART);
    ASSERT_EQ(started.size(), 1u);
    EXPECT_EQ(started[0].window, window_);
    PumpFor(300);
    Composition::Pixels shot = Screenshot("question-before-a-key");
    EXPECT_FALSE(RingOn(shot, kCancelRect) || RingOn(shot, kConfirmRect)) << "a ring before a key";

    const LONG confirm = tree.children[0].id;
    ASSERT_TRUE(RealInput::Key("Tab"));
    ASSERT_TRUE(PumpUntil([&] {
        const auto focus = program_.Events().Of(EVENT_OBJECT_FOCUS);
        return !focus.empty() && focus.back().child == confirm;
    })) << "no focus event for the confirm button";
    PumpFor(300);
    shot = Screenshot("question-after-tab");
    EXPECT_TRUE(RingOn(shot, kConfirmRect)) << "no ring after Tab";
    EXPECT_FALSE(RingOn(shot, kCancelRect));

    EXPECT_EQ(tree.object->accDoDefaultAction(Child(tree.children[1].id)), S_OK);
    DWORD exitCode = 0;
    ASSERT_TRUE(program_.WaitForExit(10000, &exitCode));
    EXPECT_EQ(exitCode, 2u);
}

// uninstaller.exe: its main window's buttons with the focus on "立即卸载". The uninstall
// button's default action runs the workflow as a click does (with no installation, straight
// to the progress dialog: its title, the status as text and as the bar's name, the bar's
// value the drawn part in whole percent, rising, told once per percent); then the exit button
// takes the uninstall button's place, told as the one hidden and the other shown, and has the
// focus. The hidden button keeps its id and can no longer be
// pressed; the exit button's default action ends the program with 2, and the object answers
// no more.
TEST_F(DialogAccessTest, MainWindowReadAndWorked) {
    Start(L"..\\..\\app\\uninstaller.exe\"", kMainTitle);
    GiveKeyboard({100, 200});
    ASSERT_TRUE(PumpUntil([&] { return Focused() == L"立即卸载"; }));
    const auto buttons = [](const wchar_t* action) {
        return std::vector<ExpectedNode>{
            {L"最小化", ROLE_SYSTEM_PUSHBUTTON, kMinimizeRect, STATE_SYSTEM_FOCUSABLE,
             kButtonOff | STATE_SYSTEM_FOCUSED},
            {L"关闭", ROLE_SYSTEM_PUSHBUTTON, kCloseRect, STATE_SYSTEM_FOCUSABLE,
             kButtonOff | STATE_SYSTEM_FOCUSED},
            {action, ROLE_SYSTEM_PUSHBUTTON, kActionRect,
             STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_FOCUSED, kButtonOff}};
    };
    Tree tree = ExpectTree(kMainTitle, buttons(L"立即卸载"));
    ASSERT_EQ(tree.children.size(), 3u);
    const LONG uninstall = tree.children[2].id;

    EXPECT_EQ(tree.object->accDoDefaultAction(Child(uninstall)), S_OK);
    const HWND main = window_;
    window_ = program_.WaitForDialog(20000, kProgressTitle);
    ASSERT_NE(window_, nullptr) << "no progress dialog";
    const HWND progress = window_;
    const Tree bar = ExpectTree(kProgressTitle,
                                {{kStatus, ROLE_SYSTEM_STATICTEXT, DialogLayout::Progress::kStatus,
                                  STATE_SYSTEM_READONLY, STATE_SYSTEM_FOCUSABLE},
                                 {kStatus, ROLE_SYSTEM_PROGRESSBAR, DialogLayout::Progress::kBar,
                                  STATE_SYSTEM_READONLY, STATE_SYSTEM_FOCUSABLE}});
    ASSERT_EQ(bar.children.size(), 2u);
    std::vector<int> values;
    for (BSTR value = nullptr; IsWindow(progress) && values.size() < 1000; PumpFor(50)) {
        if (bar.object->get_accValue(Child(bar.children[1].id), &value) == S_OK && value)
            values.push_back(_wtoi(value));
        SysFreeString(value);
        value = nullptr;
    }
    EXPECT_GE(values.size(), 3u);
    EXPECT_TRUE(std::is_sorted(values.begin(), values.end())) << "the value went back";
    EXPECT_GT(values.empty() ? 0 : values.back(), 50);
    window_ = main;
    ASSERT_TRUE(PumpUntil([&] { return !program_.Events().Of(EVENT_OBJECT_SHOW).empty(); }, 30000))
        << "the exit button was never shown";
    GiveKeyboard({100, 200});
    ASSERT_TRUE(PumpUntil([&] { return Focused() == L"退出"; })) << "the exit button has no focus";
    tree = ExpectTree(kMainTitle, buttons(L"退出"));
    ASSERT_EQ(tree.children.size(), 3u);
    const LONG exit = tree.children[2].id;
    const auto hidden = program_.Events().Of(EVENT_OBJECT_HIDE);
    const auto shown = program_.Events().Of(EVENT_OBJECT_SHOW);
    ASSERT_EQ(hidden.size(), 1u);
    EXPECT_EQ(hidden[0].window, window_);
    EXPECT_EQ(hidden[0].object, OBJID_CLIENT);
    EXPECT_EQ(hidden[0].child, uninstall);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].child, exit);
    const auto focus = program_.Events().Of(EVENT_OBJECT_FOCUS);
    ASSERT_FALSE(focus.empty());
    EXPECT_EQ(focus.back().child, exit);
    int changes = 0;
    for (const auto& change : program_.Events().Of(EVENT_OBJECT_VALUECHANGE))
        changes += change.window == progress && change.child == bar.children[1].id;
    EXPECT_EQ(changes, 100);

    HRESULT status = S_OK;
    const Node gone = ScreenReader::ReadNode(tree.object.Get(), uninstall, &status);
    EXPECT_EQ(gone.name, L"立即卸载");
    EXPECT_TRUE(gone.state & STATE_SYSTEM_INVISIBLE);
    EXPECT_EQ(tree.object->accDoDefaultAction(Child(uninstall)), E_FAIL);

    EXPECT_EQ(tree.object->accDoDefaultAction(Child(exit)), S_OK);
    DWORD exitCode = 0;
    ASSERT_TRUE(program_.WaitForExit(10000, &exitCode));
    EXPECT_EQ(exitCode, 2u);
    long count = 0;
    EXPECT_TRUE(FAILED(tree.object->get_accChildCount(&count)));
}

// uninstaller.exe by the keyboard alone (no installation, so no question): no ring before a
// key; Tab, Shift+Tab and the arrows walk the buttons, wrapping past the hidden exit button,
// the ring with the focus; Space presses "立即卸载" as a click does (pushed while the key is
// down), the workflow runs, the exit button takes the focus and the ring, and Space on it
// ends the program with 2.
TEST_F(DialogAccessTest, MainWindowByTheKeyboard) {
    Start(L"..\\..\\app\\uninstaller.exe\"", kMainTitle);
    GiveKeyboard({100, 200});
    ASSERT_TRUE(PumpUntil([&] { return Focused() == L"立即卸载"; }));
    PumpFor(300);
    EXPECT_FALSE(RingOn(Screenshot("main-before-a-key"), kActionRect)) << "a ring before a key";

    struct Step {
        const char* keys;
        const wchar_t* focused;
        RECT ring;
    };
    const Step steps[] = {
        {"Tab", L"最小化", kMinimizeRect},   {"Tab", L"关闭", kCloseRect},
        {"Tab", L"立即卸载", kActionRect},   {"shift+Tab", L"关闭", kCloseRect},
        {"Right", L"立即卸载", kActionRect}, {"Down", L"最小化", kMinimizeRect},
        {"Up", L"立即卸载", kActionRect},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.keys);
        ASSERT_TRUE(RealInput::Key(step.keys));
        EXPECT_TRUE(PumpUntil([&] { return Focused() == step.focused; }))
            << ScreenReader::Utf8(Focused());
        PumpFor(200);
        const auto shot = Screenshot(&step == steps ? "main-after-tab" : "main-after-a-key");
        for (const RECT& button : {kMinimizeRect, kCloseRect, kActionRect})
            EXPECT_EQ(RingOn(shot, button), EqualRect(&button, &step.ring));
    }

    ASSERT_TRUE(RealInput::KeyDown("space"));
    PumpFor(300);
    const RECT pill = OnScreen(kActionRect);
    const std::uint32_t pushed =
        Screenshot("main-space-held").At(pill.left + Scale(40), pill.top + Scale(6));
    EXPECT_TRUE(Near(pushed, 0xFF00B255, 8)) << Hex(pushed);
    ASSERT_TRUE(RealInput::KeyUp("space"));
    EXPECT_NE(program_.WaitForDialog(20000, kProgressTitle), nullptr) << "no progress dialog";
    ASSERT_TRUE(PumpUntil([&] { return Focused() == L"退出"; }, 30000));
    PumpFor(300);
    EXPECT_TRUE(RingOn(Screenshot("main-exit-focused"), kActionRect));
    ASSERT_TRUE(RealInput::Key("space"));
    DWORD exitCode = 0;
    ASSERT_TRUE(program_.WaitForExit(10000, &exitCode));
    EXPECT_EQ(exitCode, 2u);
}

} // namespace
