// uninstaller.exe itself, started as the launcher starts it (no arguments, from the temp
// folder): its main window shows, and its exit code is the window's result, 2026 after the
// close button. (The exit button's 2 reaches the exit code the same way.)
#include "DialogDriver.h"

#include "DPI.h"
#include "RealInput.h"
#include "TestProgramFolder.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// The visible window of the process with a client area of this size, if any.
HWND WindowOf(DWORD processId, SIZE client) {
    struct Search {
        DWORD processId;
        SIZE client;
        HWND found;
    } search{processId, client, nullptr};
    EnumWindows(
        [](HWND window, LPARAM param) -> BOOL {
            auto* s = reinterpret_cast<Search*>(param);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            RECT rect{};
            GetClientRect(window, &rect);
            if (owner == s->processId && IsWindowVisible(window) && rect.right == s->client.cx &&
                rect.bottom == s->client.cy)
                s->found = window;
            return s->found == nullptr;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

TEST(WorkflowProgram, ExitCodeIsTheMainWindowsResult) {
    ASSERT_TRUE(UiTest::RealInput::Available()) << "run through run_with_input.sh";
    CDPI dpi;
    dpi.Init();
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    std::wstring commandLine = L"\"" + TestProgramFolder() + L"\\..\\..\\app\\uninstaller.exe\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    ASSERT_TRUE(CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                               temp, &startup, &process));
    CloseHandle(process.hThread);

    HWND main = nullptr;
    EXPECT_TRUE(AppTest::WaitUntil(
        [&] {
            main = WindowOf(process.dwProcessId, {dpi.Scale(732), dpi.Scale(432)});
            return main != nullptr;
        },
        20000))
        << "the main window did not show";
    if (main) {
        Sleep(300); // its first frame
        POINT close{dpi.Scale(692), dpi.Scale(40)};
        ClientToScreen(main, &close);
        EXPECT_TRUE(UiTest::RealInput::MoveTo(close.x, close.y) && UiTest::RealInput::Press() &&
                    UiTest::RealInput::Release());
    }
    DWORD exitCode = 0;
    if (WaitForSingleObject(process.hProcess, 10000) != WAIT_OBJECT_0) {
        ADD_FAILURE() << "the program did not end";
        TerminateProcess(process.hProcess, 1);
        WaitForSingleObject(process.hProcess, 10000);
    }
    GetExitCodeProcess(process.hProcess, &exitCode);
    CloseHandle(process.hProcess);
    EXPECT_EQ(exitCode, 2026u);
}

} // namespace
