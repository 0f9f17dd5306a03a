// What the uninstall button does, against a sample installation in the sandbox (uninstall entry
// in HKLM, install folder, shortcuts, the stand-in product running or not): the main window in
// its real modal loop, the question and the progress dialog as the workflow opens them, all
// driven by real X input; the effects checked on the registry, files and processes.
#include "DialogDriver.h"
#include "FrameChecks.h"
#include "MainDlgLayout.h"
#include "ProductSandbox.h"
#include "ProcessWindows.h"
#include "Wait.h"

#include "DialogLayout.h"
#include "MainDlg.h"
#include "RealInput.h"
#include "SVGButtonEx.h"
#include "UninstallWorkflow.h"

#include <gtest/gtest.h>

#include <shlobj.h>

#include <string>

namespace {

using namespace AppTest;
using namespace TestSupport;

// cmd.exe pings (at most a second) before rd; Wine needs a moment to start it.
constexpr DWORD kFolderRemovalTimeoutMs = 20000;
// The progress dialog animates for about five and a half seconds.
constexpr DWORD kDialogTimeoutMs = 20000;

constexpr RECT kConfirmButton = DialogLayout::Question::kConfirm;
constexpr RECT kCancelButton = DialogLayout::Question::kCancel;

const Looks kReady = {};
const Looks kFinished = {{"uninstall", AppTest::kHidden}, {"exit", CSVGButtonEx::kNormalLook}};

enum class Product { NotRunning, RunningFromInstallFolder, RunningElsewhere };
enum class Start { Click, CommandWhileAnotherWindowIsActive };
enum class Answers { None, Confirm, CancelThenConfirm };

struct WorkflowCase {
    const char* name;
    bool entry;
    Product product;
    Start start;
    Answers answers;
};
void PrintTo(const WorkflowCase& c, std::ostream* out) {
    *out << c.name;
}

const WorkflowCase kCases[] = {
    {"NotRunning", true, Product::NotRunning, Start::Click, Answers::None},
    {"RunningFromTheInstallFolder", true, Product::RunningFromInstallFolder,
     Start::CommandWhileAnotherWindowIsActive, Answers::Confirm},
    {"RunningCancelledThenConfirmed", true, Product::RunningFromInstallFolder, Start::Click,
     Answers::CancelThenConfirm},
    {"RunningElsewhere", true, Product::RunningElsewhere, Start::Click, Answers::Confirm},
    {"NoUninstallEntry", false, Product::RunningElsewhere, Start::Click, Answers::None},
};

// The dialog the workflow has open over the main window, if any.
struct WorkflowDialog {
    HWND window = nullptr;
    bool question = false; // else the progress dialog
};

WorkflowDialog OpenWorkflowDialog(HWND main, const CDPI& dpi) {
    const HWND found = FindWindowOf(
        GetCurrentProcessId(), [&](HWND window) { return window != main && IsDialogBox(window); });
    WorkflowDialog dialog;
    if (found) {
        const SIZE client = ClientSize(found);
        using namespace DialogLayout;
        if (client.cx == dpi.Scale(Question::kWidth) && client.cy == dpi.Scale(Question::kHeight))
            dialog = {found, true};
        else if (client.cx == dpi.Scale(Progress::kWidth) &&
                 client.cy == dpi.Scale(Progress::kHeight))
            dialog = {found, false};
    }
    return dialog;
}

class WorkflowTest : public ::testing::TestWithParam<WorkflowCase> {
  protected:
    void SetUp() override {
        ASSERT_TRUE(RealInput::Available()) << "run through run_with_input.sh";
        mainProgram_ = PlaceProgram(install_, L"Corvane.exe");
        PlaceProgram(install_, L"platform-tools\\adb.exe");
        WriteFile(install_ + L"\\data\\settings.ini", "[Corvane]\r\n");
        for (const std::wstring& shortcut : Shortcuts())
            WriteFile(shortcut);
    }
    void TearDown() override {
        RemoveTree(Group());
        DeleteFileW(Shortcuts()[0].c_str());
    }

    static std::wstring Group() { return ShellFolder(CSIDL_PROGRAMS) + L"\\Tessamure"; }
    static std::vector<std::wstring> Shortcuts() {
        return {ShellFolder(CSIDL_DESKTOPDIRECTORY) + L"\\VelkorCorvane.lnk",
                Group() + L"\\VelkorCorvane.lnk", Group() + L"\\\u5378\u8F7DVelkorCorvane.lnk"};
    }
    bool InstallationRemains() const {
        bool shortcuts = true;
        for (const std::wstring& shortcut : Shortcuts())
            shortcuts = shortcuts && FileExists(shortcut);
        return shortcuts && UninstallEntry::Exists() &&
               FileExists(install_ + L"\\data\\settings.ini");
    }

    // The next dialog of the workflow, once it shows; pumps this thread's messages meanwhile,
    // so a window of this thread never holds up the activation of the dialog.
    static WorkflowDialog NextDialog(Driver& d) {
        WorkflowDialog dialog;
        PumpUntil(
            [&] {
                dialog = OpenWorkflowDialog(d.Window(), d.dpi);
                return dialog.window != nullptr;
            },
            kDialogTimeoutMs);
        return dialog;
    }
    static void ClickQuestionButton(const Driver& d, HWND question, const RECT& button) {
        POINT centre{d.dpi.Scale((button.left + button.right) / 2),
                     d.dpi.Scale((button.top + button.bottom) / 2)};
        ClientToScreen(question, &centre);
        ASSERT_TRUE(RealInput::MoveTo(centre.x, centre.y));
        ASSERT_TRUE(RealInput::Press());
        ASSERT_TRUE(RealInput::Release());
        ASSERT_TRUE(WaitUntil([&] { return !IsWindow(question); }, 5000))
            << "the question did not end";
    }
    // The card, with the pointer away from the buttons.
    static Frame CardShowing(Driver& d, const MainWindowLayout& layout, const Looks& looks) {
        EXPECT_TRUE(d.MoveTo(Background(d)));
        return AppTest::CardShowing(d, layout, looks);
    }

    ScratchFolder scratch_{L"workflow"};
    std::wstring install_ = scratch_.Path() + L"\\Corvane \u5B89\u88C5";
    std::wstring elsewhere_ = scratch_.Path() + L"\\Elsewhere";
    std::wstring mainProgram_;
    UninstallEntry entry_;
    Testable<CMainDlg> dialog_;
};

TEST_P(WorkflowTest, EndsInTheFinishedStateWithTheRemovalDone) {
    const WorkflowCase& c = GetParam();
    if (c.entry)
        entry_.SetLocation(install_);
    std::unique_ptr<RunningProgram> product;
    if (c.product == Product::RunningFromInstallFolder)
        product = std::make_unique<RunningProgram>(mainProgram_);
    else if (c.product == Product::RunningElsewhere)
        product = std::make_unique<RunningProgram>(PlaceProgram(elsewhere_, L"Corvane.exe"));
    ASSERT_TRUE(!product || product->Started()) << "error " << product->StartError();
    const bool asked = c.answers != Answers::None;

    const INT_PTR result = RunMainWindow(dialog_, [&](Driver& d, const MainWindowLayout& layout) {
        HWND other = nullptr;
        if (c.start == Start::Click) {
            Click(d, layout.CentreOf("uninstall"));
        } else {
            // The command is handled while another program's window is active.
            other = CreateWindowExW(WS_EX_TOOLWINDOW, L"STATIC", L"other", WS_POPUP | WS_VISIBLE, 0,
                                    0, 40, 40, nullptr, nullptr, nullptr, nullptr);
            SetForegroundWindow(other);
            PostMessageW(d.Window(), WM_COMMAND, CMainDlg::kUninstallCommand, 0);
        }

        WorkflowDialog dialog = NextDialog(d);
        if (other)
            DestroyWindow(other);
        ASSERT_NE(dialog.window, nullptr) << "no dialog followed the uninstall command";
        EXPECT_EQ(dialog.question, asked) << "the question";
        EXPECT_EQ(GetWindow(dialog.window, GW_OWNER), d.Window()) << "owned by the main window";
        EXPECT_FALSE(IsWindowEnabled(d.Window())) << "the main window waits for the dialog";
        if (dialog.question && c.answers == Answers::CancelThenConfirm) {
            // The uninstall button below the question shows no hand: its window is
            // disabled.
            for (POINT point : {Background(d), layout.CentreOf("uninstall")}) {
                ClientToScreen(d.Window(), &point);
                ASSERT_TRUE(RealInput::MoveTo(point.x, point.y));
                Sleep(300);
            }
            HCURSOR cursor = nullptr;
            ASSERT_TRUE(d.OnDialogThread([&] { cursor = GetCursor(); }));
            EXPECT_NE(cursor, LoadCursorW(nullptr, IDC_HAND)) << "hand over a disabled window";
            ClickQuestionButton(d, dialog.window, kCancelButton);
            EXPECT_TRUE(InstallationRemains());
            EXPECT_TRUE(product->IsRunning());
            EXPECT_EQ(layout.Mismatches(CardShowing(d, layout, kReady), layout.Card(), kReady), 0)
                << "ready again after cancel";
            Click(d, layout.CentreOf("uninstall"));
            dialog = NextDialog(d);
            ASSERT_TRUE(dialog.window && dialog.question) << "asked again";
        }
        if (dialog.question) {
            ClickQuestionButton(d, dialog.window, kConfirmButton);
            dialog = NextDialog(d);
            ASSERT_TRUE(dialog.window && !dialog.question) << "progress after the question";
        }
        // The progress dialog closes by itself.
        ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog.window); }, kDialogTimeoutMs));
        EXPECT_TRUE(IsWindowEnabled(d.Window()));
        const Frame finished = CardShowing(d, layout, kFinished);
        EXPECT_EQ(layout.Mismatches(finished, layout.Card(), kFinished), 0)
            << "the exit button in the uninstall button's place";
        d.SaveFrame(finished, L"main-window-finished");

        ASSERT_TRUE(d.MoveTo(layout.CentreOf("exit")));
        ExpectCard(d, layout, {{"uninstall", kHidden}, {"exit", CSVGButtonEx::kHoverLook}},
                   "exit hovered");
        ASSERT_TRUE(d.Press());
        ASSERT_TRUE(d.Release());
        EXPECT_TRUE(d.WaitForEnd(5000));
    });
    EXPECT_EQ(result, 2) << "the exit button's result";

    // Shortcuts and entry go in every case; the folder and the product's programs only when
    // the entry says where they are, and only programs running from there.
    for (const std::wstring& shortcut : Shortcuts())
        EXPECT_FALSE(FileExists(shortcut));
    EXPECT_FALSE(FolderExists(Group()));
    EXPECT_FALSE(UninstallEntry::Exists());
    if (c.entry) {
        EXPECT_TRUE(WaitUntil([&] { return !FolderExists(install_); }, kFolderRemovalTimeoutMs));
    } else {
        EXPECT_TRUE(FolderExists(install_));
    }
    if (product) {
        EXPECT_EQ(product->IsRunning(), c.product == Product::RunningElsewhere);
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, WorkflowTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

// All the workflow needs of its window is an owner for its dialogs and the finished state: a
// plain window of the test's own stands in for the main dialog.
class PlainOwner : public IUninstallWindow {
  public:
    PlainOwner()
        : window_(CreateWindowExW(0, L"STATIC", L"owner", WS_POPUP | WS_VISIBLE, 0, 0, 200, 100,
                                  nullptr, nullptr, nullptr, nullptr)) {}
    ~PlainOwner() { DestroyWindow(window_); }
    HWND OwnerWindow() const override { return window_; }
    void ShowFinishedState() override {
        ++finished;
        enabledWhenFinished = IsWindowEnabled(window_) != FALSE;
    }

    int finished = 0;
    bool enabledWhenFinished = false;

  private:
    HWND window_;
};

TEST(WorkflowWithAPlainOwner, ShowsItsProgressOverTheOwnerAndEndsInTheFinishedState) {
    ScratchFolder scratch(L"plain-owner");
    const std::wstring install = scratch.Path() + L"\\Corvane";
    PlaceProgram(install, L"Corvane.exe");
    UninstallEntry entry;
    entry.SetLocation(install);
    PlainOwner owner;
    ASSERT_NE(owner.OwnerWindow(), nullptr);
    // Looks in on the owner from inside the progress dialog's modal loop.
    static struct {
        HWND owner;
        bool sawOwnedDialog;
        bool ownerDisabled;
    } seen;
    seen = {owner.OwnerWindow(), false, false};
    const UINT_PTR timer = SetTimer(nullptr, 0, 100, [](HWND, UINT, UINT_PTR, DWORD) {
        if (FindWindowOf(GetCurrentProcessId(),
                         [](HWND window) { return GetWindow(window, GW_OWNER) == seen.owner; }))
            seen.sawOwnedDialog = true;
        if (!IsWindowEnabled(seen.owner))
            seen.ownerDisabled = true;
    });

    EXPECT_EQ(RunUninstallWorkflow(owner), 0);
    KillTimer(nullptr, timer);

    EXPECT_TRUE(seen.sawOwnedDialog) << "the progress dialog belongs to the owner";
    EXPECT_TRUE(seen.ownerDisabled) << "the owner takes no input meanwhile";
    EXPECT_EQ(owner.finished, 1);
    EXPECT_TRUE(owner.enabledWhenFinished);
    EXPECT_FALSE(UninstallEntry::Exists());
    EXPECT_FALSE(FolderExists(install)) << "gone when the finished state shows";
}

} // namespace
