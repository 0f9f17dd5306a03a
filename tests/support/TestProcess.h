#pragma once
// A program a test starts and, whatever happens to the test, ends: a program still running
// when the object goes is terminated and waited for (bounded).
#include <windows.h>

#include <string>

namespace TestSupport {

struct StartOptions {
    // The program's current directory; empty: this program's.
    std::wstring workingFolder;
    // Its standard output and errors read by Output().
    bool captureOutput = false;
    // This program's standard input, output and errors, for a program that speaks for it.
    bool shareStandardHandles = false;
    // Its first thread waits for Resume(), so that nothing it does before is missed.
    bool suspended = false;
    // Starts tried before giving up, 200 ms apart (a start right after the file was copied
    // has been seen to fail once in a long run under Wine).
    int attempts = 1;
};

class TestProcess {
  public:
    TestProcess() = default;
    ~TestProcess();
    TestProcess(TestProcess&& other) noexcept;
    TestProcess& operator=(TestProcess&& other) noexcept;
    TestProcess(const TestProcess&) = delete;
    TestProcess& operator=(const TestProcess&) = delete;

    bool Start(const std::wstring& commandLine, const StartOptions& options = {});
    bool Started() const { return process_.hProcess != nullptr; }
    // Why the program did not start (GetLastError of CreateProcessW), 0 when it did.
    DWORD StartError() const { return startError_; }
    DWORD Id() const { return process_.dwProcessId; }
    DWORD ThreadId() const { return process_.dwThreadId; }
    void Resume();

    bool IsRunning() const;
    // Waits up to the time for the program to end; true when it has ended.
    bool WaitForEnd(DWORD timeoutMs) const;
    // The same while this thread's messages are handled.
    bool PumpUntilEnd(DWORD timeoutMs) const;
    // The exit code once it has ended.
    bool ExitCode(DWORD* exitCode) const;
    // Terminates it if it still runs and waits (bounded) until it has gone.
    void End();
    // Everything it has written so far (with captureOutput).
    const std::string& Output();

  private:
    void Close();

    PROCESS_INFORMATION process_{};
    DWORD startError_ = 0;
    HANDLE output_ = nullptr;
    std::string text_;
};

// Runs the command line to its end: its exit code, or -1 when it could not start or had to be
// ended after the time.
long RunToEnd(const std::wstring& commandLine, DWORD timeoutMs, const StartOptions& options = {});

} // namespace TestSupport
