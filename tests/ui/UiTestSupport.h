// A real (hidden) window of the toolkit tests that receives posted commands and holds the
// capture.
#pragma once

#include <windows.h>

#include <vector>

namespace UiTest {

// A top-level popup window of this thread that is never shown.
class OwnerWindow {
  public:
    OwnerWindow();
    ~OwnerWindow();
    OwnerWindow(const OwnerWindow&) = delete;
    OwnerWindow& operator=(const OwnerWindow&) = delete;
    HWND Handle() const { return window_; }
    // The command ids posted to the window since the last call, in order (WM_COMMAND
    // with lParam 0 and high word 0).
    std::vector<int> TakeCommands();

  private:
    HWND window_ = nullptr;
};

} // namespace UiTest
