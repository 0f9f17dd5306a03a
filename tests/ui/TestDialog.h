// A window that hosts render objects as the dialogs do: its mouse messages go through a
// mouse list, and the commands the objects post are recorded.
#pragma once

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
    const std::vector<int>& Commands() const { return commands_; }
    // Client point of the latest WM_MOUSEMOVE and its key state.
    POINT LastMove() const { return lastMove_; }
    WPARAM LastMoveKeys() const { return lastMoveKeys_; }
    int MouseMoves() const { return mouseMoves_; }
    int Presses() const { return presses_; }
    int Releases() const { return releases_; }
    // The client point in screen coordinates.
    POINT ToScreen(int x, int y) const;

  private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam, bool* handled);

    HWND window_ = nullptr;
    CDCompUtil* host_;
    CMouseList mouseList_;
    std::vector<int> commands_;
    POINT lastMove_{-1, -1};
    WPARAM lastMoveKeys_ = 0;
    int mouseMoves_ = 0;
    int presses_ = 0;
    int releases_ = 0;
};

} // namespace UiTest
