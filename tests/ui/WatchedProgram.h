// A program a test starts and watches the way a screen reader watches the programs on the
// desktop: its dialog windows, the WinEvents it raises (followed from its start), and what it
// writes to its output. A program still running when the watch ends is ended.
#pragma once

#include "ScreenReader.h"
#include "TestProcess.h"

#include <windows.h>

#include <string>

namespace ScreenReader {

class WatchedProgram {
  public:
    // Starts the command line with its output and errors captured.
    bool Start(const std::wstring& commandLine);
    // A shown dialog window of the program whose title is title (any title when null), once
    // there is one; null after the time. Messages of this thread are handled meanwhile.
    HWND WaitForDialog(DWORD timeoutMs, const wchar_t* title = nullptr);
    // Everything the program has written so far.
    const std::string& Output() { return process_.Output(); }
    // Messages of this thread are handled meanwhile.
    bool WaitForExit(DWORD timeoutMs, DWORD* exitCode);
    bool Running() const { return process_.IsRunning(); }
    EventLog& Events() { return events_; }
    DWORD ProcessId() const { return process_.Id(); }

  private:
    // The log goes after the program has been ended.
    EventLog events_;
    TestSupport::TestProcess process_;
};

// The folder of this test program, where the programs it starts are built.
std::wstring ProgramFolder();

} // namespace ScreenReader
