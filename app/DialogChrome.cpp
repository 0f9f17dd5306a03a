#include "DialogChrome.h"

#include "DCompUtil.h"
#include "SVGSimpleObject.h"

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

void ApplyDpiChange(HWND window, WPARAM newDpi, LPARAM suggestedRect, CDPI& dpi, CDCompUtil& host,
                    const std::vector<CSVGSimpleObject*>& objects) {
    dpi.UpdateForDpiChange(newDpi);
    for (CSVGSimpleObject* object : objects)
        object->Relayout();
    // WM_DPICHANGED: lParam points to the suggested window rectangle, already at the new DPI.
    if (const RECT* suggested = reinterpret_cast<const RECT*>(suggestedRect)) {
        SetWindowPos(window, nullptr, suggested->left, suggested->top,
                     suggested->right - suggested->left, suggested->bottom - suggested->top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
    // The WM_SIZE of a new size has drawn the frame at the new DPI; for a size the window had
    // already, the margin has changed all the same.
    RECT client{};
    if (!IsIconic(window) && GetClientRect(window, &client))
        host.OnSize(SIZE_RESTORED, MAKELPARAM(client.right, client.bottom));
    host.Commit();
}
