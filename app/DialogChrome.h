#pragma once
// What every window of the uninstaller does alike around its content: the window icons
// from icon resource 128, and the move on a DPI change.
#include "DPI.h"

#include <windows.h>

// The big and small window icons, loaded at the system's icon sizes and set on the window;
// destroyed with this object (after the window that shows them).
class CDialogIcons {
  public:
    CDialogIcons() = default;
    CDialogIcons(const CDialogIcons&) = delete;
    CDialogIcons& operator=(const CDialogIcons&) = delete;
    ~CDialogIcons();

    void SetOn(HWND window, int iconId = 128);

  private:
    void Destroy();

    HICON m_big = nullptr;
    HICON m_small = nullptr;
};

// WM_DPICHANGED: the window moves to the suggested rectangle's corner (lParam), with the
// suggested size passed through CDPI::Scale; the DPI is not read again.
void MoveToScaledSuggestedRect(HWND window, const CDPI& dpi, LPARAM suggestedRect);
