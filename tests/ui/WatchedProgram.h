// A program a test starts and watches the way a screen reader watches the programs on the
// desktop: its dialog windows, the WinEvents it raises (followed from its start), and what it
// writes to its output. A program still running when the watch ends is ended.
#pragma once

#include "ScreenReader.h"

#include <windows.h>

#include <string>

namespace ScreenReader {

class WatchedProgram {
  public:
    WatchedProgram() = default;
    ~WatchedProgram();
    WatchedProgram(const WatchedProgram&) = delete;
    WatchedProgram& operator=(const WatchedProgram&) = delete;

    // Starts the command line with its output and errors captured.
    bool Start(const std::wstring& commandLine);
    // A shown dialog window of the program whose title is title (any title when null), once
    // there is one; null after the time. Messages of this thread are handled meanwhile.
    HWND WaitForDialog(DWORD timeoutMs, const wchar_t* title = nullptr);
    // Everything the program has written so far.
    const std::string& Output();
    bool WaitForExit(DWORD timeoutMs, DWORD* exitCode);
    bool Running() const;
    EventLog& Events() { return events_; }
    DWORD ProcessId() const { return process_.dwProcessId; }

  private:
    HWND FindDialog(const wchar_t* title) const;

    EventLog events_;
    PROCESS_INFORMATION process_{};
    HANDLE output_ = nullptr;
    std::string text_;
};

// The folder of this test program, where the programs it starts are built.
std::wstring ProgramFolder();

} // namespace ScreenReader
