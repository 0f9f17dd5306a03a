#include "WatchedProgram.h"

#include "RealInput.h"
#include "TestProgramFolder.h"

namespace ScreenReader {

std::wstring ProgramFolder() {
    return TestProgramFolder() + L"\\";
}

WatchedProgram::~WatchedProgram() {
    if (process_.hProcess) {
        if (Running()) {
            TerminateProcess(process_.hProcess, 1);
            WaitForSingleObject(process_.hProcess, 10000);
        }
        CloseHandle(process_.hProcess);
        CloseHandle(process_.hThread);
    }
    if (output_)
        CloseHandle(output_);
}

bool WatchedProgram::Start(const std::wstring& commandLine) {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE write = nullptr;
    if (!CreatePipe(&output_, &write, &inherit, 0))
        return false;
    SetHandleInformation(output_, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = startup.hStdError = write;
    std::wstring line = commandLine;
    // Suspended until its events are followed, so that none is missed.
    const BOOL started = CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE,
                                        CREATE_SUSPENDED, nullptr, nullptr, &startup, &process_);
    CloseHandle(write);
    if (!started)
        return false;
    events_.Follow(process_.dwProcessId, process_.dwThreadId);
    ResumeThread(process_.hThread);
    return true;
}

HWND WatchedProgram::FindDialog(const wchar_t* title) const {
    struct Search {
        DWORD process;
        const wchar_t* title;
        HWND found;
    } search{process_.dwProcessId, title, nullptr};
    EnumWindows(
        [](HWND window, LPARAM data) -> BOOL {
            auto* search = reinterpret_cast<Search*>(data);
            DWORD process = 0;
            GetWindowThreadProcessId(window, &process);
            wchar_t name[32] = {};
            GetClassNameW(window, name, 32);
            wchar_t text[256] = {};
            GetWindowTextW(window, text, 256);
            if (process == search->process && IsWindowVisible(window) &&
                std::wstring(name) == L"#32770" &&
                (!search->title || std::wstring(text) == search->title)) {
                search->found = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND WatchedProgram::WaitForDialog(DWORD timeoutMs, const wchar_t* title) {
    HWND window = nullptr;
    UiTest::PumpUntil([&] { return (window = FindDialog(title)) != nullptr; }, timeoutMs);
    return window;
}

const std::string& WatchedProgram::Output() {
    DWORD available = 0;
    while (output_ && PeekNamedPipe(output_, nullptr, 0, nullptr, &available, nullptr) &&
           available) {
        char buffer[512];
        DWORD read = 0;
        if (!ReadFile(output_, buffer, sizeof buffer, &read, nullptr) || !read)
            break;
        text_.append(buffer, read);
    }
    return text_;
}

bool WatchedProgram::Running() const {
    return process_.hProcess && WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT;
}

bool WatchedProgram::WaitForExit(DWORD timeoutMs, DWORD* exitCode) {
    if (!process_.hProcess || !UiTest::PumpUntil([&] { return !Running(); }, timeoutMs))
        return false;
    return GetExitCodeProcess(process_.hProcess, exitCode) != FALSE;
}

} // namespace ScreenReader
