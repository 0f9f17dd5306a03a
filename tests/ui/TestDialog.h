// A window that hosts render objects as the dialogs do: its mouse messages go through a
// mouse list, and what it receives (pointer moves, presses, commands) is recorded for the
// driver (tests/support/DialogDriver.h), as the uninstaller's dialogs are in their tests.
#pragma once

#include "DialogDriver.h"

#include "MouseList.h"

#include <windows.h>

#include <vector>

class CDCompUtil;
class CDPI;

namespace UiTest {

class TestDialog {
  public:
    // A popup at (x, y) of the given client size, not shown yet. With a host, the host
    // gets the window and the DPI converter and builds its devices, as a dialog does on
    // WM_INITDIALOG.
    TestDialog(int x, int y, int width, int height, CDCompUtil* host = nullptr,
               CDPI* dpi = nullptr);
    ~TestDialog();
    TestDialog(const TestDialog&) = delete;
    TestDialog& operator=(const TestDialog&) = delete;

    // Shows the window and brings it to the front.
    void Show();
    HWND Handle() const { return window_; }
    CMouseList& MouseList() { return mouseList_; }
    TestSupport::DialogRecord& Record() { return record_; }
    // The WM_COMMAND ids received, in order.
    std::vector<int> Commands() const { return record_.Commands(); }

  private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam, bool* handled);

    HWND window_ = nullptr;
    CDCompUtil* host_;
    CMouseList mouseList_;
    TestSupport::DialogRecord record_;
};

} // namespace UiTest
