// uninstaller.exe itself, started as the launcher starts it (no arguments, from the temp
// folder): its main window shows, and its exit code is the window's result, 2026 after the
// close button. (The exit button's 2 reaches the exit code the same way.)
#include "Files.h"
#include "ProcessWindows.h"
#include "RealInput.h"
#include "TestProcess.h"
#include "Wait.h"

#include "DPI.h"
#include "DialogLayout.h"
#include "TestProgramFolder.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace TestSupport;

TEST(WorkflowProgram, ExitCodeIsTheMainWindowsResult) {
    ASSERT_TRUE(RealInput::Available()) << "run through run_with_input.sh";
    CDPI dpi;
    dpi.Init();
    StartOptions options;
    options.workingFolder = TempFolder();
    TestProcess program;
    ASSERT_TRUE(
        program.Start(L"\"" + TestProgramFolder() + L"\\..\\..\\app\\uninstaller.exe\"", options));

    // The visible window of the process with a client area of the main window's size.
    const SIZE size{dpi.Scale(DialogLayout::Main::kWidth), dpi.Scale(DialogLayout::Main::kHeight)};
    HWND main = nullptr;
    EXPECT_TRUE(WaitUntil(
        [&] {
            main = FindWindowOf(program.Id(), [&](HWND window) {
                const SIZE client = ClientSize(window);
                return client.cx == size.cx && client.cy == size.cy;
            });
            return main != nullptr;
        },
        20000))
        << "the main window did not show";
    if (main) {
        Sleep(300); // its first frame
        const RECT button = DialogLayout::Main::kClose;
        POINT close{dpi.Scale((button.left + button.right) / 2),
                    dpi.Scale((button.top + button.bottom) / 2)};
        ClientToScreen(main, &close);
        EXPECT_TRUE(RealInput::MoveTo(close.x, close.y) && RealInput::Press() &&
                    RealInput::Release());
    }
    DWORD exitCode = 0;
    EXPECT_TRUE(program.WaitForEnd(10000)) << "the program did not end";
    program.End();
    program.ExitCode(&exitCode);
    EXPECT_EQ(exitCode, 2026u);
}

} // namespace
