#pragma once
// The windows a process shows, as the tests look for them: top-level, visible, in the
// system's order (topmost first).
#include <windows.h>

#include <functional>
#include <vector>

namespace TestSupport {

std::vector<HWND> VisibleWindowsOf(DWORD processId);
// The first of them for which the test holds; null when none does.
HWND FindWindowOf(DWORD processId, const std::function<bool(HWND)>& test);
// A dialog box (window class "#32770"), as the dialogs of the uninstaller are.
bool IsDialogBox(HWND window);
// The size of the window's client area in pixels.
SIZE ClientSize(HWND window);

} // namespace TestSupport
