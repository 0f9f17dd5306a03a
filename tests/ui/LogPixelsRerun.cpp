#include "LogPixelsRerun.h"

#include <cstdio>
#include <string>

namespace uitest {
namespace {

constexpr wchar_t kDesktopKey[] = L"Control Panel\\Desktop";
constexpr wchar_t kLogPixels[] = L"LogPixels";
// Below CTest's limit, so a hung run is ended here and the value still goes back.
constexpr DWORD kRunTimeoutMs = 240000;

// LogPixels for the object's lifetime; the earlier value (or its absence) comes back.
class ScopedLogPixels {
  public:
    explicit ScopedLogPixels(DWORD dpi) {
        DWORD size = sizeof saved_;
        hadValue_ = RegGetValueW(HKEY_CURRENT_USER, kDesktopKey, kLogPixels, RRF_RT_REG_DWORD,
                                 nullptr, &saved_, &size) == ERROR_SUCCESS;
        set_ = Write(dpi);
    }
    ~ScopedLogPixels() {
        if (hadValue_)
            Write(saved_);
        else
            RegDeleteKeyValueW(HKEY_CURRENT_USER, kDesktopKey, kLogPixels);
    }
    ScopedLogPixels(const ScopedLogPixels&) = delete;
    ScopedLogPixels& operator=(const ScopedLogPixels&) = delete;
    bool IsSet() const { return set_; }

  private:
    static bool Write(DWORD value) {
        return RegSetKeyValueW(HKEY_CURRENT_USER, kDesktopKey, kLogPixels, REG_DWORD, &value,
                               sizeof value) == ERROR_SUCCESS;
    }
    bool hadValue_ = false;
    bool set_ = false;
    DWORD saved_ = 0;
};

int RunAgain() {
    std::wstring commandLine = GetCommandLineW();
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                        &startup, &process)) {
        std::fprintf(stderr, "could not run the tests again: error %lu\n", GetLastError());
        return 1;
    }
    CloseHandle(process.hThread);
    DWORD exitCode = 1;
    if (WaitForSingleObject(process.hProcess, kRunTimeoutMs) == WAIT_OBJECT_0) {
        GetExitCodeProcess(process.hProcess, &exitCode);
    } else {
        std::fprintf(stderr, "the tests did not end within %lu ms\n", kRunTimeoutMs);
        TerminateProcess(process.hProcess, 1);
        WaitForSingleObject(process.hProcess, 10000);
    }
    CloseHandle(process.hProcess);
    return static_cast<int>(exitCode);
}

} // namespace

int RerunAtLogPixels(DWORD dpi) {
    ScopedLogPixels display(dpi);
    if (!display.IsSet()) {
        std::fprintf(stderr, "could not set LogPixels to %lu\n", dpi);
        return 1;
    }
    SetEnvironmentVariableW(kRerunVariable, L"1");
    std::fflush(stdout);
    return RunAgain();
}

} // namespace uitest
