// uninstaller.exe itself, started as the launcher starts it (no arguments, from the temp
// folder): its exit code is its main window's result, 2026 after the close button and 2 after
// the exit button, which the workflow shows once it has run (here with no installation, so
// the removal touches nothing but the sandbox's shortcut folders).
#include "DialogDriver.h"
#include "TestSupport.h"

#include "DPI.h"
#include "RealInput.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using AppTest::WaitUntil;
using UiTest::RealInput;

constexpr DWORD kShowTimeoutMs = 20000;
constexpr DWORD kProgressTimeoutMs = 20000;

std::wstring Uninstaller() {
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring folder = self;
    folder.resize(folder.find_last_of(L'\\'));
    return folder + L"\\..\\..\\app\\uninstaller.exe";
}

// The visible dialog window of the process whose client area has this size, if any.
HWND DialogOf(DWORD processId, SIZE client) {
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
                rect.bottom == s->client.cy) {
                s->found = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

class WorkflowProgramTest : public ::testing::TestWithParam<bool> {
  protected:
    void SetUp() override {
        ASSERT_TRUE(RealInput::Available()) << "run through run_with_input.sh";
        dpi_.Init();
        wchar_t temp[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, temp);
        std::wstring commandLine = L"\"" + Uninstaller() + L"\"";
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        ASSERT_TRUE(CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                   temp, &startup, &process_));
        CloseHandle(process_.hThread);
    }
    void TearDown() override {
        RealInput::Release();
        if (process_.hProcess) {
            if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) {
                TerminateProcess(process_.hProcess, 1);
                WaitForSingleObject(process_.hProcess, 10000);
            }
            CloseHandle(process_.hProcess);
        }
    }

    SIZE Design(int width, int height) const { return {dpi_.Scale(width), dpi_.Scale(height)}; }
    // Moves there by way of a point beside it (Wine reports no move to the point it saw
    // last), presses and releases.
    void Click(HWND window, int designX, int designY) const {
        POINT point{dpi_.Scale(designX), dpi_.Scale(designY)};
        ClientToScreen(window, &point);
        ASSERT_TRUE(RealInput::MoveTo(point.x - 3, point.y - 3));
        Sleep(100);
        ASSERT_TRUE(RealInput::MoveTo(point.x, point.y));
        Sleep(100);
        ASSERT_TRUE(RealInput::Press());
        Sleep(100);
        ASSERT_TRUE(RealInput::Release());
    }
    DWORD ExitCode() const {
        DWORD code = 0;
        GetExitCodeProcess(process_.hProcess, &code);
        return code;
    }

    CDPI dpi_;
    PROCESS_INFORMATION process_{};
    enginetest::UninstallEntry noEntry_; // none while the test runs
};

TEST_P(WorkflowProgramTest, ExitCodeIsTheMainWindowsResult) {
    const bool uninstallFirst = GetParam();
    HWND main = nullptr;
    ASSERT_TRUE(WaitUntil(
        [&] { return (main = DialogOf(process_.dwProcessId, Design(732, 432))) != nullptr; },
        kShowTimeoutMs))
        << "the main window did not show";
    Sleep(300); // its first frame

    if (uninstallFirst) {
        Click(main, 343, 354); // uninstall
        HWND progress = nullptr;
        ASSERT_TRUE(WaitUntil(
            [&] {
                return (progress = DialogOf(process_.dwProcessId, Design(390, 136))) != nullptr;
            },
            kShowTimeoutMs))
            << "no progress dialog";
        ASSERT_TRUE(WaitUntil([&] { return !IsWindow(progress); }, kProgressTimeoutMs));
        Click(main, 343, 354); // exit, where uninstall was
    } else {
        Click(main, 692, 40); // close
    }
    ASSERT_EQ(WaitForSingleObject(process_.hProcess, 10000), WAIT_OBJECT_0)
        << "the program did not end";
    EXPECT_EQ(ExitCode(), uninstallFirst ? 2u : 2026u);
}

INSTANTIATE_TEST_SUITE_P(Buttons, WorkflowProgramTest, ::testing::Values(false, true),
                         [](const auto& info) {
                             return std::string(info.param ? "UninstallThenExit" : "Close");
                         });

} // namespace
