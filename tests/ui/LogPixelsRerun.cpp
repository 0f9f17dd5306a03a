#include "LogPixelsRerun.h"

#include <cstdio>
#include <string>
#include <vector>

namespace uitest {
namespace {

constexpr wchar_t kDesktopKey[] = L"Control Panel\\Desktop";
constexpr wchar_t kLogPixels[] = L"LogPixels";
// Below CTest's own limit, so a hung run is ended here and the value still goes back.
constexpr DWORD kRunTimeoutMs = 240000;

// Sets LogPixels for its lifetime; the earlier value (or its absence) comes back after.
class ScopedLogPixels {
  public:
    explicit ScopedLogPixels(DWORD dpi) {
        if (RegCreateKeyExW(HKEY_CURRENT_USER, kDesktopKey, 0, nullptr, 0,
                            KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr, &key_,
                            nullptr) != ERROR_SUCCESS) {
            key_ = nullptr;
            return;
        }
        DWORD size = 0;
        if (RegQueryValueExW(key_, kLogPixels, nullptr, &type_, nullptr, &size) == ERROR_SUCCESS) {
            saved_.resize(size);
            hadValue_ = RegQueryValueExW(key_, kLogPixels, nullptr, &type_, saved_.data(), &size) ==
                        ERROR_SUCCESS;
            saved_.resize(size);
        }
        set_ = RegSetValueExW(key_, kLogPixels, 0, REG_DWORD, reinterpret_cast<BYTE*>(&dpi),
                              sizeof dpi) == ERROR_SUCCESS;
    }
    ~ScopedLogPixels() {
        if (!key_)
            return;
        if (hadValue_)
            RegSetValueExW(key_, kLogPixels, 0, type_, saved_.data(),
                           static_cast<DWORD>(saved_.size()));
        else
            RegDeleteValueW(key_, kLogPixels);
        RegCloseKey(key_);
    }
    ScopedLogPixels(const ScopedLogPixels&) = delete;
    ScopedLogPixels& operator=(const ScopedLogPixels&) = delete;

    bool IsSet() const { return set_; }

  private:
    HKEY key_ = nullptr;
    bool hadValue_ = false;
    bool set_ = false;
    DWORD type_ = REG_NONE;
    std::vector<BYTE> saved_;
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
