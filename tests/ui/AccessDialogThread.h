// Runs the accessibility test dialog modally on a thread of its own, as a program's UI
// thread runs its dialogs (its own modal loop, with the dialog manager between the keyboard
// and the dialog), so that the test's thread can drive it with real input and look at it
// between steps.
#pragma once

#include "AccessTestDialog.h"

#include <windows.h>

#include <functional>
#include <vector>

namespace AccessTest {

class AccessDialogThread {
  public:
    // Starts the dialog; Window() is null if it did not show within a few seconds.
    AccessDialogThread();
    // Ends the dialog if it still runs, and waits for its thread.
    ~AccessDialogThread();
    AccessDialogThread(const AccessDialogThread&) = delete;
    AccessDialogThread& operator=(const AccessDialogThread&) = delete;

    HWND Window() const { return m_window; }
    // Runs work on the dialog's thread and returns when it is done; false if the dialog is
    // gone or did not answer.
    bool Run(const std::function<void(CAccessTestDialog&)>& work);
    // Waits (bounded) for the dialog to end; its result and the commands it saw.
    bool WaitForEnd(DWORD timeoutMs);
    INT_PTR Result() const { return m_result; }
    const std::vector<int>& FinalCommands() const { return m_commands; }

  private:
    static DWORD WINAPI Main(void* self);

    HANDLE m_shown = nullptr;
    HANDLE m_thread = nullptr;
    HWND m_window = nullptr;
    CAccessTestDialog* m_dialog = nullptr;
    INT_PTR m_result = 0;
    std::vector<int> m_commands;
};

} // namespace AccessTest
