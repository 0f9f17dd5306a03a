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
    RECT* rect = reinterpret_cast<RECT*>(suggestedRect);
    if (!rect)
        return;
    dpi.ScaleRect(rect);
    SetWindowPos(window, nullptr, rect->left, rect->top, rect->right - rect->left,
                 rect->bottom - rect->top, SWP_NOZORDER | SWP_NOACTIVATE);
}
