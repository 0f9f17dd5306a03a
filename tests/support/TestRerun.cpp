#include "TestRerun.h"

#include "TestProcess.h"

#include <cstdio>
#include <cstdlib>
#include <memory>

namespace TestSupport {
namespace {

constexpr wchar_t kRerunVariable[] = L"CORVANE_TEST_RERUN";
// Below CTest's limit, so a hung run is ended here and the prefix still put back.
constexpr DWORD kRunTimeoutMs = 240000;

// A value under HKCU for the object's lifetime; afterwards the earlier value comes back,
// or, if there was none, the value goes, and so do the keys made for it.
class ScopedUserValue {
  public:
    ScopedUserValue(const std::wstring& key, const std::wstring& name, DWORD type, const void* data,
                    DWORD size)
        : key_(key), name_(name) {
        for (size_t end = 0; madeKey_.empty() && end != std::wstring::npos;) {
            end = key.find(L'\\', end + 1);
            HKEY opened;
            if (RegOpenKeyExW(HKEY_CURRENT_USER, key.substr(0, end).c_str(), 0, KEY_READ,
                              &opened) == ERROR_SUCCESS)
                RegCloseKey(opened);
            else
                madeKey_ = key.substr(0, end);
        }
        DWORD savedSize = 0;
        if (madeKey_.empty() &&
            RegGetValueW(HKEY_CURRENT_USER, key.c_str(), name.c_str(), RRF_RT_ANY | RRF_NOEXPAND,
                         &savedType_, nullptr, &savedSize) == ERROR_SUCCESS) {
            saved_.resize(savedSize);
            hadValue_ = RegGetValueW(HKEY_CURRENT_USER, key.c_str(), name.c_str(),
                                     RRF_RT_ANY | RRF_NOEXPAND, nullptr, saved_.data(),
                                     &savedSize) == ERROR_SUCCESS;
        }
        set_ = RegSetKeyValueW(HKEY_CURRENT_USER, key.c_str(), name.c_str(), type, data, size) ==
               ERROR_SUCCESS;
    }
    ~ScopedUserValue() {
        if (!madeKey_.empty()) {
            RegDeleteTreeW(HKEY_CURRENT_USER, madeKey_.c_str());
            RegDeleteKeyW(HKEY_CURRENT_USER, madeKey_.c_str());
        } else if (hadValue_)
            RegSetKeyValueW(HKEY_CURRENT_USER, key_.c_str(), name_.c_str(), savedType_,
                            saved_.data(), static_cast<DWORD>(saved_.size()));
        else
            RegDeleteKeyValueW(HKEY_CURRENT_USER, key_.c_str(), name_.c_str());
    }
    ScopedUserValue(const ScopedUserValue&) = delete;
    ScopedUserValue& operator=(const ScopedUserValue&) = delete;
    bool IsSet() const { return set_; }

  private:
    std::wstring key_, name_, madeKey_;
    bool hadValue_ = false, set_ = false;
    DWORD savedType_ = REG_NONE;
    std::vector<BYTE> saved_;
};

std::wstring ProgramFileName() {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    const std::wstring full = path;
    return full.substr(full.find_last_of(L'\\') + 1);
}

int RunAgain() {
    StartOptions options;
    options.shareStandardHandles = true;
    TestProcess run;
    if (!run.Start(GetCommandLineW(), options)) {
        std::fprintf(stderr, "could not run the tests again: error %lu\n", run.StartError());
        return 1;
    }
    DWORD exitCode = 1;
    if (!run.WaitForEnd(kRunTimeoutMs)) {
        std::fprintf(stderr, "the tests did not end within %lu ms\n", kRunTimeoutMs);
        return 1; // ended with the object
    }
    run.ExitCode(&exitCode);
    return static_cast<int>(exitCode);
}

} // namespace

bool RerunRequested(RerunSettings* settings) {
    if (GetEnvironmentVariableW(kRerunVariable, nullptr, 0))
        return false;
    if (const char* dpi = std::getenv("CORVANE_TEST_LOGPIXELS"))
        settings->logPixels = static_cast<DWORD>(std::atoi(dpi));
    if (const char* dlls = std::getenv("CORVANE_TEST_HIDE_DLLS")) {
        for (const char* at = dlls; *at;) {
            const char* end = at;
            while (*end && *end != ';')
                ++end;
            if (end != at)
                settings->hiddenDlls.emplace_back(at, end);
            at = *end ? end + 1 : end;
        }
    }
    return settings->logPixels != 0 || !settings->hiddenDlls.empty();
}

int Rerun(const RerunSettings& settings) {
    // The desktop starts with the first program that needs it and inherits its settings:
    // start it now, with the prefix's own.
    GetDesktopWindow();

    std::vector<std::unique_ptr<ScopedUserValue>> values;
    if (settings.logPixels) {
        values.push_back(std::make_unique<ScopedUserValue>(
            L"Control Panel\\Desktop", L"LogPixels", REG_DWORD, &settings.logPixels,
            static_cast<DWORD>(sizeof settings.logPixels)));
    }
    const std::wstring overrides =
        L"Software\\Wine\\AppDefaults\\" + ProgramFileName() + L"\\DllOverrides";
    for (const std::wstring& dll : settings.hiddenDlls)
        values.push_back(std::make_unique<ScopedUserValue>(overrides, dll, REG_SZ, L"",
                                                           static_cast<DWORD>(sizeof L"")));
    for (const auto& value : values) {
        if (!value->IsSet()) {
            std::fprintf(stderr, "could not change the prefix's settings for the tests\n");
            return 1;
        }
    }
    SetEnvironmentVariableW(kRerunVariable, L"1");
    std::fflush(stdout);
    return RunAgain();
}

} // namespace TestSupport
