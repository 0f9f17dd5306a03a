#include "WatchedProgram.h"

#include "ProcessWindows.h"
#include "TestProgramFolder.h"
#include "Wait.h"

namespace ScreenReader {

std::wstring ProgramFolder() {
    return TestProgramFolder() + L"\\";
}

bool WatchedProgram::Start(const std::wstring& commandLine) {
    TestSupport::StartOptions options;
    options.captureOutput = true;
    // Suspended until its events are followed, so that none is missed.
    options.suspended = true;
    if (!process_.Start(commandLine, options))
        return false;
    events_.Follow(process_.Id(), process_.ThreadId());
    process_.Resume();
    return true;
}

HWND WatchedProgram::WaitForDialog(DWORD timeoutMs, const wchar_t* title) {
    const auto shown = [&](HWND window) {
        wchar_t text[256] = {};
        GetWindowTextW(window, text, 256);
        return TestSupport::IsDialogBox(window) && (!title || std::wstring(text) == title);
    };
    HWND window = nullptr;
    TestSupport::PumpUntil(
        [&] { return (window = TestSupport::FindWindowOf(process_.Id(), shown)) != nullptr; },
        timeoutMs);
    return window;
}

bool WatchedProgram::WaitForExit(DWORD timeoutMs, DWORD* exitCode) {
    return process_.PumpUntilEnd(timeoutMs) && process_.ExitCode(exitCode);
}

} // namespace ScreenReader
