// A window that hosts render objects as the dialogs do: its mouse messages go through a
// mouse list, and the commands the objects post are recorded.
#pragma once

#include "MouseList.h"

#include <windows.h>

#include <vector>

class CDCompUtil;

namespace UiTest {

class TestDialog {
  public:
    // A visible popup at (x, y) of the given client size; host may be null.
    TestDialog(int x, int y, int width, int height, CDCompUtil* host = nullptr);
    ~TestDialog();
    TestDialog(const TestDialog&) = delete;
    TestDialog& operator=(const TestDialog&) = delete;

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
