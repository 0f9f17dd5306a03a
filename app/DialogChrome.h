#pragma once
// What every window of the uninstaller does alike around its content: the window icons
// from icon resource 128, and the new layout on a DPI change.
#include "DPI.h"

#include <windows.h>

#include <vector>

class CDCompUtil;
class CSVGSimpleObject;

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

// WM_DPICHANGED, as every window of the uninstaller handles it (wParam and lParam as the
// message brings them): the DPI is taken from the message, every object is laid out again at
// it, the window takes the suggested rectangle as it is, and the frame is drawn again for the
// new size and DPI; then the host commits.
void ApplyDpiChange(HWND window, WPARAM newDpi, LPARAM suggestedRect, CDPI& dpi, CDCompUtil& host,
                    const std::vector<CSVGSimpleObject*>& objects);
