#include "DialogChrome.h"

namespace {

HICON LoadIconAt(int iconId, int widthMetric, int heightMetric) {
    return static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(iconId),
                                         IMAGE_ICON, GetSystemMetrics(widthMetric),
                                         GetSystemMetrics(heightMetric), LR_DEFAULTCOLOR));
}

} // namespace

CDialogIcons::~CDialogIcons() {
    Destroy();
}

void CDialogIcons::Destroy() {
    if (m_big)
        DestroyIcon(m_big);
    if (m_small)
        DestroyIcon(m_small);
    m_big = m_small = nullptr;
}

void CDialogIcons::SetOn(HWND window, int iconId) {
    HICON big = LoadIconAt(iconId, SM_CXICON, SM_CYICON);
    HICON small = LoadIconAt(iconId, SM_CXSMICON, SM_CYSMICON);
    SendMessageW(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big));
    SendMessageW(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
    // The window now shows the new icons; the old ones (if any) can go.
    Destroy();
    m_big = big;
    m_small = small;
}

void MoveToScaledSuggestedRect(HWND window, const CDPI& dpi, LPARAM suggestedRect) {
    const RECT* suggested = reinterpret_cast<const RECT*>(suggestedRect);
    if (!suggested)
        return;
    // The suggested rectangle is in pixels already. Its size is scaled as the window's content
    // is laid out, but its corner stays where the system put it: scaled as well, it would throw
    // the window towards the bottom right, off a second monitor altogether.
    SetWindowPos(window, nullptr, suggested->left, suggested->top,
                 dpi.Scale(suggested->right - suggested->left),
                 dpi.Scale(suggested->bottom - suggested->top), SWP_NOZORDER | SWP_NOACTIVATE);
}
