#include "TestProcess.h"

#include "Wait.h"

#include <utility>

namespace TestSupport {
namespace {

constexpr DWORD kEndTimeoutMs = 10000;

} // namespace

TestProcess::~TestProcess() {
    End();
    Close();
}

TestProcess::TestProcess(TestProcess&& other) noexcept
    : process_(std::exchange(other.process_, PROCESS_INFORMATION{})),
      startError_(other.startError_), output_(std::exchange(other.output_, nullptr)),
      text_(std::move(other.text_)) {}

TestProcess& TestProcess::operator=(TestProcess&& other) noexcept {
    if (this != &other) {
        End();
        Close();
        process_ = std::exchange(other.process_, PROCESS_INFORMATION{});
        startError_ = other.startError_;
        output_ = std::exchange(other.output_, nullptr);
        text_ = std::move(other.text_);
    }
    return *this;
}

bool TestProcess::Start(const std::wstring& commandLine, const StartOptions& options) {
    End();
    Close();
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    HANDLE write = nullptr;
    if (options.captureOutput) {
        SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
        if (!CreatePipe(&output_, &write, &inherit, 0)) {
            startError_ = GetLastError();
            return false;
        }
        SetHandleInformation(output_, HANDLE_FLAG_INHERIT, 0);
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdOutput = startup.hStdError = write;
    } else if (options.shareStandardHandles) {
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
        startup.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
        startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    }
    const BOOL inherit = options.captureOutput || options.shareStandardHandles;
    const DWORD flags = options.suspended ? CREATE_SUSPENDED : 0;
    const wchar_t* folder = options.workingFolder.empty() ? nullptr : options.workingFolder.c_str();
    for (int attempt = 0; attempt < options.attempts; ++attempt) {
        if (attempt > 0)
            Sleep(200);
        std::wstring line = commandLine;
        if (CreateProcessW(nullptr, line.data(), nullptr, nullptr, inherit, flags, nullptr, folder,
                           &startup, &process_)) {
            startError_ = 0;
            break;
        }
        startError_ = GetLastError();
    }
    if (write)
        CloseHandle(write);
    return Started();
}

void TestProcess::Resume() {
    if (process_.hThread)
        ResumeThread(process_.hThread);
}

bool TestProcess::IsRunning() const {
    return Started() && WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT;
}

bool TestProcess::WaitForEnd(DWORD timeoutMs) const {
    return Started() && WaitForSingleObject(process_.hProcess, timeoutMs) == WAIT_OBJECT_0;
}

bool TestProcess::PumpUntilEnd(DWORD timeoutMs) const {
    return Started() && PumpUntilSignalled(process_.hProcess, timeoutMs);
}

bool TestProcess::ExitCode(DWORD* exitCode) const {
    return Started() && !IsRunning() && GetExitCodeProcess(process_.hProcess, exitCode) != FALSE;
}

void TestProcess::End() {
    if (IsRunning()) {
        TerminateProcess(process_.hProcess, 1);
        WaitForSingleObject(process_.hProcess, kEndTimeoutMs);
    }
}

const std::string& TestProcess::Output() {
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

void TestProcess::Close() {
    if (process_.hThread)
        CloseHandle(process_.hThread);
    if (process_.hProcess)
        CloseHandle(process_.hProcess);
    if (output_)
        CloseHandle(output_);
    process_ = {};
    output_ = nullptr;
    text_.clear();
}

long RunToEnd(const std::wstring& commandLine, DWORD timeoutMs, const StartOptions& options) {
    TestProcess process;
    DWORD exitCode = 0;
    if (!process.Start(commandLine, options) || !process.WaitForEnd(timeoutMs) ||
        !process.ExitCode(&exitCode))
        return -1;
    return static_cast<long>(exitCode);
}

} // namespace TestSupport
